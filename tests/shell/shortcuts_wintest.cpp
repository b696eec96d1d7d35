// Links and program groups in the special folders of the private prefix,
// made and read back through the real shell-link object.
#include <gtest/gtest.h>
#include <windows.h>
#include <shlobj.h>

#include <cstring>
#include <string>

#include "app/entry.h"
#include "common/wine_helpers.h"
#include "lang/local_strings.h"
#include "shell/shortcuts.h"
#include "support/system.h"

using namespace testing_support;

namespace {

const char kDescription[] = "Handles KVX, ZIP and other archive formats";

struct LinkSeen {
  bool loaded = false;
  std::string target;
  std::string description;
};

LinkSeen ReadLink(const std::string& path) {
  LinkSeen seen;
  IShellLinkA* link = nullptr;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                              reinterpret_cast<void**>(&link)))) {
    return seen;
  }
  IPersistFile* file = nullptr;
  if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
    WCHAR wide[MAX_PATH];
    MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide, MAX_PATH);
    if (SUCCEEDED(file->Load(wide, STGM_READ))) {
      char text[MAX_PATH] = "";
      seen.loaded = true;
      link->GetPath(text, sizeof(text), nullptr, SLGP_RAWPATH);
      seen.target = text;
      text[0] = '\0';
      link->GetDescription(text, sizeof(text));
      seen.description = text;
    }
    file->Release();
  }
  link->Release();
  return seen;
}

std::string SpecialFolder(int id) {
  char path[MAX_PATH] = "";
  SHGetSpecialFolderPathA(nullptr, path, id, TRUE);
  return path;
}

// Only ever a folder named Kelvox inside a special folder.
void RemoveGroup(const std::string& path) {
  if (path.size() < 10 || path.compare(path.size() - 7, 7, "\\Kelvox") != 0) return;
  WIN32_FIND_DATAA data;
  HANDLE find = FindFirstFileA((path + "\\*").c_str(), &data);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      const std::string name = data.cFileName;
      if (name == "." || name == "..") continue;
      const std::string child = path + "\\" + name;
      SetFileAttributesA(child.c_str(), FILE_ATTRIBUTE_NORMAL);
      if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveDirectoryA(child.c_str());  // the tests add no deeper levels
      } else {
        DeleteFileA(child.c_str());
      }
    } while (FindNextFileA(find, &data));
    FindClose(find);
  }
  RemoveDirectoryA(path.c_str());
}

int CountEntries(const std::string& folder) {
  int count = 0;
  WIN32_FIND_DATAA data;
  HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return 0;
  do {
    const std::string name = data.cFileName;
    if (name != "." && name != "..") ++count;
  } while (FindNextFileA(find, &data));
  FindClose(find);
  return count;
}

SetupOptions Options(bool desktop, bool startMenu, bool group) {
  SetupOptions options = {};
  options.flags[setup_option::kDesktopLink] = desktop ? 1 : 0;
  options.flags[setup_option::kStartMenuLink] = startMenu ? 1 : 0;
  options.flags[setup_option::kProgramGroup] = group ? 1 : 0;
  return options;
}

// COM on this thread and the English language module as the string source.
class LinkTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
    ASSERT_TRUE(strings_.Loaded());
  }
  void TearDown() override {
    CoUninitialize();
  }

  EnglishStrings strings_;
};

TEST_F(LinkTest, CreateShortcutSavesTargetAndDescription) {
  ScratchFolder scratch("links");
  const std::string target = "C:\\Program Files\\Kelvox\\Kelvox.exe";
  struct Case {
    const char* name;
    const char* description;
    bool fileThere;
  };
  const Case cases[] = {
      {"with description", kDescription, false},
      {"without description", nullptr, false},
      {"replaces a file", kDescription, true},
  };
  for (const Case& row : cases) {
    SCOPED_TRACE(row.name);
    const std::string link = scratch / (std::string(row.name) + ".lnk");
    if (row.fileThere) WriteFileBytes(link, "not a link");
    EXPECT_TRUE(CreateShortcut(target.c_str(), link.c_str(), row.description));
    const LinkSeen seen = ReadLink(link);
    ASSERT_TRUE(seen.loaded);
    EXPECT_EQ(target, seen.target);
    EXPECT_EQ(row.description ? row.description : "", seen.description);
  }
}

TEST_F(LinkTest, CreateShortcutRefusesLongAndRelativePaths) {
  ScratchFolder scratch("longlink");
  const std::string folder = scratch.Path() + "\\";
  const std::string target = "C:\\Kelvox\\Kelvox.exe";
  // 259 characters are the most the link object takes.
  const std::string longest = folder + std::string(259 - folder.size() - 4, 'a') + ".lnk";
  ASSERT_EQ(259u, longest.size());
  EXPECT_TRUE(CreateShortcut(target.c_str(), longest.c_str(), kDescription));
  EXPECT_EQ(target, ReadLink(longest).target);
  DeleteFileA(longest.c_str());

  const std::string tooLong = folder + std::string(260 - folder.size() - 4, 'b') + ".lnk";
  ASSERT_EQ(260u, tooLong.size());
  SetLastError(0xdeadbeef);
  EXPECT_FALSE(CreateShortcut(target.c_str(), tooLong.c_str(), kDescription));
  EXPECT_EQ(0, CountEntries(scratch.Path())) << "no link, not even a cut one";

  char current[MAX_PATH];
  GetCurrentDirectoryA(sizeof(current), current);
  SetCurrentDirectoryA(scratch.Path().c_str());
  EXPECT_FALSE(CreateShortcut(target.c_str(), "Kelvox.lnk", kDescription));
  EXPECT_FALSE(CreateShortcut(target.c_str(), "", kDescription));
  SetCurrentDirectoryA(current);
  EXPECT_EQ(0, CountEntries(scratch.Path())) << "nothing under the current folder";
}

TEST_F(LinkTest, DeleteFolderTreeDeletesAllOrRefuses) {
  ScratchFolder scratch("tree");
  const std::string group = scratch / "Kelvox";
  CreateDirectoryA(group.c_str(), nullptr);
  CreateDirectoryA((group + "\\sub").c_str(), nullptr);
  WriteFileBytes(group + "\\notes.txt", "mine");
  WriteFileBytes(group + "\\sub\\deeper.txt", "mine too");
  SetFileAttributesA((group + "\\notes.txt").c_str(), FILE_ATTRIBUTE_READONLY);
  EXPECT_TRUE(DeleteFolderTree(group.c_str()));
  EXPECT_FALSE(Exists(group));
  EXPECT_FALSE(DeleteFolderTree(group.c_str())) << "missing folder";

  // Refused: each of these would reach more than one named folder.
  const std::string victim = scratch / "victim";
  CreateDirectoryA(victim.c_str(), nullptr);
  WriteFileBytes(victim + "\\keep.txt", "keep");
  char current[MAX_PATH];
  GetCurrentDirectoryA(sizeof(current), current);
  SetCurrentDirectoryA(scratch.Path().c_str());
  const std::string refused[] = {"victim", ".\\victim", "\\kvxtest", victim + "\\", ""};
  for (const std::string& path : refused) {
    SCOPED_TRACE(path);
    EXPECT_FALSE(DeleteFolderTree(path.c_str()));
    EXPECT_TRUE(Exists(victim + "\\keep.txt"));
  }
  SetCurrentDirectoryA(current);
}

// The links of SetShortcuts in the special folders of the prefix.
class Shortcuts : public LinkTest {
 protected:
  void SetUp() override {
    LinkTest::SetUp();
    desktop_ = SpecialFolder(CSIDL_DESKTOPDIRECTORY);
    startMenu_ = SpecialFolder(CSIDL_STARTMENU);
    userGroup_ = SpecialFolder(CSIDL_PROGRAMS) + "\\Kelvox";
    commonGroup_ = SpecialFolder(CSIDL_COMMON_PROGRAMS) + "\\Kelvox";
    ASSERT_NE("\\Kelvox", userGroup_);
    ASSERT_NE("\\Kelvox", commonGroup_);
    ASSERT_FALSE(desktop_.empty());
    ASSERT_FALSE(startMenu_.empty());
    RemoveAll();
    ProgramGroupFolder[0] = '\0';
  }
  void TearDown() override {
    RemoveAll();
    ProgramGroupFolder[0] = '\0';
    LinkTest::TearDown();
  }
  void RemoveAll() {
    DeleteFileA((desktop_ + "\\Kelvox.lnk").c_str());
    DeleteFileA((startMenu_ + "\\Kelvox.lnk").c_str());
    RemoveGroup(userGroup_);
    RemoveGroup(commonGroup_);
  }
  static void ExpectMainLink(const std::string& path) {
    const LinkSeen seen = ReadLink(path);
    ASSERT_TRUE(seen.loaded) << path;
    EXPECT_EQ(TestFolder() + "Kelvox.exe", seen.target);
    EXPECT_EQ(kDescription, seen.description);
  }
  static void ExpectGroup(const std::string& folder) {
    struct Row {
      const char* link;
      const char* target;
    };
    const Row rows[] = {
        {"Kelvox.lnk", "Kelvox.exe"},
        {"Kelvox help.lnk", "Kelvox.hlp"},
        {"Console KVX manual.lnk", "Kvx.txt"},
    };
    for (const Row& row : rows) {
      SCOPED_TRACE(folder + "\\" + row.link);
      const LinkSeen seen = ReadLink(folder + "\\" + row.link);
      ASSERT_TRUE(seen.loaded);
      EXPECT_EQ(TestFolder() + row.target, seen.target);
      EXPECT_EQ(kDescription, seen.description);
    }
  }

  std::string desktop_;
  std::string startMenu_;
  std::string userGroup_;
  std::string commonGroup_;
};

TEST_F(Shortcuts, AllOnMakesEveryLinkAndBothGroups) {
  SetShortcuts(Options(true, true, true), ProgramGroupFolder);
  ExpectMainLink(desktop_ + "\\Kelvox.lnk");
  ExpectMainLink(startMenu_ + "\\Kelvox.lnk");
  ExpectGroup(userGroup_);
  ExpectGroup(commonGroup_);
  EXPECT_EQ(3, CountEntries(userGroup_));
  EXPECT_STREQ(userGroup_.c_str(), ProgramGroupFolder) << "the user's group, no backslash";
}

TEST_F(Shortcuts, DesktopLinkKeptStartMenuLinkRewritten) {
  WriteFileBytes(desktop_ + "\\Kelvox.lnk", "the user's own link");
  WriteFileBytes(startMenu_ + "\\Kelvox.lnk", "a stale link");
  SetShortcuts(Options(true, true, false), nullptr);
  EXPECT_EQ("the user's own link", ReadFileBytes(desktop_ + "\\Kelvox.lnk"));
  ExpectMainLink(startMenu_ + "\\Kelvox.lnk");
  EXPECT_FALSE(Exists(userGroup_));
  EXPECT_FALSE(Exists(commonGroup_));
}

TEST_F(Shortcuts, GroupFolderFilledOnlyByTheGroupFlag) {
  struct Case {
    const char* name;
    SetupOptions options;
    bool filled;
  };
  const Case cases[] = {
      {"links without group", Options(true, true, false), false},
      {"nothing", Options(false, false, false), false},
      {"group alone", Options(false, false, true), true},
  };
  for (const Case& row : cases) {
    SCOPED_TRACE(row.name);
    lstrcpyA(ProgramGroupFolder, "previous");
    SetShortcuts(row.options, ProgramGroupFolder);
    EXPECT_STREQ(row.filled ? userGroup_.c_str() : "previous", ProgramGroupFolder);
    EXPECT_EQ(row.filled, Exists(userGroup_));
  }
}

TEST_F(Shortcuts, SecondRunRewritesGroupLinksAndKeepsOtherFiles) {
  SetShortcuts(Options(false, false, true), nullptr);
  WriteFileBytes(userGroup_ + "\\Kelvox help.lnk", "damaged");
  WriteFileBytes(userGroup_ + "\\notes.txt", "the user's file");
  SetShortcuts(Options(false, false, true), nullptr);
  ExpectGroup(userGroup_);
  EXPECT_EQ("the user's file", ReadFileBytes(userGroup_ + "\\notes.txt"));
}

TEST_F(Shortcuts, AllOffRemovesLinksAndGroupsWithTheUsersFiles) {
  SetShortcuts(Options(true, true, true), nullptr);
  WriteFileBytes(userGroup_ + "\\notes.txt", "added by the user");
  CreateDirectoryA((commonGroup_ + "\\extra").c_str(), nullptr);
  lstrcpyA(ProgramGroupFolder, "previous");
  // Twice: the second run finds nothing and changes nothing.
  for (int round = 1; round <= 2; ++round) {
    SCOPED_TRACE(round);
    SetShortcuts(Options(false, false, false), nullptr);
    EXPECT_FALSE(Exists(desktop_ + "\\Kelvox.lnk"));
    EXPECT_FALSE(Exists(startMenu_ + "\\Kelvox.lnk"));
    EXPECT_FALSE(Exists(userGroup_));
    EXPECT_FALSE(Exists(commonGroup_));
  }
  EXPECT_TRUE(Exists(desktop_)) << "the special folders themselves stay";
  EXPECT_TRUE(Exists(SpecialFolder(CSIDL_PROGRAMS)));
  EXPECT_STREQ("previous", ProgramGroupFolder);
}

// Runs in a copy of this program that Wine presents as another Windows
// version: SetShortcuts with every flag on ("on") or off ("off"), then the
// family it saw and the group folder buffer into the report file.
class ShortcutsDriver : public LinkTest {};

TEST_F(ShortcutsDriver, DISABLED_SetShortcutsFromEnvironment) {
  char task[8] = "";
  char report[MAX_PATH] = "";
  ASSERT_NE(0u, GetEnvironmentVariableA("KVX_SHORTCUTS_TASK", task, sizeof(task)));
  ASSERT_NE(0u, GetEnvironmentVariableA("KVX_SHORTCUTS_REPORT", report, sizeof(report)));
  const bool on = std::strcmp(task, "on") == 0;
  ProgramGroupFolder[0] = '\0';
  SetShortcuts(Options(on, on, on), on ? ProgramGroupFolder : nullptr);
  WriteFileBytes(report, std::to_string(NtMajorVersion()) + "|" + ProgramGroupFolder);
}

// A uniquely named copy of this program beside it, which Wine presents as
// `version` (e.g. "win98"); the copy and its AppDefaults key go at the end.
struct VersionedCopy {
  explicit VersionedCopy(const char* version)
      : name(std::string("kvxlinks-") + version + "-" + std::to_string(GetCurrentProcessId()) +
             ".exe"),
        path(TestFolder() + name),
        override(name, version) {
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, sizeof(self));
    ready = CopyFileA(self, path.c_str(), FALSE) && override.Ready();
  }
  ~VersionedCopy() { DeleteFileA(path.c_str()); }
  VersionedCopy(const VersionedCopy&) = delete;
  VersionedCopy& operator=(const VersionedCopy&) = delete;

  std::string name;
  std::string path;
  WineVersionOverride override;
  bool ready = false;
};

// The all-users group belongs to the NT family only: on the 9x family
// nothing is made in it and nothing in it is removed. The copy lies beside
// this program, so its links point where ExpectGroup looks.
TEST_F(Shortcuts, AllUsersGroupOnlyOnTheNtFamily) {
  struct Case {
    const char* version;
    bool nt;
  };
  const Case cases[] = {{"win98", false}, {"win2k", true}, {"winxp", true}};
  ScratchFolder scratch("shortcut-family");
  const std::string report = scratch / "report.txt";
  for (const Case& row : cases) {
    SCOPED_TRACE(row.version);
    RemoveAll();
    // A group of the same name that another installation left for all users.
    const std::string foreign = commonGroup_ + "\\notes.txt";
    if (!row.nt) {
      CreateDirectoryA(commonGroup_.c_str(), nullptr);
      WriteFileBytes(foreign, "not ours to touch");
    }
    const VersionedCopy copy(row.version);
    ASSERT_TRUE(copy.ready);
    auto run = [&](const char* task) {
      DeleteFileA(report.c_str());
      SetEnvironmentVariableA("KVX_SHORTCUTS_TASK", task);
      SetEnvironmentVariableA("KVX_SHORTCUTS_REPORT", report.c_str());
      const int code = RunAndWait(
          "\"" + copy.path + "\" --gtest_also_run_disabled_tests "
          "--gtest_filter=ShortcutsDriver.DISABLED_SetShortcutsFromEnvironment",
          "", 120000);
      SetEnvironmentVariableA("KVX_SHORTCUTS_TASK", nullptr);
      SetEnvironmentVariableA("KVX_SHORTCUTS_REPORT", nullptr);
      EXPECT_EQ(0, code) << task;
      return ReadFileBytes(report);
    };

    const std::string made = run("on");
    const std::string family = made.substr(0, made.find('|'));
    EXPECT_EQ(row.nt, family != "0") << "NtMajorVersion in the copy: " << family;
    EXPECT_EQ(userGroup_, made.substr(made.find('|') + 1)) << "the user's group, always";
    ExpectMainLink(desktop_ + "\\Kelvox.lnk");
    ExpectMainLink(startMenu_ + "\\Kelvox.lnk");
    ExpectGroup(userGroup_);
    EXPECT_EQ(3, CountEntries(userGroup_));
    if (row.nt) {
      ExpectGroup(commonGroup_);
      EXPECT_EQ(3, CountEntries(commonGroup_));
    } else {
      EXPECT_EQ(1, CountEntries(commonGroup_)) << "nothing made for all users";
    }

    EXPECT_EQ(family + "|", run("off"));
    EXPECT_FALSE(Exists(desktop_ + "\\Kelvox.lnk"));
    EXPECT_FALSE(Exists(startMenu_ + "\\Kelvox.lnk"));
    EXPECT_FALSE(Exists(userGroup_));
    if (row.nt) {
      EXPECT_FALSE(Exists(commonGroup_));
    } else {
      EXPECT_EQ("not ours to touch", ReadFileBytes(foreign)) << "nothing removed for all users";
    }
    EXPECT_TRUE(Exists(SpecialFolder(CSIDL_PROGRAMS)));
  }
}

TEST_F(Shortcuts, DesktopFolderOfTheShell) {
  char path[1024];
  memset(path, 'x', sizeof(path));
  ASSERT_TRUE(GetDesktopFolder(path, sizeof(path)));
  EXPECT_EQ(desktop_, path);
  char small[4];
  memset(small, 'x', sizeof(small));
  EXPECT_FALSE(GetDesktopFolder(small, sizeof(small))) << "a cut folder is no folder";
  EXPECT_STREQ("", small);
}

}  // namespace
