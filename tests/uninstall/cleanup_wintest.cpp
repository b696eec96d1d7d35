// The cleanup sequence of the real uninstall.exe after a setup done through
// the shell-integration operations in this process. Every key the two may
// touch is captured first and put back exactly afterwards.
#include <gtest/gtest.h>
#include <shlobj.h>
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "registry/registry_test_support.h"
#include "setup/setup_options.h"
#include "shell/app_path.h"
#include "shell/associations.h"
#include "shell/file_types.h"
#include "shell/shell_extension.h"
#include "shell/shortcuts.h"
#include "uninstall/uninstall_support.h"

using namespace registry_test;
using namespace uninstall_testing;
using testing_support::Exists;

namespace {

std::vector<std::string> ClassesKeys() {
  std::vector<std::string> keys = {
      ".kvx", ".zip", ".cab", ".arj", ".lzh", ".lha", ".ace", ".7z", ".tar", ".gz", ".tgz",
      ".uue", ".xxe", ".uu", ".bz2", ".tbz2", ".bz", ".tbz", ".jar", ".iso", ".z", ".taz",
      ".rev", "Kelvox", "Kelvox.ZIP", "Kelvox.REV",
      "CLSID\\{7A3C9E10-5B2D-4F61-9C07-2E8B4D6A1F30}",
      "CLSID\\{7A3C9E10-5B2D-4F61-9C07-2E8B4D6A1F64}",
      "exefile\\shellex\\PropertySheetHandlers\\{7A3C9E10-5B2D-4F61-9C07-2E8B4D6A1F30}"};
  for (int n = 0; n < 100; ++n) {
    char name[8];
    std::snprintf(name, sizeof(name), ".k%02d", n);
    keys.push_back(name);
  }
  return keys;
}

// Handler keys that other versions may share: the shell extension leaves them
// in place with their value removed.
const char* const kSharedHandlerKeys[] = {
    "*\\shellex\\ContextMenuHandlers\\Kelvox", "Folder\\shellex\\ContextMenuHandlers\\Kelvox",
    "Folder\\shellex\\DragDropHandlers\\Kelvox", "Drive\\shellex\\DragDropHandlers\\Kelvox",
    "Directory\\shellex\\ContextMenuHandlers\\Kelvox",
    "Directory\\shellex\\DragDropHandlers\\Kelvox"};

const char* const kMachineKeys[] = {
    "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\Kelvox.exe",
    "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Kelvox archiver",
    "Software\\Microsoft\\Windows\\CurrentVersion\\Shell Extensions\\Approved"};
const char kSettingsKey[] = "Software\\Kelvox";

std::string SpecialFolder(int id) {
  char path[MAX_PATH] = "";
  SHGetSpecialFolderPathA(nullptr, path, id, FALSE);
  return path;
}

std::vector<std::string> Links() {
  return {SpecialFolder(CSIDL_DESKTOPDIRECTORY) + "\\Kelvox.lnk",
          SpecialFolder(CSIDL_STARTMENU) + "\\Kelvox.lnk",
          SpecialFolder(CSIDL_PROGRAMS) + "\\Kelvox"};
}

class Cleanup : public ::testing::Test {
 protected:
  void SetUp() override {
    // The links are written through the shell-link COM object.
    ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
    for (const std::string& key : ClassesKeys()) Save(HKEY_CLASSES_ROOT, key);
    for (const char* key : kSharedHandlerKeys) Save(HKEY_CLASSES_ROOT, key);
    for (const char* key : kMachineKeys) {
      saved_.push_back(std::make_unique<SavedTree>(HKEY_LOCAL_MACHINE, key));
    }
    Save(HKEY_CURRENT_USER, kSettingsKey);
  }
  void TearDown() override {
    saved_.clear();
    for (const std::string& link : Links()) RemoveLink(link);
    CoUninitialize();
  }
  // Only what this test may have left: the links and the group's files.
  static void RemoveLink(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return;
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
      DeleteFileA(path.c_str());
      return;
    }
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((path + "\\*.lnk").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
      do {
        DeleteFileA((path + "\\" + data.cFileName).c_str());
      } while (FindNextFileA(find, &data));
      FindClose(find);
    }
    RemoveDirectoryA(path.c_str());
  }
  void Save(HKEY root, const std::string& key) {
    saved_.push_back(std::make_unique<SavedTree>(root, key));
    RawDeleteTree(root, key);
  }
  static std::string ExportAll() {
    std::string out;
    for (const std::string& key : ClassesKeys()) out += Export(HKEY_CLASSES_ROOT, key) + "\n";
    for (const char* key : kMachineKeys) out += Export(HKEY_LOCAL_MACHINE, key) + "\n";
    return out + Export(HKEY_CURRENT_USER, kSettingsKey);
  }
  static void ExpectSharedHandlerKeysEmpty() {
    for (const char* key : kSharedHandlerKeys) {
      EXPECT_EQ("[" + std::string(key) + "]\n", Export(HKEY_CLASSES_ROOT, key));
    }
  }
  static void UninstallSilently(const char* name) {
    Installation installation(name, false);
    installation.WriteList("");
    EXPECT_EQ(0, installation.Run(" /s"));
    EXPECT_FALSE(Exists(installation / "Uninstall.lst")) << "the job did not run";
  }

  std::vector<std::unique_ptr<SavedTree>> saved_;
};

TEST_F(Cleanup, GivesBackEverythingSetupDidAndASecondRunChangesNothing) {
  // Previous owners of two extensions; the others had no key at all.
  WriteRawString(HKEY_CLASSES_ROOT, ".zip", "", "OtherZip");
  WriteRawString(HKEY_CLASSES_ROOT, ".zip", "Content Type", "application/x-other-zip");
  WriteRawString(HKEY_CLASSES_ROOT, ".zip\\ShellNew", "FileName", "C:\\other\\empty.zip");
  WriteRawString(HKEY_CLASSES_ROOT, ".cab", "", "CabFolder");
  const std::string before = ExportAll();

  SetupOptions options;
  std::memset(&options, 1, sizeof(options));
  for (int i = setup_option::kExtensionGroupCount; i < setup_option::kDesktopLink; ++i) {
    options.flags[i] = 0;
  }
  char groupFolder[1024] = "";
  RegisterAppPath();
  SetShellExtension(options);
  SetAssociations(options);
  RegisterFileTypes();
  SetShortcuts(options, groupFolder);
  RegisterUninstaller();
  // The setup really happened.
  ASSERT_EQ("Kelvox.ZIP", std::string(ReadRaw(HKEY_CLASSES_ROOT, ".zip", "").bytes.c_str()));
  ASSERT_TRUE(RawKeyExists(HKEY_CLASSES_ROOT, "Kelvox\\shell\\open\\command"));
  ASSERT_TRUE(RawKeyExists(HKEY_CURRENT_USER, "Software\\Kelvox\\Setup\\.zip"));
  ASSERT_TRUE(RawKeyExists(HKEY_LOCAL_MACHINE, kMachineKeys[0]));
  for (const std::string& link : Links()) EXPECT_TRUE(Exists(link)) << link;

  UninstallSilently("cleanup-first");
  EXPECT_EQ(before, ExportAll());
  ExpectSharedHandlerKeysEmpty();
  for (const std::string& link : Links()) EXPECT_FALSE(Exists(link)) << link;

  UninstallSilently("cleanup-second");
  EXPECT_EQ(before, ExportAll());
  ExpectSharedHandlerKeysEmpty();
}

}  // namespace
