// Path and text helpers over single-byte and double-byte (GBK-like) tables.
#include <gtest/gtest.h>

#include "common/code_page.h"

#include <cstring>
#include <string>

#include "support/text.h"

namespace {

// The GBK character 0xB1 0x5C: its trail byte has the value of a backslash.
const char kTrailBackslash[] = "\xB1\x5C";

struct NameCase {
  const char* name;
  std::string path;
  std::string expected;
};

TEST(NamePosition, FindsTheNamePart) {
  const NameCase cases[] = {
      {"drive path", "C:\\dir\\file.ext", "file.ext"},
      {"forward slash", "dir/file", "file"},
      {"bare name", "file", "file"},
      {"drive relative", "C:file", "file"},
      {"empty", "", ""},
      {"trailing backslash", "dir\\", ""},
      {"root only", "\\", ""},
      {"drive only", "C:", ""},
  };
  CodePage singleByte(false);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.expected, NamePosition(c.path.c_str()));
  }
}

TEST(NamePosition, TrailByteIsNoSeparatorInDoubleByteCodePage) {
  CodePage doubleByte(true);
  const std::string path = std::string("C:\\dir\\a") + kTrailBackslash;
  EXPECT_EQ(std::string("a") + kTrailBackslash, NamePosition(path.c_str()));
  // A lead byte first: the second byte is no drive colon.
  EXPECT_STREQ("\x81:x", NamePosition("\x81:x"));
}

TEST(NamePosition, SingleByteTableTakesTrailByteAsSeparator) {
  CodePage singleByte(false);
  const std::string path = std::string("C:\\dir\\a") + kTrailBackslash;
  EXPECT_STREQ("", NamePosition(path.c_str()));
}

TEST(NextChar, DanglingLeadByteStopsAtTerminator) {
  CodePage doubleByte(true);
  const char text[] = "a\x81";
  EXPECT_EQ(text + 2, NextChar(g_leadBytes, text + 1));
  EXPECT_EQ(text + 1, LastCharPosition(text));
  const char pair[] = "\xB1\x5C";
  EXPECT_EQ(pair + 2, NextChar(g_leadBytes, pair));
}

TEST(LastCharPosition, StartOfLastCharacter) {
  CodePage doubleByte(true);
  const char empty[] = "";
  EXPECT_EQ(empty, LastCharPosition(empty));
  const char text[] = "ab\xB1\x5C";
  EXPECT_EQ(text + 2, LastCharPosition(text));
}

struct AppendCase {
  const char* name;
  bool doubleByte;
  std::string path;
  std::string expected;
};

TEST(AppendBackslash, AppendsOnlyWhenMissing) {
  const AppendCase cases[] = {
      {"root", false, "C:\\", "C:\\"},
      {"drive", false, "C:", "C:\\"},
      {"empty", false, "", ""},
      {"slash", false, "a/", "a/\\"},
      {"trail byte 0x5C", true, std::string("x") + kTrailBackslash,
       std::string("x") + kTrailBackslash + "\\"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    CodePage page(c.doubleByte);
    char buffer[32];
    std::memset(buffer, 'G', sizeof(buffer));
    std::memcpy(buffer, c.path.c_str(), c.path.size() + 1);
    EXPECT_TRUE(AppendBackslash(buffer, sizeof(buffer)));
    EXPECT_EQ(c.expected, buffer);
    EXPECT_EQ('G', buffer[c.expected.size() + 1]) << "byte after the terminator was written";
  }
}

TEST(AppendBackslash, RefusesWhenBufferIsFull) {
  CodePage singleByte(false);
  char buffer[4] = {'a', 'b', 'c', '\0'};
  EXPECT_FALSE(AppendBackslash(buffer, sizeof(buffer)));
  EXPECT_STREQ("abc", buffer);
}

TEST(CutToFolder, CutsTheNamePart) {
  const NameCase cases[] = {
      {"deep", "C:\\Program Files\\Kelvox\\Kelvox.exe", "C:\\Program Files\\Kelvox"},
      {"drive root", "C:\\Kelvox.exe", "C:\\"},
      {"rooted", "\\Kelvox.exe", "\\"},
      {"bare", "Kelvox.exe", ""},
      {"drive relative", "C:name", "C:"},
      {"relative", "dir\\name", "dir"},
      {"empty", "", ""},
  };
  CodePage singleByte(false);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    char buffer[64];
    std::strcpy(buffer, c.path.c_str());
    CutToFolder(buffer);
    EXPECT_EQ(c.expected, buffer);
  }
}

TEST(TrimTrailingBlanks, RemovesOnlyTrailingBlanks) {
  const NameCase cases[] = {
      {"all four", "name \t\r\n", "name"},
      {"only blanks", " \t \r\n", ""},
      {"leading stay", "  name ", "  name"},
      {"empty", "", ""},
      {"inner stay", "a b\tc", "a b\tc"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    char buffer[32];
    std::strcpy(buffer, c.path.c_str());
    EXPECT_EQ(buffer, TrimTrailingBlanks(buffer));
    EXPECT_EQ(c.expected, buffer);
  }
}

TEST(CopyText, CutsOnCharacterBoundaryAndTerminates) {
  CodePage doubleByte(true);
  char buffer[6];
  std::memset(buffer, 'G', sizeof(buffer));
  // "ab" then two double-byte characters: the second does not fit in 5 bytes.
  EXPECT_FALSE(CopyText(buffer, 5, "ab\xB1\x5C\xC4\xE3"));
  EXPECT_STREQ("ab\xB1\x5C", buffer);
  EXPECT_EQ('G', buffer[5]);
  EXPECT_TRUE(CopyText(buffer, 6, "ab\xB1\x5C"));
  EXPECT_FALSE(AppendWhole(buffer, 6, "xy"));
  EXPECT_STREQ("ab\xB1\x5C", buffer);
  EXPECT_TRUE(AppendWhole(buffer, 6, "x"));
  EXPECT_STREQ("ab\xB1\x5Cx", buffer);
}

}  // namespace
