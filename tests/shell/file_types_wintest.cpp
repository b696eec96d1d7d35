// The product's file-type classes, written into Wine's real HKEY_CLASSES_ROOT;
// every class key touched is captured first and put back afterwards.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "common/wine_helpers.h"
#include "lang/local_strings.h"
#include "registry/registry_test_support.h"
#include "shell/file_types.h"

using namespace registry_test;

namespace {

class FileTypes : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* key : {"Kelvox", "Kelvox.ZIP", "Kelvox.REV", ".rev"}) {
      saved_.push_back(std::make_unique<SavedTree>(HKEY_CLASSES_ROOT, key));
      RawDeleteTree(HKEY_CLASSES_ROOT, key);
    }
    // The descriptions come from the program's own string table.
    program_ = LoadLibraryExA(testing_support::ProgramUnderTest().c_str(), nullptr,
                              LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(nullptr, program_);
    ResourceModule = ProgramInstance = program_;
  }
  void TearDown() override {
    ResourceModule = ProgramInstance = nullptr;
    if (program_) FreeLibrary(program_);
    saved_.clear();
  }
  std::string OwnString(UINT id) {
    char text[512];
    text[0] = '\0';
    LoadStringA(program_, id, text, sizeof(text));
    return text;
  }
  static std::string Value(const char* key) {
    const RawValue value = ReadRaw(HKEY_CLASSES_ROOT, key, "");
    EXPECT_TRUE(!value.present || value.type == REG_SZ) << key;
    return value.present ? std::string(value.bytes.c_str()) : "<missing>";
  }

  HMODULE program_ = nullptr;
  std::vector<std::unique_ptr<SavedTree>> saved_;
};

std::string ProgramPath() {
  char path[MAX_PATH];
  GetModuleFileNameA(nullptr, path, sizeof(path));
  std::string folder = path;
  return folder.substr(0, folder.rfind('\\') + 1) + "Kelvox.exe";
}

TEST_F(FileTypes, WritesTheThreeClassesAndBindsRev) {
  WriteRawString(HKEY_CLASSES_ROOT, ".rev", "", "OtherRev");
  WriteRawString(HKEY_CLASSES_ROOT, "Kelvox\\DefaultIcon", "", "C:\\custom.ico,3");
  WriteRawString(HKEY_CLASSES_ROOT, "Kelvox.ZIP\\DefaultIcon", "", "");
  WriteRawString(HKEY_CLASSES_ROOT, "Kelvox.ZIP", "", "stale");
  // An icon value too long to read counts as empty and is replaced.
  WriteRawString(HKEY_CLASSES_ROOT, "Kelvox.REV\\DefaultIcon", "", std::string(1100, 'i'));

  RegisterFileTypes();

  const std::string program = ProgramPath();
  const std::string command = "\"" + program + "\" \"%1\"";
  struct Case {
    const char* key;
    std::string expected;
  };
  const Case cases[] = {
      {"Kelvox", OwnString(5109)},
      {"Kelvox\\shell\\open\\command", command},
      {"Kelvox\\DefaultIcon", "C:\\custom.ico,3"},
      {"Kelvox.ZIP", OwnString(5110)},
      {"Kelvox.ZIP\\shell\\open\\command", command},
      {"Kelvox.ZIP\\DefaultIcon", program + ",0"},
      {".rev", "Kelvox.REV"},
      {"Kelvox.REV", OwnString(5111)},
      {"Kelvox.REV\\shell\\open\\command", command},
      {"Kelvox.REV\\DefaultIcon", program + ",1"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.key);
    EXPECT_EQ(c.expected, Value(c.key));
  }
  EXPECT_FALSE(OwnString(5109).empty());
  EXPECT_NE(OwnString(5109), OwnString(5110));

  // A second run rewrites descriptions and commands, and keeps the icons.
  WriteRawString(HKEY_CLASSES_ROOT, "Kelvox.REV\\shell\\open\\command", "", "changed");
  WriteRawString(HKEY_CLASSES_ROOT, "Kelvox.ZIP\\DefaultIcon", "", "user.ico");
  RegisterFileTypes();
  EXPECT_EQ(command, Value("Kelvox.REV\\shell\\open\\command"));
  EXPECT_EQ("user.ico", Value("Kelvox.ZIP\\DefaultIcon"));
  EXPECT_EQ(program + ",1", Value("Kelvox.REV\\DefaultIcon"));
}

}  // namespace
