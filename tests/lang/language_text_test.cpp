// The language file's message section: marker search, escapes and line ends,
// the sorted line index, key lookup and the translation copy.
#include <gtest/gtest.h>

#include "common/code_page.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "lang/language_file.h"
#include "support/text.h"

namespace {

using namespace std::string_literals;

const char kHeader[] = "***messages***\r\n";
const unsigned char kGuard = 0xA5;

// The key by the plain rule, computed bit by bit, independent of the code
// under test.
std::string Key(char kind, const std::string& context, const std::string& text) {
  uint32_t crc = 0xFFFFFFFFu;
  const std::string bytes = std::string(1, kind) + context + text;
  for (unsigned char b : bytes) {
    crc ^= b;
    for (int k = 0; k < 8; ++k) crc = (crc & 1) ? (crc >> 1) ^ 0xEDB88320u : crc >> 1;
  }
  char hex[16];
  std::snprintf(hex, sizeof(hex), "%08x", static_cast<unsigned>(~crc));
  return hex;
}

std::string StringKey(const std::string& text) { return Key('s', "", text); }

std::string Entry(const std::string& key, const std::string& translation) {
  return key + "=\"" + translation + "\"\r\n";
}

std::unique_ptr<LanguageResources> Load(const std::string& bytes) {
  auto resources = std::make_unique<LanguageResources>();
  EXPECT_TRUE(resources->LoadSectionFromBytes(bytes.data(), static_cast<int>(bytes.size())));
  return resources;
}

// Translates into a destination of `size` bytes followed by guard bytes, and
// checks that the result is terminated inside the destination and that no
// byte after it was touched.
std::string Translate(const LanguageResources& resources, const char* text,
                      const char* context = nullptr, TextKind kind = TextKind::String,
                      int size = 512) {
  std::vector<unsigned char> buffer(static_cast<size_t>(size) + 64, kGuard);
  char* destination = reinterpret_cast<char*>(buffer.data());
  resources.TranslateText(destination, size, text, context, kind);
  for (size_t i = static_cast<size_t>(size); i < buffer.size(); ++i) {
    if (buffer[i] != kGuard) {
      ADD_FAILURE() << "byte " << i << " after a destination of " << size << " bytes written";
      break;
    }
  }
  if (std::memchr(destination, '\0', static_cast<size_t>(size)) == nullptr) {
    ADD_FAILURE() << "no terminator within " << size << " bytes";
    return std::string(destination, static_cast<size_t>(size));
  }
  return destination;
}

// A section whose line at `lineOffset` is `line`, padded with comment lines
// in front; the whole is cut or extended by the caller.
std::string SectionWithLineAt(int lineOffset, const std::string& line) {
  std::string bytes = kHeader;
  while (static_cast<int>(bytes.size()) < lineOffset) {
    const int room = lineOffset - static_cast<int>(bytes.size());
    const std::string padding = "; padding line with no entry in it\r\n";
    if (room > static_cast<int>(padding.size())) {
      bytes += padding;
    } else {
      bytes += std::string(static_cast<size_t>(room - 1), ';') + "\n";
    }
  }
  return bytes + line;
}

TEST(MakeKey, KeysOfKindContextAndText) {
  const struct {
    const char* name;
    const char* text;
    const char* context;
    TextKind kind;
    const char* expected;
  } cases[] = {
      {"string without context", "Hello", nullptr, TextKind::String, "0d87a053"},
      {"dialog scale entry", "", "SETUPDLG", TextKind::Dialog, "9b889d24"},
      {"right-to-left probe", "LTR", "LTR", TextKind::Dialog, "50a17ae8"},
      {"empty context is no context", "Hello", "", TextKind::String, "0d87a053"},
      {"empty text of kind s is the byte s", "", nullptr, TextKind::String, "1b0ecf0b"},
      {"empty text, empty context", "", "", TextKind::String, "1b0ecf0b"},
      {"third kind", "", nullptr, TextKind::Other, "a4deae1d"},
      {"context and text only concatenate", "LTRLTR", nullptr, TextKind::Dialog, "50a17ae8"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    char key[16];
    std::memset(key, kGuard, sizeof(key));
    LanguageResources::MakeKey(key, c.text, c.context, c.kind);
    EXPECT_STREQ(c.expected, key);
    EXPECT_EQ(static_cast<char>(kGuard), key[9]) << "only the key and its terminator are written";
  }
}

TEST(MakeKey, MatchesTheReferenceForManyTexts) {
  const char kinds[] = {'s', '$', '@'};
  for (int i = 0; i < 300; ++i) {
    const std::string text = "text " + std::to_string(i * 7919) + std::string(i % 23, '\xE9');
    const std::string context = (i % 3) ? "DLG" + std::to_string(i) : "";
    const TextKind kind = static_cast<TextKind>(i % 3);
    char key[16];
    LanguageResources::MakeKey(key, text.c_str(), context.empty() ? nullptr : context.c_str(), kind);
    ASSERT_EQ(Key(kinds[i % 3], context, text), key) << "text " << text;
  }
}

TEST(FindMarker, EdgesOfTheBlock) {
  const struct {
    const char* name;
    std::string block;
    int expected;
  } cases[] = {
      {"14 bytes hold the marker but are too short", "***messages***", -1},
      {"16 bytes", "***messages***\r\n", 0},
      {"two trailing asterisks suffice", "***messages**\r\n\r\n", 0},
      {"two leading asterisks do not", "**messages***\r\n\r\n\r\n", -1},
      {"first of two offsets", "****messages***\r\n", 1},
      {"uppercase is another word", "***MESSAGES***\r\n\r\n", -1},
      {"NUL bytes before it", "\0\0;x\0***messages***\r\n"s, 5},
      {"last offset examined", std::string(20, 'a') + "***messages**" + "abc", 20},
      {"marker in the last 15 bytes", std::string(20, 'a') + "***messages**" + "ab", -1},
      {"marker ends the block", std::string(20, 'a') + "***messages***", -1},
      {"empty block", "", -1},
      {"broken word", "***messagse***\r\n", -1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    // Copied into a block of exactly its length, so ASan sees any read past it.
    std::vector<char> block(c.block.begin(), c.block.end());
    EXPECT_EQ(c.expected, LanguageResources::FindMarker(block.data(), static_cast<int>(block.size())));
  }
}

TEST(LanguageSection, EscapesAreResolved) {
  const struct {
    const char* name;
    std::string written;  // between the quotes in the file
    std::string expected;
  } cases[] = {
      {"double quote", R"(a\"b)", "a\"b"},
      {"backslash", R"(a\\b)", "a\\b"},
      {"line feed", R"(a\nb)", "a\nb"},
      {"carriage return", R"(a\rb)", "a\rb"},
      {"tab", R"(a\tb)", "a\tb"},
      {"other letter stays two characters", R"(a\qb)", "a\\qb"},
      {"uppercase N is no escape", R"(a\Nb)", "a\\Nb"},
      {"escaped backslash before the closing quote", R"(dir\\)", "dir\\"},
      {"backslash then escape", R"(\\\n)", "\\\n"},
      {"all of them", R"(\"\\\n\r\t\")", "\"\\\n\r\t\""},
      {"lone backslash then quote text", R"(x\ y)", "x\\ y"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    auto resources = Load(kHeader + Entry(StringKey("Hello"), c.written) + "; end\r\n");
    EXPECT_EQ(c.expected, Translate(*resources, "Hello"));
  }
}

TEST(LanguageSection, TrailingBackslashAndNulEndTheSection) {
  const struct {
    const char* name;
    std::string bytes;
    std::string expected;
  } cases[] = {
      {"backslash is the last byte", "***messages***\r\nab\\", "***messages***\f\fab\\"},
      {"backslash before NUL", "***messages***\nab\\\0\\n"s, "***messages***\fab\\"},
      {"NUL ends the section", "***messages***\nab\0cd\n"s, "***messages***\fab"},
      {"escaped quote at the end", "***messages***\n\\\"", "***messages***\f\""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    auto resources = Load(c.bytes);
    EXPECT_EQ(c.expected, std::string(resources->SectionText()));
    EXPECT_EQ(static_cast<int>(c.expected.size()), resources->SectionLength());
  }
}

TEST(LanguageSection, AnyMixOfLineEndsSeparatesLines) {
  const char* const ends[] = {"\r", "\n", "\f", "\r\n", "\n\r", "\r\r\n\f", "\f\n\n\r"};
  std::string bytes = "***messages***";
  std::string expected = "***messages***";
  for (int i = 0; i < 7; ++i) {
    const std::string end = ends[i];
    const std::string entry = StringKey("text " + std::to_string(i)) + "=\"line " +
                              std::to_string(i) + "\"";
    bytes += end + entry;
    expected += std::string(end.size(), '\f') + entry;
  }
  bytes += "\r\n";
  expected += "\f\f";
  auto resources = Load(bytes);
  EXPECT_EQ(expected, std::string(resources->SectionText()));
  EXPECT_EQ(7, resources->IndexCount());
  for (int i = 0; i < 7; ++i) {
    SCOPED_TRACE(ends[i]);
    const std::string text = "text " + std::to_string(i);
    EXPECT_EQ("line " + std::to_string(i), Translate(*resources, text.c_str()));
    EXPECT_GE(resources->FindEntry(StringKey(text).c_str()), 0);
  }
}

TEST(LanguageSection, EscapedLineFeedStaysInsideItsText) {
  auto resources = Load(kHeader + Entry(StringKey("Two lines"), R"(one\ntwo)") +
                        Entry(StringKey("After"), "after"));
  EXPECT_EQ(2, resources->IndexCount());
  EXPECT_EQ("one\ntwo", Translate(*resources, "Two lines"));
  EXPECT_EQ("after", Translate(*resources, "After"));
}

TEST(LanguageSection, IndexSkipsLineZeroAndTheLastEightBytes) {
  const struct {
    const char* name;
    std::string bytes;
    int count;
  } cases[] = {
      {"marker only", "***messages***", 0},
      {"marker and line ends", "***messages***\r\n\r\n\f", 0},
      {"an entry on line 0", "0d87a053=\"Hallo\"\r\n", 0},
      {"line starting 9 bytes before the end", "M\n123456789", 1},
      {"line starting 8 bytes before the end", "M\n12345678", 0},
      {"line starting 8 bytes before the end, after others", "M\nfirst line\n12345678", 1},
      {"empty lines are no lines", "M\n\n\r\n\f\fabcdefghij\r\r\n", 1},
      {"three lines", "M\na-long-line\nb-long-line\nc-long-line\n", 3},
      {"section starts with a line end", "\nabcdefghij\n", 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    auto resources = Load(c.bytes);
    EXPECT_EQ(c.count, resources->IndexCount());
  }
}

TEST(LanguageSection, IndexCapacityFollowsTheArrayGrowth) {
  const struct {
    int lines;
    int capacity;
  } cases[] = {{0, 0}, {1, 32}, {32, 32}, {33, 72}, {73, 122}, {123, 184}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.lines);
    std::string bytes = kHeader;
    for (int i = 0; i < c.lines; ++i) bytes += "line " + std::to_string(1000 + i) + "\r\n";
    auto resources = Load(bytes);
    EXPECT_EQ(c.lines, resources->IndexCount());
    EXPECT_EQ(c.capacity, resources->IndexCapacity());
  }
}

// Many entries in random order: the binary search finds every one of them at
// its own line, and nothing for keys that are absent.
TEST(LanguageSection, BinarySearchFindsEveryEntry) {
  std::mt19937 random(99u);
  std::vector<std::string> texts;
  for (int i = 0; i < 700; ++i) texts.push_back("Message " + std::to_string(random()));
  std::string bytes = kHeader;
  std::vector<int> offsets;
  for (const auto& text : texts) {
    if (random() % 4 == 0) bytes += "; a comment line between entries\r\n";
    offsets.push_back(static_cast<int>(bytes.size()));
    bytes += Entry(StringKey(text), "T:" + text);
  }
  auto resources = Load(bytes);
  ASSERT_EQ(static_cast<int>(bytes.size()), resources->SectionLength());
  for (size_t i = 0; i < texts.size(); ++i) {
    const std::string key = StringKey(texts[i]);
    ASSERT_EQ(offsets[i], resources->FindEntry(key.c_str())) << texts[i];
    ASSERT_EQ(offsets[i], resources->ScanEntries(key.c_str())) << texts[i];
    ASSERT_EQ("T:" + texts[i], Translate(*resources, texts[i].c_str())) << texts[i];
  }
  for (const char* absent : {"00000000", "ffffffff", "7fffffff", "80000000"}) {
    SCOPED_TRACE(absent);
    EXPECT_EQ(-1, resources->FindEntry(absent));
    EXPECT_EQ(-1, resources->ScanEntries(absent));
  }
  EXPECT_EQ("Not there", Translate(*resources, "Not there"));
}

TEST(LanguageSection, BlankWhereTheEqualsSignBelongs) {
  auto resources = Load(kHeader + std::string("0d87a053 \"Hallo\"\r\n"));
  EXPECT_EQ(static_cast<int>(sizeof(kHeader) - 1), resources->FindEntry("0d87a053"));
  EXPECT_EQ(-1, resources->ScanEntries("0d87a053"));
  EXPECT_EQ("Hallo", Translate(*resources, "Hello"));
}

TEST(LanguageSection, EntryOnLineZeroIsFoundOnlyByTheScan) {
  auto resources = Load("0d87a053=\"Hallo\"\r\n");
  EXPECT_EQ(-1, resources->FindEntry("0d87a053"));
  EXPECT_EQ(0, resources->ScanEntries("0d87a053"));
  EXPECT_EQ("Hallo", Translate(*resources, "Hello"));
}

TEST(LanguageSection, EndOfTheTranslation) {
  const struct {
    const char* name;
    std::string line;  // the entry line from the key on
    std::string expected;
  } cases[] = {
      {"well formed", R"(0d87a053="Hallo")" "\r\n", "Hallo"},
      {"comment after the closing quote", R"(0d87a053="Hallo" ; greeting)" "\r\n", "Hallo"},
      {"escaped quotes inside", R"(0d87a053="say \"hi\" now")" "\r\n", "say \"hi\" now"},
      {"a further quote after the closing one", R"(0d87a053="Hallo" ; "x)" "\r\n",
       "Hallo\" ; "},
      {"missing closing quote, another line follows", "0d87a053=\"Hallo\r\nnext line\r\n",
       "Hallo\f"},
      {"missing closing quote, line ends gathered", "0d87a053=\"Hallo\r\n\r\n\fnext\r\n",
       "Hallo\f"},
      {"missing closing quote on the last line", "0d87a053=\"Hallo", "Hallo"},
      {"empty translation", "0d87a053=\"\"\r\n", ""},
      // Only the key is compared; the translation still starts at byte 10.
      {"no equals sign or quote", "0d87a053=Hallo\r\n", "allo\f"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    auto resources = Load(kHeader + c.line);
    EXPECT_EQ(c.expected, Translate(*resources, "Hello"));
  }
}

TEST(LanguageSection, DuplicateKeysGiveEitherTranslation) {
  std::string bytes = kHeader;
  for (int i = 0; i < 40; ++i) bytes += Entry(StringKey("filler " + std::to_string(i)), "f");
  bytes += Entry(StringKey("Hello"), "one") + Entry(StringKey("Hello"), "two");
  auto resources = Load(bytes);
  const std::string result = Translate(*resources, "Hello");
  EXPECT_TRUE(result == "one" || result == "two") << result;
}

TEST(LanguageSection, UppercaseKeyNeverMatches) {
  // The key of "Hello" contains the letters d and a.
  auto resources = Load(kHeader + Entry("0D87A053", "Hallo") + "0D87A053=\"Hallo\"");
  EXPECT_EQ("Hello", Translate(*resources, "Hello"));
  EXPECT_EQ(-1, resources->FindEntry("0d87a053"));
  EXPECT_EQ(-1, resources->ScanEntries("0d87a053"));
}

TEST(LanguageSection, DialogEntriesUseKindAndContext) {
  auto resources = Load(kHeader + Entry("9b889d24", "120*110") + Entry(Key('$', "SETUPDLG", "OK"), "Gut") +
                        Entry(Key('s', "", "OK"), "Okay"));
  EXPECT_EQ("120*110", Translate(*resources, "", "SETUPDLG", TextKind::Dialog));
  EXPECT_EQ("Gut", Translate(*resources, "OK", "SETUPDLG", TextKind::Dialog));
  EXPECT_EQ("Okay", Translate(*resources, "OK"));
  EXPECT_EQ("Okay", Translate(*resources, "OK", ""));
  EXPECT_EQ("OK", Translate(*resources, "OK", "DONEDLG", TextKind::Dialog));
  EXPECT_EQ("OK", Translate(*resources, "OK", nullptr, TextKind::Other));
}

TEST(LanguageSection, OnlyTheFirst65536BytesAreLoaded) {
  const int kSection = 65536;
  // The entry line starts `room` bytes before the limit and runs past it.
  const struct {
    const char* name;
    int room;
    std::string translation;
    std::string expected;
  } cases[] = {
      {"cut entry yields 255 bytes", 1000, std::string(3000, 'x'), std::string(255, 'x')},
      {"cut entry close to the limit", 110, std::string(3000, 'x'), std::string(100, 'x')},
      {"quote within the 255 bytes", 1000, "abc\"" + std::string(3000, 'y'), "abc"},
      {"quote after the 255 bytes", 1000, std::string(300, 'x') + "\"" + std::string(3000, 'z'),
       std::string(255, 'x')},
      {"last quote within the 255 bytes", 1000,
       std::string(100, 'x') + "\"" + std::string(100, 'w') + "\"" + std::string(3000, 'z'),
       std::string(100, 'x') + "\"" + std::string(100, 'w')},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string line = StringKey("Hello") + "=\"" + c.translation + "\"\r\n";
    std::string bytes = SectionWithLineAt(kSection - c.room, line);
    bytes += Entry(StringKey("Beyond"), "beyond");
    ASSERT_GT(bytes.size(), static_cast<size_t>(kSection));
    auto resources = Load(bytes);
    EXPECT_EQ(kSection, resources->SectionLength());
    EXPECT_EQ(c.expected, Translate(*resources, "Hello"));
    EXPECT_EQ("Beyond", Translate(*resources, "Beyond"));
  }
}

TEST(LanguageSection, TenMegabytesAreCutToTheSection) {
  std::string bytes = kHeader + Entry(StringKey("Hello"), "Hallo");
  bytes += std::string(10 * 1024 * 1024, 'a');
  bytes += Entry(StringKey("Late"), "late");
  auto resources = Load(bytes);
  EXPECT_EQ(65536, resources->SectionLength());
  EXPECT_EQ("Hallo", Translate(*resources, "Hello"));
  EXPECT_EQ("Late", Translate(*resources, "Late"));
}

// A key followed directly by the section's end is matched by the binary
// search; whatever lies in the buffer past the terminator must not appear.
TEST(LanguageSection, KeyAtTheEndNeverReadsPastTheTerminator) {
  const struct {
    const char* name;
    std::string bytes;
  } cases[] = {
      {"key and one byte", "M\n0d87a053x"},
      {"key and equals sign", "M\n0d87a053="},
      {"key, equals sign, quote", "M\n0d87a053=\""},
      {"key and a line end", "M\n0d87a053\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const size_t size = 65536 + 1024;
    char* buffer = static_cast<char*>(std::malloc(size));
    ASSERT_NE(nullptr, buffer);
    std::memset(buffer, 'Z', size);
    buffer[size - 1] = '"';
    std::memcpy(buffer, c.bytes.data(), c.bytes.size());
    LanguageResources resources;
    resources.AdoptSection(buffer, static_cast<int>(c.bytes.size()));
    EXPECT_EQ(2, resources.FindEntry("0d87a053"));
    const std::string result = Translate(resources, "Hello");
    EXPECT_EQ("", result);
  }
}

TEST(LanguageSection, FailedReadLeavesAnEmptyLoadedSection) {
  LanguageResources resources;
  char* buffer = static_cast<char*>(std::malloc(65536 + 1024));
  ASSERT_NE(nullptr, buffer);
  std::memset(buffer, 'Q', 65536 + 1024);
  resources.AdoptSection(buffer, -1);
  EXPECT_TRUE(resources.IsLoaded());
  EXPECT_EQ(0, resources.SectionLength());
  EXPECT_EQ(0, resources.IndexCount());
  EXPECT_STREQ("", resources.SectionText());
  EXPECT_EQ("Hello", Translate(resources, "Hello"));
  EXPECT_FALSE(resources.FileAsksRightToLeft());
}

TEST(LanguageSection, AdoptingAgainReplacesTheIndex) {
  LanguageResources resources;
  std::string first = kHeader;
  for (int i = 0; i < 50; ++i) first += Entry(StringKey("first " + std::to_string(i)), "one");
  ASSERT_TRUE(resources.LoadSectionFromBytes(first.data(), static_cast<int>(first.size())));
  const std::string second = kHeader + Entry(StringKey("Hello"), "Hallo");
  ASSERT_TRUE(resources.LoadSectionFromBytes(second.data(), static_cast<int>(second.size())));
  EXPECT_EQ(1, resources.IndexCount());
  EXPECT_EQ("Hallo", Translate(resources, "Hello"));
  EXPECT_EQ("first 7", Translate(resources, "first 7"));
}

TEST(RightToLeft, OnlyTheExactAnswerRTL) {
  const struct {
    const char* name;
    std::string bytes;
    bool expected;
  } cases[] = {
      {"RTL", kHeader + Entry("50a17ae8", "RTL"), true},
      {"rtl", kHeader + Entry("50a17ae8", "rtl"), false},
      {"RTL with a blank", kHeader + Entry("50a17ae8", "RTL "), false},
      {"LTR", kHeader + Entry("50a17ae8", "LTR"), false},
      {"no entry", kHeader + Entry("0d87a053", "Hallo"), false},
      {"empty section", "", false},
      {"RTL, missing closing quote on the last line", kHeader + std::string("50a17ae8=\"RTL"), true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    auto resources = Load(c.bytes);
    EXPECT_EQ(c.expected, resources->FileAsksRightToLeft());
  }
  LanguageResources nothingLoaded;
  EXPECT_FALSE(nothingLoaded.FileAsksRightToLeft());
}

TEST(TranslateText, WithoutSectionOrEntryTheTextItself) {
  LanguageResources nothingLoaded;
  EXPECT_FALSE(nothingLoaded.IsLoaded());
  auto loaded = Load(kHeader + Entry(StringKey("Hello"), "Hallo"));
  const LanguageResources* const objects[] = {&nothingLoaded, loaded.get()};
  for (const LanguageResources* resources : objects) {
    SCOPED_TRACE(resources->IsLoaded() ? "loaded" : "not loaded");
    EXPECT_EQ("Goodbye", Translate(*resources, "Goodbye"));
    EXPECT_EQ("", Translate(*resources, ""));
    EXPECT_EQ("Good", Translate(*resources, "Goodbye", nullptr, TextKind::String, 5));
    EXPECT_EQ("", Translate(*resources, "Goodbye", nullptr, TextKind::String, 1));
  }
}

TEST(TranslateText, InPlace) {
  auto resources = Load(kHeader + Entry(StringKey("Hello"), "Hallo, Welt"));
  const struct {
    const char* text;
    const char* expected;
  } cases[] = {{"Hello", "Hallo, Welt"}, {"Goodbye", "Goodbye"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    char buffer[512];
    std::snprintf(buffer, sizeof(buffer), "%s", c.text);
    resources->TranslateText(buffer, sizeof(buffer), buffer, nullptr, TextKind::String);
    EXPECT_STREQ(c.expected, buffer);
  }
}

TEST(TranslateText, ZeroSizeWritesNothing) {
  auto resources = Load(kHeader + Entry(StringKey("Hello"), "Hallo"));
  unsigned char buffer[8];
  std::memset(buffer, kGuard, sizeof(buffer));
  resources->TranslateText(reinterpret_cast<char*>(buffer), 0, "Hello", nullptr, TextKind::String);
  for (unsigned char b : buffer) EXPECT_EQ(kGuard, b);
}

// Translations longer than the destination are cut to it, always terminated,
// and cut on a character boundary in a double-byte code page.
TEST(TranslateText, LongTranslationIsCutToTheDestination) {
  const std::string pairs = [] {
    std::string s = "ab";
    for (int i = 0; i < 1500; ++i) s += "\xB1\xA1";
    return s;
  }();
  const std::string plain = [] {
    std::string s;
    for (int i = 0; i < 3000; ++i) s += static_cast<char>('a' + i % 26);
    return s;
  }();
  const struct {
    const char* name;
    bool doubleByte;
    std::string translation;
    int size;
    std::string expected;
  } cases[] = {
      {"3000 bytes into 512", false, plain, 512, plain.substr(0, 511)},
      {"3000 bytes into 1024", false, plain, 1024, plain.substr(0, 1023)},
      {"3000 bytes into 2", false, plain, 2, plain.substr(0, 1)},
      {"3000 bytes into 1", false, plain, 1, ""},
      {"exactly fits", false, plain.substr(0, 511), 512, plain.substr(0, 511)},
      {"double-byte characters into 512", true, pairs, 512, pairs.substr(0, 510)},
      {"double-byte characters into 1024", true, pairs, 1024, pairs.substr(0, 1022)},
      {"same bytes, single-byte code page", false, pairs, 512, pairs.substr(0, 511)},
      {"double-byte character would leave one byte", true, pairs, 4, "ab"},
      {"inner quotes survive the cut", false, "He said \\\"hi\\\" " + plain, 512,
       ("He said \"hi\" " + plain).substr(0, 511)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    CodePage codePage(c.doubleByte);
    auto resources = Load(kHeader + Entry(StringKey("Hello"), c.translation) + "; next\r\n");
    EXPECT_EQ(c.expected, Translate(*resources, "Hello", nullptr, TextKind::String, c.size));
  }
}

TEST(TranslateText, DoubleByteTextsPassUnchanged) {
  CodePage doubleByte(true);
  // Trail bytes with the values of a backslash and a double quote.
  const std::string translation = "\xB1\x5C\xB1\x22x";
  auto resources = Load(kHeader + StringKey("Hello") + "=\"" + translation + "\"\r\n");
  EXPECT_EQ(translation, Translate(*resources, "Hello"));
}

// Malformed sections of every kind: nothing is read or written out of bounds
// (ASan), every result is terminated within its destination.
TEST(LanguageSectionBadInput, EdgeShapes) {
  const std::string formFeeds(65536, '\f');
  const std::string nuls(65536, '\0');
  const std::string backslashes(70000, '\\');
  const std::string quotes(70000, '"');
  const std::string keyLines = [] {
    std::string s;
    while (s.size() < 70000) s += "0d87a053\f";
    return s;
  }();
  const std::string openEntries = [] {
    std::string s;
    while (s.size() < 70000) s += "\n50a17ae8=\"" + std::string(300, 'R');
    return s;
  }();
  const struct {
    const char* name;
    std::string bytes;
  } cases[] = {
      {"empty", ""},
      {"only form feeds", formFeeds},
      {"only NUL bytes", nuls},
      {"only backslashes", backslashes},
      {"only quotes", quotes},
      {"bare keys", keyLines},
      {"open entries", openEntries},
      {"one byte", "\f"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    auto resources = Load(c.bytes);
    EXPECT_TRUE(resources->IsLoaded());
    EXPECT_LE(resources->SectionLength(), 65536);
    EXPECT_EQ(resources->SectionLength(),
              static_cast<int>(std::strlen(resources->SectionText())));
    for (int size : {1, 2, 16, 512, 1024}) {
      Translate(*resources, "Hello", nullptr, TextKind::String, size);
      Translate(*resources, "LTR", "LTR", TextKind::Dialog, size);
    }
    resources->FileAsksRightToLeft();
  }
}

TEST(LanguageSectionBadInput, OnlyFormFeedsHoldNoLines) {
  auto resources = Load(std::string(65536, '\f'));
  EXPECT_EQ(65536, resources->SectionLength());
  EXPECT_EQ(0, resources->IndexCount());
  EXPECT_EQ("Hello", Translate(*resources, "Hello"));
}

TEST(LanguageSectionBadInput, RandomBytes) {
  std::mt19937 random(4242u);
  // Bytes that matter to the parser, mixed with arbitrary ones.
  const std::string interesting = "\\\"=\r\n\f\t0123456789abcdef0d87a05350a17ae8nrt";
  const std::vector<std::string> keys = {StringKey("Hello"), Key('$', "LTR", "LTR"),
                                         StringKey("")};
  for (int round = 0; round < 120; ++round) {
    SCOPED_TRACE(round);
    const size_t length = random() % 3 == 0 ? random() % 70000 : random() % 600;
    std::string bytes;
    while (bytes.size() < length) {
      const unsigned r = random() % 16;
      if (r < 6) bytes += static_cast<char>(random());
      else if (r < 14) bytes += interesting[random() % interesting.size()];
      else bytes += keys[random() % keys.size()] + "=\"";
    }
    auto resources = Load(bytes);
    ASSERT_EQ(resources->SectionLength(), static_cast<int>(std::strlen(resources->SectionText())));
    for (int size : {1, 3, 64, 512}) {
      Translate(*resources, "Hello", nullptr, TextKind::String, size);
      Translate(*resources, "", nullptr, TextKind::String, size);
      Translate(*resources, "LTR", "LTR", TextKind::Dialog, size);
    }
    for (const auto& key : keys) {
      const char* text = resources->SectionText();
      const int found = resources->FindEntry(key.c_str());
      if (found >= 0) {
        EXPECT_EQ(0, std::strncmp(text + found, key.c_str(), 8));
      }
      const int scanned = resources->ScanEntries(key.c_str());
      if (scanned >= 0) {
        EXPECT_EQ(0, std::strncmp(text + scanned, key.c_str(), 8));
        EXPECT_TRUE(scanned == 0 || text[scanned - 1] == '\f');
        // An entry past line 0 is in the index, so the binary search sees it.
        if (scanned > 0) {
          EXPECT_GE(found, 0) << key;
        }
      }
    }
  }
}

}  // namespace
