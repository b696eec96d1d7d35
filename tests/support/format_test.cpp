// One-argument formatting of message texts that translations may supply.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "app/messages.h"
#include "support/format.h"
#include "support/text.h"

namespace {

struct FormatCase {
  const char* name;
  const char* format;
  const char* expected;  // with the argument "P" and the fallback "own %s"
};

TEST(FormatOneString, SubstitutesExactlyOneString) {
  const FormatCase cases[] = {
      {"plain", "delete %s by hand", "delete P by hand"},
      {"percent kept", "100%% sure: %s", "100% sure: P"},
      {"only argument", "%s", "P"},
      {"two strings", "%s%s", "own P"},
      {"write conversion", "%n %s", "own P"},
      {"number", "%d %s", "own P"},
      {"no string", "nothing here", "own P"},
      {"lone percent at end", "%s %", "own P"},
      {"width", "%10s", "own P"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    char out[64];
    std::memset(out, 'G', sizeof(out));
    EXPECT_TRUE(FormatOneString(out, sizeof(out), c.format, "own %s", "P"));
    EXPECT_STREQ(c.expected, out);
  }
}

TEST(FormatOneString, UnusableFallbackGivesTheArgumentAlone) {
  char out[16];
  EXPECT_TRUE(FormatOneString(out, sizeof(out), "%x", "%n", "path"));
  EXPECT_STREQ("path", out);
}

TEST(FormatOneString, CutsAtTheBufferNeverPastIt) {
  char out[12];
  std::memset(out, 'G', sizeof(out));
  const std::string longPath(300, 'p');
  EXPECT_FALSE(FormatOneString(out, 8, "ab %s cd", "own %s", longPath.c_str()));
  EXPECT_STREQ("ab pppp", out);
  EXPECT_EQ('G', out[8]);
}

TEST(ComposeHandDeletionText, FitsFiveHundredTwelveBytesWhateverThePath) {
  const size_t lengths[] = {0, 10, 480, 511, 512, 1023, 5000};
  for (size_t length : lengths) {
    SCOPED_TRACE(length);
    const std::string path = "C:\\" + std::string(length, 'x');
    char out[512 + 8];
    std::memset(out, 'G', sizeof(out));
    ComposeHandDeletionText(out, 512, "done", "delete %s", "own %s", path.c_str());
    const size_t used = std::strlen(out);
    EXPECT_LT(used, 512u);
    for (size_t i = 512; i < sizeof(out); ++i) EXPECT_EQ('G', out[i]);
    const std::string expected = "done\ndelete " + path;
    EXPECT_EQ(expected.substr(0, used), std::string(out));
  }
}

TEST(ComposeHandDeletionText, HostileTranslationFallsBackToOwnText) {
  char out[512];
  ComposeHandDeletionText(out, sizeof(out), "done", "%s%n%s", "own %s", "C:\\k\\uninstall.exe");
  EXPECT_STREQ("done\nown C:\\k\\uninstall.exe", out);
}

TEST(ComposeHandDeletionText, DoubleByteCharacterNeverSplitAtTheCut) {
  FillLeadByteRange(g_leadBytes, 0x81, 0xFE);
  char out[16];
  // "done\n" (5) + "\xC4\xE3" pairs: 10 bytes of text fit; the 11th would split a pair.
  ComposeHandDeletionText(out, 11, "done", "%s", "%s", "\xC4\xE3\xC4\xE3\xC4\xE3");
  EXPECT_STREQ("done\n\xC4\xE3\xC4\xE3", out);
  ClearLeadByteTable(g_leadBytes);
}

}  // namespace
