// The application path and the uninstall entry in the real registry.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "common/wine_helpers.h"
#include "lang/local_strings.h"
#include "shell/app_path.h"

using namespace testing_support;

namespace {

const char kAppPathKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\Kelvox.exe";
const char kUninstallKey[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Kelvox archiver";

struct KeySeen {
  bool exists = false;
  DWORD valueCount = 0;
};

KeySeen Inspect(const char* path) {
  KeySeen seen;
  HKEY key;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return seen;
  seen.exists = true;
  RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &seen.valueCount,
                   nullptr, nullptr, nullptr, nullptr);
  RegCloseKey(key);
  return seen;
}

// A REG_SZ value; "<missing>" or "<type N>" otherwise.
std::string ReadString(const char* path, const char* name) {
  HKEY key;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path, 0, KEY_READ, &key) != ERROR_SUCCESS) {
    return "<missing>";
  }
  char data[2048];
  DWORD size = sizeof(data) - 1;
  DWORD type = 0;
  const LONG result =
      RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(data), &size);
  RegCloseKey(key);
  if (result != ERROR_SUCCESS) return "<missing>";
  if (type != REG_SZ) return "<type " + std::to_string(type) + ">";
  data[size] = '\0';
  return data;
}

class AppPath : public ::testing::Test {
 protected:
  void SetUp() override {
    DeleteKeys();
    ASSERT_TRUE(strings_.Loaded());
  }
  void TearDown() override {
    DeleteKeys();
  }
  static void DeleteKeys() {
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, kAppPathKey);
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, kUninstallKey);
  }

  EnglishStrings strings_;
};

TEST_F(AppPath, MainProgramAndItsFolder) {
  struct Case {
    const char* program;
    const char* mainProgram;
    const char* folder;
  };
  // In this order: every run rewrites the values of the one before.
  const Case cases[] = {
      {"C:\\Program Files\\Kelvox\\uninstall.exe", "C:\\Program Files\\Kelvox\\Kelvox.exe",
       "C:\\Program Files\\Kelvox"},
      {"D:\\uninstall.exe", "D:\\Kelvox.exe", "D:\\"},
      {"\\\\server\\share\\Kelvox\\uninstall.exe", "\\\\server\\share\\Kelvox\\Kelvox.exe",
       "\\\\server\\share\\Kelvox"},
  };
  for (const Case& row : cases) {
    SCOPED_TRACE(row.program);
    RegisterAppPathFor(row.program);
    EXPECT_EQ(row.mainProgram, ReadString(kAppPathKey, "")) << "a path, never quoted";
    EXPECT_EQ(row.folder, ReadString(kAppPathKey, "Path"));
    EXPECT_EQ(2u, Inspect(kAppPathKey).valueCount);
  }
}

TEST_F(AppPath, RunningProgram) {
  RegisterAppPath();
  std::string folder = TestFolder();
  EXPECT_EQ(folder + "Kelvox.exe", ReadString(kAppPathKey, ""));
  folder.pop_back();
  EXPECT_EQ(folder, ReadString(kAppPathKey, "Path"));

  RegisterUninstaller();
  char self[MAX_PATH];
  GetModuleFileNameA(nullptr, self, sizeof(self));
  EXPECT_EQ("\"" + std::string(self) + "\"", ReadString(kUninstallKey, "UninstallString"));
  EXPECT_EQ("Kelvox archive manager", ReadString(kUninstallKey, "DisplayName"));
}

TEST_F(AppPath, UninstallCommandIsQuoted) {
  const char* const programs[] = {
      "C:\\Program Files\\Kelvox\\uninstall.exe",
      "D:\\uninstall.exe",
  };
  for (const char* program : programs) {
    SCOPED_TRACE(program);
    RegisterUninstallerFor(program);
    EXPECT_EQ("\"" + std::string(program) + "\"", ReadString(kUninstallKey, "UninstallString"))
        << "a planted C:\\Program.exe must not run instead";
    EXPECT_EQ("Kelvox archive manager", ReadString(kUninstallKey, "DisplayName"));
    EXPECT_EQ(2u, Inspect(kUninstallKey).valueCount);
  }
}

TEST_F(AppPath, NoPathNoEntry) {
  const char* const programs[] = {"", "uninstall.exe"};
  for (const char* program : programs) {
    SCOPED_TRACE(program);
    RegisterAppPathFor(program);
    EXPECT_FALSE(Inspect(kAppPathKey).exists) << "a bare name would start from anywhere";
  }
  RegisterUninstallerFor("");
  EXPECT_EQ("<missing>", ReadString(kUninstallKey, "UninstallString"));
}

}  // namespace
