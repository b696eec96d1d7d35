// File, PathExists and the platform-family query on the real system.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "common/wine_helpers.h"
#include "support/file.h"
#include "support/system.h"

using namespace testing_support;

namespace {

TEST(File, MissingFileStaysClosed) {
  ScratchFolder folder("file-missing");
  File file;
  SetLastError(0xdeadbeef);
  EXPECT_FALSE(file.OpenExisting((folder / "none.txt").c_str()));
  EXPECT_FALSE(file.IsOpen());
  EXPECT_FALSE(Exists(folder / "none.txt")) << "opening must never create the file";
  file.SetPosition(10);
  EXPECT_TRUE(file.CloseFile());
}

TEST(File, ReadsToTheEndThenZero) {
  ScratchFolder folder("file-read");
  const std::string name = folder / "data.bin";
  WriteFileBytes(name, std::string(100, 'a'));
  File file;
  ASSERT_TRUE(file.OpenExisting(name.c_str()));
  char buffer[8192];
  EXPECT_EQ(100, file.ReadBytes(buffer, sizeof(buffer)));
  EXPECT_EQ(100, file.GetPosition());
  EXPECT_EQ(0, file.ReadBytes(buffer, sizeof(buffer)));
  file.SetPosition(90);
  EXPECT_EQ(90, file.GetPosition());
  EXPECT_EQ(10, file.ReadBytes(buffer, sizeof(buffer)));
  EXPECT_TRUE(file.CloseFile());
  EXPECT_TRUE(file.CloseFile());
}

TEST(File, OthersMayReadAndWriteButNotDeleteWhileOpen) {
  ScratchFolder folder("file-share");
  const std::string name = folder / "shared.txt";
  WriteFileBytes(name, "abc");
  {
    File file;
    ASSERT_TRUE(file.OpenExisting(name.c_str()));
    HANDLE writer = CreateFileA(name.c_str(), GENERIC_READ | GENERIC_WRITE,
                                FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_NE(INVALID_HANDLE_VALUE, writer) << GetLastError();
    if (writer != INVALID_HANDLE_VALUE) CloseHandle(writer);
    EXPECT_FALSE(DeleteFileA(name.c_str()));
  }
  EXPECT_TRUE(DeleteFileA(name.c_str())) << "the destructor closes the file";
}

TEST(PathExists, FilesAndFoldersExistNamesOfNothingDoNot) {
  ScratchFolder folder("path-exists");
  WriteFileBytes(folder / "f.txt", "");
  EXPECT_TRUE(PathExists(folder.Path().c_str()));
  EXPECT_TRUE(PathExists((folder / "f.txt").c_str()));
  EXPECT_FALSE(PathExists((folder / "g.txt").c_str()));
  EXPECT_FALSE(PathExists(""));
}

// Reports NtMajorVersion into a file; run in a copy of this program that
// Wine is told to present as another Windows version.
TEST(VersionProbe, DISABLED_WriteMajorVersion) {
  const char* out = std::getenv("KVX_VERSION_OUT");
  ASSERT_NE(nullptr, out);
  WriteFileBytes(out, std::to_string(NtMajorVersion()));
}

TEST(NtMajorVersion, FollowsTheReportedWindowsVersion) {
  struct {
    const char* wineVersion;
    const char* expected;
  } const cases[] = {
      {"win95", "0"}, {"win98", "0"}, {"winme", "0"}, {"nt40", "4"},
      {"win2k", "5"}, {"winxp", "5"}, {"win7", "6"},
      // Without a compatibility manifest, later versions report 6.2.
      {"win10", "6"},
  };
  ScratchFolder folder("nt-version");
  char self[MAX_PATH];
  GetModuleFileNameA(nullptr, self, sizeof(self));
  for (const auto& c : cases) {
    SCOPED_TRACE(c.wineVersion);
    const std::string exeName = std::string("kvxver-") + c.wineVersion + ".exe";
    const std::string copy = TestFolder() + exeName;
    ASSERT_TRUE(CopyFileA(self, copy.c_str(), FALSE));
    const WineVersionOverride override(exeName, c.wineVersion);
    ASSERT_TRUE(override.Ready());
    const std::string out = folder / "version.txt";
    DeleteFileA(out.c_str());
    SetEnvironmentVariableA("KVX_VERSION_OUT", out.c_str());
    const int code = RunAndWait("\"" + copy + "\" --gtest_also_run_disabled_tests "
                                "--gtest_filter=VersionProbe.DISABLED_WriteMajorVersion");
    SetEnvironmentVariableA("KVX_VERSION_OUT", nullptr);
    DeleteFileA(copy.c_str());
    EXPECT_EQ(0, code);
    EXPECT_EQ(c.expected, ReadFileBytes(out));
  }
}

TEST(NtMajorVersion, AskedOnceThenCached) {
  const unsigned first = NtMajorVersion();
  OSVERSIONINFOA info = {};
  info.dwOSVersionInfoSize = sizeof(info);
  ASSERT_TRUE(GetVersionExA(&info));
  EXPECT_EQ(info.dwPlatformId == VER_PLATFORM_WIN32_NT ? info.dwMajorVersion : 0u, first);
  EXPECT_EQ(first, NtMajorVersion());
}

}  // namespace
