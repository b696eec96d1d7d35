// Paths derived from the program's own file name: siblings and the quoted
// uninstall command.
#include <gtest/gtest.h>

#include "common/code_page.h"

#include <cstring>
#include <string>

#include "shell/app_path.h"
#include "support/text.h"

namespace {

TEST(SiblingPath, ReplacesTheNamePart) {
  struct Case {
    const char* name;
    bool doubleByte;
    const char* program;
    const char* expected;
  };
  const Case cases[] = {
      {"folder with blanks", false, "C:\\Program Files\\Kelvox\\uninstall.exe",
       "C:\\Program Files\\Kelvox\\Kelvox.exe"},
      {"drive root", false, "D:\\uninstall.exe", "D:\\Kelvox.exe"},
      {"network share", false, "\\\\server\\share\\uninstall.exe",
       "\\\\server\\share\\Kelvox.exe"},
      {"forward slash", false, "C:/Kelvox/uninstall.exe", "C:/Kelvox/Kelvox.exe"},
      // 0x95 0x5C is one character; its trail byte is no separator.
      {"double-byte name", true, "C:\\kvx\\\x95\x5cname.exe", "C:\\kvx\\Kelvox.exe"},
      {"double-byte folder", true, "C:\\\x95\x5c\\uninstall.exe", "C:\\\x95\x5c\\Kelvox.exe"},
  };
  for (const Case& row : cases) {
    SCOPED_TRACE(row.name);
    CodePage codePage(row.doubleByte);
    char out[64];
    std::memset(out, 'x', sizeof(out));
    EXPECT_TRUE(ComposeSiblingPath(row.program, "Kelvox.exe", out, sizeof(out)));
    EXPECT_STREQ(row.expected, out);
  }
}

TEST(SiblingPath, RefusesWhatWouldBeRelativeOrCut) {
  struct Case {
    const char* name;
    const char* program;
    int size;
  };
  const Case cases[] = {
      {"empty program path", "", 64},
      {"bare program name", "uninstall.exe", 64},
      // "C:\\Kelvox\\" is 10 bytes; "Kelvox.exe" needs 10 more and a terminator.
      {"one byte short", "C:\\Kelvox\\uninstall.exe", 20},
      {"folder alone does not fit", "C:\\Kelvox\\uninstall.exe", 10},
  };
  for (const Case& row : cases) {
    SCOPED_TRACE(row.name);
    char out[80];
    std::memset(out, 'x', sizeof(out));
    EXPECT_FALSE(ComposeSiblingPath(row.program, "Kelvox.exe", out, row.size));
    EXPECT_STREQ("", out);
    EXPECT_EQ('x', out[row.size]) << "nothing written past the buffer";
  }
  char exact[21];
  EXPECT_TRUE(ComposeSiblingPath("C:\\Kelvox\\uninstall.exe", "Kelvox.exe", exact, sizeof(exact)));
  EXPECT_STREQ("C:\\Kelvox\\Kelvox.exe", exact);
}

TEST(QuotedPath, QuotesWholeOrNothing) {
  char out[80];
  std::memset(out, 'x', sizeof(out));
  EXPECT_TRUE(QuotePath("C:\\Program Files\\Kelvox\\uninstall.exe", out, sizeof(out)));
  EXPECT_STREQ("\"C:\\Program Files\\Kelvox\\uninstall.exe\"", out);

  const std::string path = "C:\\Kelvox\\uninstall.exe";  // 23 bytes, quoted 25
  char fits[26];
  EXPECT_TRUE(QuotePath(path.c_str(), fits, sizeof(fits)));
  EXPECT_EQ("\"" + path + "\"", fits);

  struct Case {
    const char* name;
    const char* path;
    int size;
  };
  const Case refused[] = {
      {"closing quote does not fit", "C:\\Kelvox\\uninstall.exe", 25},
      {"path does not fit", "C:\\Kelvox\\uninstall.exe", 10},
      {"empty path", "", 64},
  };
  for (const Case& row : refused) {
    SCOPED_TRACE(row.name);
    std::memset(out, 'x', sizeof(out));
    EXPECT_FALSE(QuotePath(row.path, out, row.size));
    EXPECT_STREQ("", out) << "never a half-quoted command";
    EXPECT_EQ('x', out[row.size]);
  }
}

}  // namespace
