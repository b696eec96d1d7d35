// The registry layer against Wine's real registry. HKEY_CURRENT_USER is a
// private scratch key for each test (ScratchUserRoot); HKEY_CLASSES_ROOT and
// HKEY_LOCAL_MACHINE tests use keys of their own, deleted before and after.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>

#include "common/wine_helpers.h"
#include "registry/registry.h"
#include "registry/registry_test_support.h"
#include "support/config.h"
#include "support/system.h"

using namespace registry_test;

namespace {

const char kProductKey[] = "Software\\Kelvox";
const char kClassKey[] = "KvxRegistryTest";
const char kMachineKey[] = "Software\\KvxRegistryTest";

class Registry : public ::testing::Test {
 protected:
  void SetUp() override {
    RawDeleteTree(HKEY_CLASSES_ROOT, kClassKey);
    RawDeleteTree(HKEY_LOCAL_MACHINE, kMachineKey);
  }
  void TearDown() override {
    RawDeleteTree(HKEY_CLASSES_ROOT, kClassKey);
    RawDeleteTree(HKEY_LOCAL_MACHINE, kMachineKey);
  }
  ScratchUserRoot user_{"registry"};
};

// A path of exactly `length` characters, in components the registry accepts.
std::string PathOfLength(size_t length) {
  std::string path;
  while (path.size() < length) {
    if (!path.empty()) path += '\\';
    path += std::string(std::min<size_t>(60, length - path.size()), 'p');
  }
  return path;
}

TEST_F(Registry, WritesTypedValuesUnderEachRoot) {
  struct Case {
    const char* name;
    HKEY root;
    const char* path;
    std::string rawPath;
  };
  const Case cases[] = {
      {"product key, relative", HKEY_CURRENT_USER, "Setup\\.zip", "Software\\Kelvox\\Setup\\.zip"},
      {"current user, absolute", HKEY_CURRENT_USER, "\\Software\\KvxAbs", "Software\\KvxAbs"},
      {"classes root", HKEY_CLASSES_ROOT, "KvxRegistryTest\\a", "KvxRegistryTest\\a"},
      {"local machine", HKEY_LOCAL_MACHINE, "Software\\KvxRegistryTest", "Software\\KvxRegistryTest"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_TRUE(SetRegString(c.root, c.path, "Text", "hello"));
    EXPECT_TRUE(SetRegString(c.root, c.path, "", ""));
    EXPECT_TRUE(SetRegDword(c.root, c.path, "Number", 0xDEADBEEF));
    EXPECT_TRUE(SetRegBinary(c.root, c.path, "Bytes", "\x01\x00\x02", 3));
    RawValue text = ReadRaw(c.root, c.rawPath, "Text");
    EXPECT_EQ(static_cast<DWORD>(REG_SZ), text.type);
    EXPECT_EQ(std::string("hello\0", 6), text.bytes);
    RawValue empty = ReadRaw(c.root, c.rawPath, "");
    EXPECT_EQ(static_cast<DWORD>(REG_SZ), empty.type);
    EXPECT_EQ(std::string(1, '\0'), empty.bytes) << "the empty text is stored as one byte";
    RawValue number = ReadRaw(c.root, c.rawPath, "Number");
    EXPECT_EQ(static_cast<DWORD>(REG_DWORD), number.type);
    EXPECT_EQ(std::string("\xEF\xBE\xAD\xDE", 4), number.bytes);
    RawValue bytes = ReadRaw(c.root, c.rawPath, "Bytes");
    EXPECT_EQ(static_cast<DWORD>(REG_BINARY), bytes.type);
    EXPECT_EQ(std::string("\x01\x00\x02", 3), bytes.bytes);

    char out[16];
    EXPECT_TRUE(GetRegString(c.root, c.path, "Text", out, "dflt", sizeof(out)));
    EXPECT_STREQ("hello", out);
    EXPECT_EQ(0xDEADBEEFu, GetRegDword(c.root, c.path, "Number", 7));
    EXPECT_TRUE(RegKeyExists(c.root, c.path));
    DeleteRegValue(c.root, c.path, "Text");
    EXPECT_FALSE(ReadRaw(c.root, c.rawPath, "Text").present);
    DeleteRegKey(c.root, c.path);
    EXPECT_FALSE(RawKeyExists(c.root, c.rawPath));
    EXPECT_FALSE(RegKeyExists(c.root, c.path));
  }
  RawDeleteTree(HKEY_CURRENT_USER, "Software\\KvxAbs");
}

TEST_F(Registry, ShorthandsWorkOnTheProductKey) {
  EXPECT_TRUE(SetRegString("Setup", "Name", "value"));
  EXPECT_TRUE(SetRegDword("Setup", "Flag", 1));
  EXPECT_TRUE(SetRegString("", "Top", "t"));
  EXPECT_EQ("value", std::string(ReadRaw(HKEY_CURRENT_USER, "Software\\Kelvox\\Setup", "Name")
                                     .bytes.c_str()));
  EXPECT_TRUE(ReadRaw(HKEY_CURRENT_USER, kProductKey, "Top").present);
  char out[8];
  EXPECT_TRUE(GetRegString("Setup", "Name", out, "x", sizeof(out)));
  EXPECT_STREQ("value", out);
  EXPECT_EQ(1u, GetRegDword("Setup", "Flag", 5));
  EXPECT_EQ(5u, GetRegDword("Setup", "Missing", 5));
  EXPECT_FALSE(GetRegString("Nowhere", "Name", out, "x", sizeof(out)));
  EXPECT_STREQ("x", out);
}

TEST_F(Registry, GetRegStringAlwaysLeavesATerminatedTextWithinItsSize) {
  const std::string key = "Software\\Kelvox\\Odd";
  WriteRaw(HKEY_CURRENT_USER, key, "", REG_BINARY, std::string("\x41\x42\x43", 3));
  WriteRaw(HKEY_CURRENT_USER, key, "Unterminated", REG_SZ, "abcd");
  WriteRaw(HKEY_CURRENT_USER, key, "Exact", REG_SZ, std::string("abcdefg\0", 8));
  WriteRaw(HKEY_CURRENT_USER, key, "TooLong", REG_SZ, std::string("abcdefgh\0", 9));
  WriteRaw(HKEY_CURRENT_USER, key, "FullNoZero", REG_BINARY, "abcdefgh");
  WriteRaw(HKEY_CURRENT_USER, key, "Number", REG_DWORD, std::string("\x31\x32\x00\x00", 4));
  WriteRaw(HKEY_CURRENT_USER, key, "Empty", REG_SZ, "");
  struct Case {
    const char* name;
    const char* path;
    const char* value;
    bool read;
    std::string text;
  };
  const Case cases[] = {
      {"binary default value", "Odd", "", true, "ABC"},
      {"REG_SZ without terminator", "Odd", "Unterminated", true, "abcd"},
      {"exactly the size, terminated", "Odd", "Exact", true, "abcdefg"},
      {"one byte too long", "Odd", "TooLong", false, "dflt"},
      {"size bytes without terminator", "Odd", "FullNoZero", false, "dflt"},
      {"a DWORD read as bytes", "Odd", "Number", true, "12"},
      {"stored with no bytes", "Odd", "Empty", true, ""},
      {"missing value", "Odd", "Missing", false, "dflt"},
      {"missing key", "NoSuchKey", "", false, "dflt"},
      {"refused path", PathOfLength(237).c_str(), "", false, "dflt"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    char out[12];
    std::memset(out, 'G', sizeof(out));
    EXPECT_EQ(c.read, GetRegString(c.path, c.value, out, "dflt", 8));
    EXPECT_EQ(c.text, std::string(out));
    EXPECT_LT(std::strlen(out), 8u);
    for (int i = 8; i < 12; ++i) EXPECT_EQ('G', out[i]) << "guard byte " << i;
  }
  char small[4];
  std::memset(small, 'G', sizeof(small));
  EXPECT_FALSE(GetRegString("Odd", "Missing", small, "a long default", 3));
  EXPECT_STREQ("a ", small) << "the default is cut to the size";
  EXPECT_EQ('G', small[3]);
}

TEST_F(Registry, GetRegDwordTakesOnlyValuesThatFitFourBytes) {
  const std::string key = "Software\\Kelvox\\Numbers";
  WriteRaw(HKEY_CURRENT_USER, key, "Four", REG_DWORD, std::string("\x04\x03\x02\x01", 4));
  WriteRaw(HKEY_CURRENT_USER, key, "Eight", REG_QWORD, std::string("\x01\0\0\0\0\0\0\0", 8));
  WriteRaw(HKEY_CURRENT_USER, key, "EightAsDword", REG_DWORD, std::string("\x01\0\0\0\0\0\0\0", 8));
  WriteRaw(HKEY_CURRENT_USER, key, "Two", REG_BINARY, std::string("\x34\x12", 2));
  WriteRaw(HKEY_CURRENT_USER, key, "Text", REG_SZ, std::string("ab\0", 3));
  struct Case {
    const char* value;
    DWORD expected;
  };
  const Case cases[] = {
      {"Four", 0x01020304}, {"Eight", 99},     {"EightAsDword", 99},
      {"Two", 0x1234},      {"Text", 0x6261},  {"Missing", 99},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.value);
    EXPECT_EQ(c.expected, GetRegDword("Numbers", c.value, 99));
  }
  EXPECT_EQ(99u, GetRegDword("NoSuchKey", "Four", 99));
}

TEST_F(Registry, PathsOf236CharactersAreTakenAnd237Refused) {
  const std::string ok = PathOfLength(236);
  const std::string refused = PathOfLength(237);
  ASSERT_EQ(236u, ok.size());
  ASSERT_EQ(237u, refused.size());
  const HKEY roots[] = {HKEY_CURRENT_USER, HKEY_CLASSES_ROOT};
  for (HKEY root : roots) {
    SCOPED_TRACE(root == HKEY_CURRENT_USER ? "current user" : "classes root");
    const std::string base = root == HKEY_CURRENT_USER ? "" : std::string(kClassKey) + "\\";
    const std::string okPath = (base + ok).substr(0, 236);
    const std::string badPath = (base + refused).substr(0, 237);
    const std::string rawOk =
        root == HKEY_CURRENT_USER ? std::string(kProductKey) + "\\" + okPath : okPath;
    const std::string rawBad =
        root == HKEY_CURRENT_USER ? std::string(kProductKey) + "\\" + badPath : badPath;

    EXPECT_TRUE(SetRegString(root, okPath.c_str(), "v", "x"));
    EXPECT_TRUE(ReadRaw(root, rawOk, "v").present);
    EXPECT_TRUE(RegKeyExists(root, okPath.c_str()));
    char out[8];
    EXPECT_TRUE(GetRegString(root, okPath.c_str(), "v", out, "d", sizeof(out)));
    DeleteRegValue(root, okPath.c_str(), "v");
    EXPECT_FALSE(ReadRaw(root, rawOk, "v").present);
    DeleteRegKey(root, okPath.c_str());
    EXPECT_FALSE(RawKeyExists(root, rawOk));

    // The refused path must not reach the registry at all, not even cut short.
    WriteRawString(root, rawBad, "v", "there");
    EXPECT_FALSE(SetRegString(root, badPath.c_str(), "w", "x"));
    EXPECT_FALSE(SetRegDword(root, badPath.c_str(), "w", 1));
    EXPECT_FALSE(SetRegBinary(root, badPath.c_str(), "w", "x", 1));
    EXPECT_FALSE(ReadRaw(root, rawBad, "w").present);
    EXPECT_FALSE(RegKeyExists(root, badPath.c_str()));
    EXPECT_FALSE(GetRegString(root, badPath.c_str(), "v", out, "d", sizeof(out)));
    EXPECT_STREQ("d", out);
    EXPECT_EQ(3u, GetRegDword(root, badPath.c_str(), "v", 3));
    DeleteRegValue(root, badPath.c_str(), "v");
    DeleteRegKey(root, badPath.c_str());
    DeleteRegTree(root, badPath.c_str());
    EXPECT_TRUE(ReadRaw(root, rawBad, "v").present);
    RawDeleteTree(root, root == HKEY_CURRENT_USER ? std::string(kProductKey) + "\\p" : kClassKey);
  }
}

TEST_F(Registry, DeleteRegKeyRemovesOneKeyOnly) {
  WriteRawString(HKEY_CLASSES_ROOT, "KvxRegistryTest\\Parent\\Child", "", "c");
  DeleteRegKey(HKEY_CLASSES_ROOT, "KvxRegistryTest\\Parent");
  EXPECT_TRUE(RawKeyExists(HKEY_CLASSES_ROOT, "KvxRegistryTest\\Parent\\Child"));
  DeleteRegKey(HKEY_CLASSES_ROOT, "KvxRegistryTest\\Parent\\Child");
  DeleteRegKey(HKEY_CLASSES_ROOT, "KvxRegistryTest\\Parent");
  EXPECT_FALSE(RawKeyExists(HKEY_CLASSES_ROOT, "KvxRegistryTest\\Parent"));
  DeleteRegValue(HKEY_CLASSES_ROOT, "KvxRegistryTest\\Missing", "v");
  EXPECT_FALSE(RawKeyExists(HKEY_CLASSES_ROOT, "KvxRegistryTest\\Missing"));
  // The empty path would name the root itself.
  DeleteRegKey(HKEY_CLASSES_ROOT, "");
  DeleteRegTree(HKEY_CLASSES_ROOT, "");
  EXPECT_TRUE(RawKeyExists(HKEY_CLASSES_ROOT, "KvxRegistryTest"));
}

TEST_F(Registry, DeleteRegKeyIfEmptyKeepsKeysThatHoldAnything) {
  WriteRawString(HKEY_CLASSES_ROOT, "KvxRegistryTest\\Value", "v", "x");
  WriteRawString(HKEY_CLASSES_ROOT, "KvxRegistryTest\\Default", "", "");
  WriteRawString(HKEY_CLASSES_ROOT, "KvxRegistryTest\\Sub\\Child", "", "c");
  DeleteRegValue(HKEY_CLASSES_ROOT, "KvxRegistryTest\\Sub\\Child", "");
  WriteRaw(HKEY_CLASSES_ROOT, "KvxRegistryTest\\Empty", "x", REG_SZ, "");
  DeleteRegValue(HKEY_CLASSES_ROOT, "KvxRegistryTest\\Empty", "x");
  for (const char* path : {"KvxRegistryTest\\Value", "KvxRegistryTest\\Default",
                           "KvxRegistryTest\\Sub", "KvxRegistryTest\\Empty"}) {
    DeleteRegKeyIfEmpty(HKEY_CLASSES_ROOT, path);
  }
  EXPECT_TRUE(RawKeyExists(HKEY_CLASSES_ROOT, "KvxRegistryTest\\Value"));
  EXPECT_TRUE(RawKeyExists(HKEY_CLASSES_ROOT, "KvxRegistryTest\\Default"));
  EXPECT_TRUE(RawKeyExists(HKEY_CLASSES_ROOT, "KvxRegistryTest\\Sub\\Child"));
  EXPECT_FALSE(RawKeyExists(HKEY_CLASSES_ROOT, "KvxRegistryTest\\Empty"));
}

// Builds `depth` levels with `width` keys each below `path` (raw calls).
void BuildTree(HKEY root, const std::string& path, int depth, int width) {
  WriteRawString(root, path, "", "node");
  if (depth == 0) return;
  for (int i = 0; i < width; ++i) {
    BuildTree(root, path + "\\k" + std::to_string(i), depth - 1, width);
  }
}

TEST_F(Registry, DeleteRegTreeRemovesADeepTreeInSeveralPasses) {
  BuildTree(HKEY_CLASSES_ROOT, "KvxRegistryTest\\Tree", 5, 3);
  WriteRawString(HKEY_CLASSES_ROOT, "KvxRegistryTest\\Sibling", "", "stays");
  DeleteRegTree(HKEY_CLASSES_ROOT, "KvxRegistryTest\\Tree");
  EXPECT_FALSE(RawKeyExists(HKEY_CLASSES_ROOT, "KvxRegistryTest\\Tree"));
  EXPECT_TRUE(RawKeyExists(HKEY_CLASSES_ROOT, "KvxRegistryTest\\Sibling"));
  if (NtMajorVersion() != 0) EXPECT_GT(LastDeleteRegTreePasses(), 2);

  DeleteRegTree(HKEY_CLASSES_ROOT, "KvxRegistryTest\\Missing");
  EXPECT_EQ(1, LastDeleteRegTreePasses()) << "a missing key ends after one pass";
}

TEST_F(Registry, DeleteRegTreeOnTheEmptyUserPathRemovesTheProductKey) {
  BuildTree(HKEY_CURRENT_USER, "Software\\Kelvox\\Setup", 3, 2);
  WriteRawString(HKEY_CURRENT_USER, "Software\\KelvoxOther", "", "neighbour");
  DeleteRegTree(HKEY_CURRENT_USER, "");
  EXPECT_FALSE(RawKeyExists(HKEY_CURRENT_USER, kProductKey));
  EXPECT_TRUE(RawKeyExists(HKEY_CURRENT_USER, "Software\\KelvoxOther"));
  EXPECT_TRUE(RawKeyExists(HKEY_CURRENT_USER, "Software"));
}

TEST_F(Registry, DeleteRegTreeStopsAtNamesAndPathsThatDoNotFit) {
  const std::string name199(199, 'n');
  const std::string name200(200, 'm');
  // A 199-character name still fits the name buffer; 200 ends the enumeration.
  WriteRawString(HKEY_CLASSES_ROOT, "KvxRegistryTest\\A\\" + name199 + "\\leaf", "", "x");
  DeleteRegTree(HKEY_CLASSES_ROOT, "KvxRegistryTest\\A");
  EXPECT_FALSE(RawKeyExists(HKEY_CLASSES_ROOT, "KvxRegistryTest\\A"));

  WriteRawString(HKEY_CLASSES_ROOT, "KvxRegistryTest\\B\\" + name200 + "\\leaf", "", "x");
  WriteRawString(HKEY_CLASSES_ROOT, "KvxRegistryTest\\B\\short", "", "x");
  DeleteRegTree(HKEY_CLASSES_ROOT, "KvxRegistryTest\\B");
  EXPECT_TRUE(RawKeyExists(HKEY_CLASSES_ROOT, "KvxRegistryTest\\B\\" + name200 + "\\leaf"));

  // Three 199-character levels make a child path longer than 511 characters:
  // that key is skipped (Wine's ANSI calls refuse such paths anyway) and stays
  // with the keys above it; the deletion still ends.
  HKEY key = nullptr;
  ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CLASSES_ROOT, "KvxRegistryTest\\C", 0, nullptr,
                                           0, KEY_ALL_ACCESS, nullptr, &key, nullptr));
  for (const char* name : {name199.c_str(), name199.c_str(), name199.c_str(), "x"}) {
    HKEY child = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(key, name, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                             &child, nullptr));
    RegCloseKey(key);
    key = child;
  }
  RegCloseKey(key);
  DeleteRegTree(HKEY_CLASSES_ROOT, "KvxRegistryTest\\C");
  EXPECT_TRUE(RawKeyExists(HKEY_CLASSES_ROOT, "KvxRegistryTest\\C\\" + name199));
}

// Runs in a copy of this program under another Windows version: deletes the
// tree the parent built and reports the version it saw.
TEST(VersionDriver, Registry) {
  const std::string task = DriverEnv(kDriverTask);
  if (task.empty()) GTEST_SKIP() << "runs only as a driver";
  DriverUserRoot user;
  const OSVERSIONINFOA info = SeenVersion();
  SetRegDword(kReportKey, "Platform", info.dwPlatformId);
  SetRegDword(kReportKey, "NtMajor", NtMajorVersion());
  if (task == "tree") {
    DeleteRegTree(HKEY_CLASSES_ROOT, "KvxRegistryTest\\Tree");
    SetRegDword(kReportKey, "Passes", static_cast<DWORD>(LastDeleteRegTreePasses()));
  }
}

TEST_F(Registry, DeleteRegTreeRemovesADeepTreeOnEitherFamily) {
  testing_support::ScratchFolder folder("registry-versions");
  struct Case {
    const char* version;
    DWORD platform;
  };
  const Case cases[] = {{"win98", VER_PLATFORM_WIN32_WINDOWS},
                        {"winme", VER_PLATFORM_WIN32_WINDOWS},
                        {"win2k", VER_PLATFORM_WIN32_NT},
                        {"win10", VER_PLATFORM_WIN32_NT}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.version);
    BuildTree(HKEY_CLASSES_ROOT, "KvxRegistryTest\\Tree", 4, 3);
    RawDeleteTree(HKEY_CURRENT_USER, "Software\\KvxDriverReport");
    ASSERT_EQ(0, RunUnderVersion(c.version, folder.Path(), "VersionDriver.Registry", "tree", user_));
    EXPECT_EQ(c.platform, GetRegDword(kReportKey, "Platform", 99));
    EXPECT_EQ(c.platform == VER_PLATFORM_WIN32_NT, GetRegDword(kReportKey, "NtMajor", 0) != 0);
    EXPECT_FALSE(RawKeyExists(HKEY_CLASSES_ROOT, "KvxRegistryTest\\Tree"));
    // Wine's RegDeleteKeyA never deletes a key with subkeys, so the 9x single
    // call fails there too and the passes run.
    EXPECT_GT(GetRegDword(kReportKey, "Passes", 0), 1u);
  }
}

}  // namespace
