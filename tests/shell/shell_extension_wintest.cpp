// Registration of the Explorer extension modules in the real registry.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "common/wine_helpers.h"
#include "shell/shell_extension.h"

using namespace testing_support;

namespace {

const char kId32[] = "{7A3C9E10-5B2D-4F61-9C07-2E8B4D6A1F30}";
const char kId64[] = "{7A3C9E10-5B2D-4F61-9C07-2E8B4D6A1F64}";
const char kApproved[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Shell Extensions\\Approved";
const char kForeignId[] = "{00000000-4B56-5854-4553-54464F524549}";

// Keys named by a class identifier (entries 4-8).
const char* const kOwnPrefixes[] = {
    "Kelvox\\shellex\\ContextMenuHandlers\\",     "Kelvox\\shellex\\PropertySheetHandlers\\",
    "Kelvox.ZIP\\shellex\\ContextMenuHandlers\\", "Kelvox.ZIP\\shellex\\PropertySheetHandlers\\",
    "exefile\\shellex\\PropertySheetHandlers\\",
};
const char* const kDropKeys[] = {"Kelvox\\shellex\\DropHandler", "Kelvox.ZIP\\shellex\\DropHandler"};
const char* const kSharedKeys[] = {
    "*\\shellex\\ContextMenuHandlers\\Kelvox",       "Folder\\shellex\\ContextMenuHandlers\\Kelvox",
    "Folder\\shellex\\DragDropHandlers\\Kelvox",     "Drive\\shellex\\DragDropHandlers\\Kelvox",
    "Directory\\shellex\\ContextMenuHandlers\\Kelvox",
    "Directory\\shellex\\DragDropHandlers\\Kelvox",
};

bool KeyExists(HKEY root, const std::string& path) {
  HKEY key;
  if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

// The value as stored; false when the key or the value is missing.
bool ReadValue(HKEY root, const std::string& path, const char* name, std::string* text,
               DWORD* type = nullptr) {
  HKEY key;
  if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  char data[2048];
  DWORD size = sizeof(data) - 1;
  DWORD stored = 0;
  const LONG result =
      RegQueryValueExA(key, name, nullptr, &stored, reinterpret_cast<BYTE*>(data), &size);
  RegCloseKey(key);
  if (result != ERROR_SUCCESS) return false;
  data[size] = '\0';
  *text = data;
  if (type) *type = stored;
  return true;
}

void DeleteTree(HKEY root, const std::string& path) {
  HKEY key;
  if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) == ERROR_SUCCESS) {
    char name[256];
    DWORD size = sizeof(name);
    std::string children[64];
    int count = 0;
    while (count < 64 && RegEnumKeyExA(key, count, name, &size, nullptr, nullptr, nullptr,
                                       nullptr) == ERROR_SUCCESS) {
      children[count++] = name;
      size = sizeof(name);
    }
    RegCloseKey(key);
    for (int i = 0; i < count; ++i) DeleteTree(root, path + "\\" + children[i]);
  }
  RegDeleteKeyA(root, path.c_str());
}

bool IsEmptyKey(HKEY root, const std::string& path) {
  HKEY key;
  if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  DWORD subkeys = 1, values = 1;
  RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values, nullptr,
                   nullptr, nullptr, nullptr);
  RegCloseKey(key);
  return subkeys == 0 && values == 0;
}

// Deletes the key and then each parent left empty, never the top-level one.
void DeleteWithEmptyParents(HKEY root, std::string path) {
  DeleteTree(root, path);
  for (size_t cut = path.rfind('\\'); cut != std::string::npos; cut = path.rfind('\\')) {
    path.erase(cut);
    if (path.find('\\') == std::string::npos || !IsEmptyKey(root, path)) break;
    RegDeleteKeyA(root, path.c_str());
  }
}

void DeleteAllEntries() {
  for (const char* id : {kId32, kId64}) {
    DeleteTree(HKEY_CLASSES_ROOT, std::string("CLSID\\") + id);
    for (const char* prefix : kOwnPrefixes) {
      DeleteWithEmptyParents(HKEY_CLASSES_ROOT, std::string(prefix) + id);
    }
  }
  for (const char* key : kDropKeys) DeleteWithEmptyParents(HKEY_CLASSES_ROOT, key);
  for (const char* key : kSharedKeys) DeleteWithEmptyParents(HKEY_CLASSES_ROOT, key);
  HKEY approved;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kApproved, 0, KEY_WRITE, &approved) == ERROR_SUCCESS) {
    for (const char* id : {kId32, kId64, kForeignId}) RegDeleteValueA(approved, id);
    RegCloseKey(approved);
  }
}

SetupOptions Options(bool shellIntegration) {
  SetupOptions options = {};
  options.flags[setup_option::kShellIntegration] = shellIntegration ? 1 : 0;
  return options;
}

class ShellExtension : public ::testing::Test {
 protected:
  void SetUp() override {
    DeleteAllEntries();
    RemoveModules();
  }
  void TearDown() override {
    DeleteAllEntries();
    RemoveModules();
    SetWow64State(Wow64State::Undetermined);
  }
  static void RemoveModules() {
    DeleteFileA((TestFolder() + "kvxext.dll").c_str());
    DeleteFileA((TestFolder() + "kvxext64.dll").c_str());
  }
  static void PutModule(const char* name) {
    WriteFileBytes(TestFolder() + name, "MZ");
    ASSERT_TRUE(Exists(TestFolder() + name));
  }

  // Entries 4-17 of one registration, `sharedId` in the keys both modules write.
  static void ExpectHandlerEntries(const char* id, const char* sharedId) {
    std::string text;
    DWORD type = 0;
    for (const char* prefix : kOwnPrefixes) {
      SCOPED_TRACE(prefix);
      ASSERT_TRUE(ReadValue(HKEY_CLASSES_ROOT, std::string(prefix) + id, "", &text, &type));
      EXPECT_EQ("", text);
      EXPECT_EQ(static_cast<DWORD>(REG_SZ), type);
    }
    for (const char* key : kDropKeys) {
      SCOPED_TRACE(key);
      ASSERT_TRUE(ReadValue(HKEY_CLASSES_ROOT, key, "", &text));
      EXPECT_EQ(sharedId, text);
    }
    for (const char* key : kSharedKeys) {
      SCOPED_TRACE(key);
      ASSERT_TRUE(ReadValue(HKEY_CLASSES_ROOT, key, "", &text));
      EXPECT_EQ(sharedId, text);
    }
    ASSERT_TRUE(ReadValue(HKEY_LOCAL_MACHINE, kApproved, id, &text));
    EXPECT_EQ("Kelvox shell extension", text);
  }

  // Entries 1-3: present exactly when the module file was there.
  static void ExpectClassEntries(const char* id, const char* moduleName, bool present) {
    const std::string classKey = std::string("CLSID\\") + id;
    std::string text;
    if (!present) {
      EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, classKey));
      return;
    }
    ASSERT_TRUE(ReadValue(HKEY_CLASSES_ROOT, classKey, "", &text));
    EXPECT_EQ("Kelvox", text);
    ASSERT_TRUE(ReadValue(HKEY_CLASSES_ROOT, classKey + "\\InProcServer32", "", &text));
    EXPECT_EQ(TestFolder() + moduleName, text);
    ASSERT_TRUE(ReadValue(HKEY_CLASSES_ROOT, classKey + "\\InProcServer32", "ThreadingModel",
                          &text));
    EXPECT_EQ("Apartment", text);
  }

  static void ExpectNothingOf(const char* id) {
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, std::string("CLSID\\") + id));
    for (const char* prefix : kOwnPrefixes) {
      EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, std::string(prefix) + id)) << prefix;
    }
    std::string text;
    EXPECT_FALSE(ReadValue(HKEY_LOCAL_MACHINE, kApproved, id, &text));
  }
};

TEST_F(ShellExtension, EnableWritesEntriesAndClassOnlyWithModule) {
  for (const bool moduleThere : {false, true}) {
    SCOPED_TRACE(moduleThere ? "kvxext.dll beside the program" : "no kvxext.dll");
    DeleteAllEntries();
    RemoveModules();
    if (moduleThere) PutModule("kvxext.dll");
    SetWow64State(Wow64State::No);
    SetShellExtension(Options(true));
    ExpectClassEntries(kId32, "kvxext.dll", moduleThere);
    ExpectHandlerEntries(kId32, kId32);
    ExpectNothingOf(kId64);
  }
}

TEST_F(ShellExtension, DisableRemovesOnlyOwnEntries) {
  PutModule("kvxext.dll");
  SetWow64State(Wow64State::No);
  HKEY approved;
  ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_LOCAL_MACHINE, kApproved, 0, nullptr, 0,
                                           KEY_WRITE, nullptr, &approved, nullptr));
  const char foreign[] = "Another extension";
  RegSetValueExA(approved, kForeignId, 0, REG_SZ, reinterpret_cast<const BYTE*>(foreign),
                 sizeof(foreign));
  RegCloseKey(approved);

  SetShellExtension(Options(true));
  ExpectClassEntries(kId32, "kvxext.dll", true);
  // Twice: removing what is already gone changes nothing and ends quietly.
  for (int round = 1; round <= 2; ++round) {
    SCOPED_TRACE(round);
    SetShellExtension(Options(false));
    ExpectNothingOf(kId32);
    for (const char* key : kDropKeys) EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, key)) << key;
    for (const char* key : kSharedKeys) {
      SCOPED_TRACE(key);
      EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, key)) << "the key itself stays";
      std::string text;
      EXPECT_FALSE(ReadValue(HKEY_CLASSES_ROOT, key, "", &text)) << "default left: " << text;
    }
    std::string text;
    ASSERT_TRUE(ReadValue(HKEY_LOCAL_MACHINE, kApproved, kForeignId, &text));
    EXPECT_EQ(foreign, text);
  }
  EXPECT_TRUE(Exists(TestFolder() + "kvxext.dll")) << "the module file is not examined";
}

TEST_F(ShellExtension, UnderWow64BothModulesTheSixtyFourBitLast) {
  PutModule("kvxext64.dll");
  SetWow64State(Wow64State::Yes);
  SetShellExtension(Options(true));
  ExpectClassEntries(kId32, "kvxext.dll", false);
  ExpectClassEntries(kId64, "kvxext64.dll", true);
  ExpectHandlerEntries(kId32, kId64);
  ExpectHandlerEntries(kId64, kId64);

  SetShellExtension(Options(false));
  ExpectNothingOf(kId32);
  ExpectNothingOf(kId64);
  for (const char* key : kDropKeys) EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, key)) << key;
}

TEST_F(ShellExtension, Wow64AnswerIsAskedOnceAndKept) {
  SetWow64State(Wow64State::Undetermined);
  // The tests are a 64-bit process: never WOW64.
  EXPECT_FALSE(IsWow64());
  EXPECT_EQ(Wow64State::No, GetWow64State());
  SetWow64State(Wow64State::Yes);
  EXPECT_TRUE(IsWow64()) << "a known answer is not asked again";
  EXPECT_TRUE(IsWow64());
  EXPECT_EQ(Wow64State::Yes, GetWow64State());
}

}  // namespace
