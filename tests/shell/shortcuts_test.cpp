// Link and group paths: always below a full path, never cut.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "shell/shortcuts.h"
#include "support/text.h"

namespace {

class ShortcutPaths : public ::testing::Test {
 protected:
  void TearDown() override { ClearLeadByteTable(g_leadBytes); }
};

TEST_F(ShortcutPaths, FullPathsOnly) {
  struct Case {
    const char* path;
    bool full;
  };
  const Case cases[] = {
      {"C:\\users\\Desktop", true}, {"d:/x", true},       {"C:\\", true},
      {"\\\\server\\share", true},  {"", false},          {"Kelvox", false},
      {"C:", false},                {"C:Kelvox", false},  {"\\Kelvox", false},
      {"\\\\", false},              {"1:\\x", false},     {"\x95:\\x", false},
  };
  for (const Case& row : cases) {
    SCOPED_TRACE(row.path);
    EXPECT_EQ(row.full, IsFullPath(row.path));
  }
}

TEST_F(ShortcutPaths, ChildBelowFolder) {
  struct Case {
    const char* name;
    bool doubleByte;
    const char* folder;
    const char* expected;
  };
  const Case cases[] = {
      {"plain folder", false, "C:\\users\\kvx\\Desktop", "C:\\users\\kvx\\Desktop\\Kelvox.lnk"},
      {"drive root keeps one backslash", false, "D:\\", "D:\\Kelvox.lnk"},
      {"folder with trailing backslash", false, "C:\\Start Menu\\", "C:\\Start Menu\\Kelvox.lnk"},
      // The trail byte 0x5C of the last character is no trailing backslash.
      {"double-byte last character", true, "C:\\\x95\x5c", "C:\\\x95\x5c\\Kelvox.lnk"},
  };
  for (const Case& row : cases) {
    SCOPED_TRACE(row.name);
    if (row.doubleByte) FillLeadByteRange(g_leadBytes, 0x81, 0xFE);
    else ClearLeadByteTable(g_leadBytes);
    char out[64];
    EXPECT_TRUE(ComposeChildPath(row.folder, "Kelvox.lnk", out, sizeof(out)));
    EXPECT_STREQ(row.expected, out);
  }
}

TEST_F(ShortcutPaths, NoFolderNoPath) {
  struct Case {
    const char* name;
    const char* folder;
    int size;
  };
  const Case cases[] = {
      {"shell gave no folder", "", 64},
      {"relative folder", "Programs", 64},
      // "C:\\x\\" + "Kelvox.lnk" needs 16 bytes with the terminator.
      {"name does not fit", "C:\\x", 15},
      {"folder does not fit", "C:\\a long folder name", 8},
  };
  for (const Case& row : cases) {
    SCOPED_TRACE(row.name);
    char out[80];
    std::memset(out, 'x', sizeof(out));
    EXPECT_FALSE(ComposeChildPath(row.folder, "Kelvox.lnk", out, row.size));
    EXPECT_STREQ("", out) << "never a relative or cut path";
    EXPECT_EQ('x', out[row.size]);
  }
  char exact[16];
  EXPECT_TRUE(ComposeChildPath("C:\\x", "Kelvox.lnk", exact, sizeof(exact)));
  EXPECT_STREQ("C:\\x\\Kelvox.lnk", exact);
}

}  // namespace
