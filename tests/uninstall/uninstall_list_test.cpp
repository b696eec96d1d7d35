// Lines of Uninstall.lst and the check that keeps entries inside the folder.
#include <gtest/gtest.h>

#include "common/code_page.h"

#include <cstring>
#include <string>
#include <vector>

#include "support/text.h"
#include "uninstall/uninstall_list.h"

namespace {

// The list as a text, handed out in small reads so lines cross blocks.
class TextSource final : public ByteSource {
 public:
  TextSource(std::string text, int chunk) : text_(std::move(text)), chunk_(chunk) {}
  int Read(void* buffer, int count) override {
    if (failAt_ >= 0 && position_ >= static_cast<size_t>(failAt_)) return -1;
    const size_t n = std::min({static_cast<size_t>(count), static_cast<size_t>(chunk_),
                               text_.size() - position_});
    std::memcpy(buffer, text_.data() + position_, n);
    position_ += n;
    return static_cast<int>(n);
  }
  void Rewind() override { position_ = 0; ++rewinds; }
  int rewinds = 0;
  int failAt_ = -1;

 private:
  std::string text_;
  int chunk_;
  size_t position_ = 0;
};

struct Line {
  std::string text;  // after trimming, as the pass loop sees it
  bool whole;
};

std::vector<Line> ReadAll(ListLines& lines, int size = 2048) {
  std::vector<Line> out;
  std::vector<char> line(size + 1, '\x7F');
  bool whole = false;
  while (lines.Next(line.data(), size, &whole)) {
    EXPECT_EQ('\x7F', line[size]) << "written past the buffer";
    out.push_back({TrimTrailingBlanks(line.data()), whole});
  }
  return out;
}

TEST(ListLines, SplitsAtLineFeedsAndKeepsLeadingBlanks) {
  const std::string text = "a.txt\r\n  lead.txt\n\nsub\\b.dat \t \r\n \t\r\nlast";
  for (int chunk : {1, 3, 7, 16384}) {
    SCOPED_TRACE(chunk);
    TextSource source(text, chunk);
    ListLines lines(source);
    const std::vector<Line> got = ReadAll(lines);
    ASSERT_EQ(6u, got.size());
    EXPECT_EQ("a.txt", got[0].text);
    EXPECT_EQ("  lead.txt", got[1].text);
    EXPECT_EQ("", got[2].text);
    EXPECT_EQ("sub\\b.dat", got[3].text);
    EXPECT_EQ("", got[4].text);
    EXPECT_EQ("last", got[5].text);
    for (const Line& l : got) EXPECT_TRUE(l.whole) << l.text;
  }
}

TEST(ListLines, RewindReadsTheSameLinesAgain) {
  TextSource source("one\r\ntwo\r\n", 4);
  ListLines lines(source);
  const std::vector<Line> first = ReadAll(lines);
  lines.Rewind();
  const std::vector<Line> second = ReadAll(lines);
  ASSERT_EQ(2u, second.size());
  EXPECT_EQ(first[0].text, second[0].text);
  EXPECT_EQ("two", second[1].text);
  EXPECT_EQ(1, source.rewinds);
}

TEST(ListLines, LongLineIsSkippedWholeNotCutIntoPieces) {
  // Cut into 2047-byte pieces, the tail of this line would name keep.txt.
  const std::string longLine = std::string(4094, 'x') + "keep.txt";
  TextSource source("a.txt\r\n" + longLine + "\r\nb.txt\r\n", 1000);
  ListLines lines(source);
  const std::vector<Line> got = ReadAll(lines);
  ASSERT_EQ(3u, got.size());
  EXPECT_TRUE(got[0].whole);
  EXPECT_FALSE(got[1].whole);
  EXPECT_EQ("b.txt", got[2].text);
  EXPECT_TRUE(got[2].whole);
}

TEST(ListLines, LineLengthsAroundTheBuffer) {
  struct Case {
    const char* name;
    std::string line;
    bool whole;
  };
  const Case cases[] = {
      {"fills the buffer", std::string(2047, 'a'), true},
      {"one byte more", std::string(2048, 'a'), false},
      {"blanks past the end", std::string(2047, 'a') + " \t \r", true},
      {"a name after blanks past the end", std::string(2047, 'a') + "  z", false},
      {"NUL byte inside", std::string("cut.txt\0tail", 12), false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TextSource source(c.line + "\nnext\n", 5000);
    ListLines lines(source);
    const std::vector<Line> got = ReadAll(lines);
    ASSERT_EQ(2u, got.size());
    EXPECT_EQ(c.whole, got[0].whole);
    EXPECT_EQ("next", got[1].text);
  }
}

TEST(ListLines, ReadErrorEndsTheList) {
  TextSource source("a\nb\nc\n", 2);
  source.failAt_ = 2;
  ListLines lines(source);
  const std::vector<Line> got = ReadAll(lines);
  ASSERT_EQ(1u, got.size());
  EXPECT_EQ("a", got[0].text);
}

TEST(ListLines, EmptyListHasNoLines) {
  TextSource source("", 10);
  ListLines lines(source);
  EXPECT_TRUE(ReadAll(lines).empty());
}

struct EntryCase {
  const char* entry;
  bool inside;
};

TEST(IsEntryInsideFolder, RefusesEveryWayOut) {
  const EntryCase cases[] = {
      // inside
      {"file.txt", true},
      {"sub\\deeper\\file.txt", true},
      {"sub/file.txt", true},
      {"  lead.txt", true},
      {"a..b.txt", true},
      {"..name", true},
      {"name..", true},
      {".hidden", true},
      {"sub\\.\\file", true},
      {".", true},
      // climbing out
      {"..", false},
      {"..\\victim.txt", false},
      {"sub\\..\\..\\victim.txt", false},
      {"sub/../../victim.txt", false},
      {"sub\\..", false},
      {"...\\victim.txt", false},
      {". .\\victim.txt", false},
      {".. \\victim.txt", false},
      // rooted and UNC
      {"\\Windows\\win.ini", false},
      {"/Windows/win.ini", false},
      {"\\\\server\\share\\file", false},
      {"\\\\?\\C:\\file", false},
      // drives and streams
      {"C:", false},
      {"C:file.txt", false},
      {"C:\\Windows\\win.ini", false},
      {"file.txt:stream", false},
  };
  CodePage singleByte(false);
  for (const EntryCase& c : cases) {
    SCOPED_TRACE(c.entry);
    EXPECT_EQ(c.inside, IsEntryInsideFolder(c.entry));
  }
}

TEST(IsEntryInsideFolder, TrailByteIsNoSeparatorInDoubleByteCodePage) {
  CodePage doubleByte(true);
  // 0xB1 0x5C is one character whose trail byte has the value of a backslash:
  // "\xB1\x5C.." is one component, not a separator followed by "..".
  EXPECT_TRUE(IsEntryInsideFolder("\xB1\x5C..\\file"));
  EXPECT_TRUE(IsEntryInsideFolder("\xB1\x5C\\file"));
  // A lead byte first: the byte after it is no drive colon.
  EXPECT_TRUE(IsEntryInsideFolder("\x81:"));
  EXPECT_FALSE(IsEntryInsideFolder("\xB1\x5C\\..\\x"));
  EXPECT_FALSE(IsEntryInsideFolder("\x81\x40:x"));
}

TEST(IsRootFolder, DrivesAndSharesAreRoots) {
  const EntryCase cases[] = {
      {"", true},
      {"C:", true},
      {"\\\\server\\share", true},
      {"\\\\server", true},
      {"\\\\?\\C:", true},
      {"C:\\Program Files\\Kelvox", false},
      {"C:\\x", false},
      {"\\\\server\\share\\Kelvox", false},
  };
  CodePage singleByte(false);
  for (const EntryCase& c : cases) {
    SCOPED_TRACE(c.entry);
    EXPECT_EQ(c.inside, IsRootFolder(c.entry));
  }
}

TEST(FormEntryName, RefusesWhatDoesNotFitInsteadOfCutting) {
  char name[16];
  std::memset(name, '#', sizeof(name));
  EXPECT_TRUE(FormEntryName(name, sizeof(name), "C:\\dir\\", "abcdefgh"));  // 15 bytes
  EXPECT_STREQ("C:\\dir\\abcdefgh", name);
  EXPECT_FALSE(FormEntryName(name, sizeof(name), "C:\\dir\\", "abcdefghi"));
  EXPECT_NE(std::string("C:\\dir\\abcdefgh"), std::string(name, strnlen(name, sizeof(name))));
}

TEST(FormTempName, NumbersTheNameOrRefuses) {
  char name[32];
  EXPECT_TRUE(FormTempName(name, sizeof(name), "C:\\d\\data.dll", 0));
  EXPECT_STREQ("C:\\d\\data.dll.0.tmp", name);
  EXPECT_TRUE(FormTempName(name, sizeof(name), "C:\\d\\data.dll", 999));
  EXPECT_STREQ("C:\\d\\data.dll.999.tmp", name);
  // 20 bytes + ".10.tmp" = 27 fits 28 bytes but not 27.
  EXPECT_TRUE(FormTempName(name, 28, "C:\\d\\longer-name.dll", 10));
  EXPECT_FALSE(FormTempName(name, 27, "C:\\d\\longer-name.dll", 10));
}

}  // namespace

namespace {

TEST(SettledLines, RemembersExactlyTheSettledLines) {
  SettledLines settled;
  EXPECT_FALSE(settled.IsSettled(0));
  EXPECT_FALSE(settled.IsSettled(-1));
  const int lines[] = {0, 7, 9, 4095 * 8 + 7, 4096 * 8 + 1, 200000};
  for (int line : lines) settled.Settle(line);
  for (int line : lines) {
    SCOPED_TRACE(line);
    EXPECT_TRUE(settled.IsSettled(line));
    EXPECT_FALSE(settled.IsSettled(line + 1));
  }
  EXPECT_FALSE(settled.IsSettled(1));
  EXPECT_FALSE(settled.IsSettled(199999));
  EXPECT_FALSE(settled.IsSettled(1 << 30)) << "far past what was grown";
  settled.Settle(-5);
  EXPECT_FALSE(settled.IsSettled(-5));
}

}  // namespace
