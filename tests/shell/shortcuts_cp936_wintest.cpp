// Links and folder deletion with double-byte paths, in code page 936.
#include <gtest/gtest.h>
#include <windows.h>
#include <shlobj.h>

#include <string>

#include "common/wine_helpers.h"
#include "shell/shortcuts.h"

using namespace testing_support;

namespace {

// GBK 0x81 0x5C: a character whose trail byte has the value of a backslash.
const std::string kTrail5C = "\x81\x5C";

std::string Ansi(const wchar_t* text) {
  char out[1024] = "";
  WideCharToMultiByte(CP_ACP, 0, text, -1, out, sizeof(out), nullptr, nullptr);
  return out;
}

struct WideLink {
  bool loaded = false;
  std::wstring target;
  std::wstring description;
};

WideLink ReadLinkWide(const std::wstring& path) {
  WideLink seen;
  IShellLinkW* link = nullptr;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                              reinterpret_cast<void**>(&link)))) {
    return seen;
  }
  IPersistFile* file = nullptr;
  if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
    if (SUCCEEDED(file->Load(path.c_str(), STGM_READ))) {
      wchar_t text[MAX_PATH] = L"";
      seen.loaded = true;
      link->GetPath(text, MAX_PATH, nullptr, SLGP_RAWPATH);
      seen.target = text;
      text[0] = L'\0';
      link->GetDescription(text, MAX_PATH);
      seen.description = text;
    }
    file->Release();
  }
  link->Release();
  return seen;
}

class DoubleByteLinks : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(936u, GetACP()) << "run with LANG=zh_CN.UTF-8";
    ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
  }
  void TearDown() override { CoUninitialize(); }
};

TEST_F(DoubleByteLinks, NamesAndDescriptionSurviveTheConversion) {
  ScratchFolder scratch("cp936links");
  // A folder whose last character ends in the 0x5C trail byte gets its own backslash.
  const std::string folder = scratch.Path() + "\\a" + kTrail5C;
  ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr)) << GetLastError();
  char link[1024];
  ASSERT_TRUE(ComposeChildPath(folder.c_str(), Ansi(L"中文帮助.lnk").c_str(), link,
                               sizeof(link)));
  EXPECT_EQ(folder + "\\" + Ansi(L"中文帮助.lnk"), link);

  const std::string target = Ansi(L"C:\\程序\\Kelvox.exe");
  EXPECT_TRUE(CreateShortcut(target.c_str(), link, Ansi(L"处理 KVX、ZIP 和其他压缩格式").c_str()));
  wchar_t wideLink[MAX_PATH];
  MultiByteToWideChar(CP_ACP, 0, link, -1, wideLink, MAX_PATH);
  const WideLink seen = ReadLinkWide(wideLink);
  ASSERT_TRUE(seen.loaded);
  EXPECT_EQ(L"C:\\程序\\Kelvox.exe", seen.target);
  EXPECT_EQ(L"处理 KVX、ZIP 和其他压缩格式", seen.description);
}

TEST_F(DoubleByteLinks, LimitCountsCharactersNotBytes) {
  ScratchFolder scratch("cp936long");
  const std::string folder = scratch.Path() + "\\";
  const std::string target = "C:\\Kelvox\\Kelvox.exe";
  // 120 two-byte characters: 240 bytes, but far below 259 characters.
  std::string name;
  for (int i = 0; i < 120; ++i) name += Ansi(L"中");
  const std::string fits = folder + name + ".lnk";
  ASSERT_GT(fits.size(), 259u);
  EXPECT_TRUE(CreateShortcut(target.c_str(), fits.c_str(), nullptr));
  std::wstring wideName(120, L'中');
  wchar_t wideFolder[MAX_PATH];
  MultiByteToWideChar(CP_ACP, 0, folder.c_str(), -1, wideFolder, MAX_PATH);
  EXPECT_TRUE(ReadLinkWide(wideFolder + wideName + L".lnk").loaded);

  // 259 characters fit and 260 do not, whatever their bytes.
  const int wideFolderLength = lstrlenW(wideFolder);
  for (const int length : {259, 260}) {
    SCOPED_TRACE(length);
    std::string path = folder;
    for (int i = 0; i < length - wideFolderLength - 4; ++i) path += Ansi(L"文");
    path += ".lnk";
    EXPECT_EQ(length == 259, CreateShortcut(target.c_str(), path.c_str(), nullptr));
  }
}

TEST_F(DoubleByteLinks, FolderTreeWithTrailByteNames) {
  ScratchFolder scratch("cp936tree");
  const std::string group = scratch.Path() + "\\Kelvox" + kTrail5C;
  const std::string sibling = scratch.Path() + "\\Kelvox";
  ASSERT_TRUE(CreateDirectoryA(group.c_str(), nullptr)) << GetLastError();
  ASSERT_TRUE(CreateDirectoryA(sibling.c_str(), nullptr)) << GetLastError();
  WriteFileBytes(group + "\\" + Ansi(L"说明.txt"), "mine");
  WriteFileBytes(sibling + "\\keep.txt", "keep");
  EXPECT_TRUE(DeleteFolderTree(group.c_str()));
  EXPECT_FALSE(Exists(group));
  EXPECT_TRUE(Exists(sibling + "\\keep.txt")) << "the folder whose name is a prefix stays";
}

}  // namespace
