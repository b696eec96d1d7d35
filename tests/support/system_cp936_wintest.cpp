// Double-byte rules for real: Wine in code page 936, the table built at start-up.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>

#include "common/wine_helpers.h"
#include "support/file.h"
#include "support/system.h"
#include "support/text.h"

using namespace testing_support;

namespace {

// GBK 0x81 0x5C: a character whose trail byte has the value of a backslash.
const std::string kTrail5C = "\x81\x5C";

TEST(CodePage936, TableMatchesTheSystemCodePage) {
  ASSERT_EQ(936u, GetACP()) << "run with LANG=zh_CN.UTF-8";
  EXPECT_EQ(1, g_leadBytes.flags[256]);
  EXPECT_EQ(1, g_leadBytes.flags[0x81]);
  EXPECT_EQ(1, g_leadBytes.flags[0xFE]);
  EXPECT_EQ(0, g_leadBytes.flags[0x80]);
  EXPECT_EQ(0, g_leadBytes.flags[0x5C]);
  EXPECT_EQ(0, g_leadBytes.flags['A']);
}

TEST(CodePage936, TrailByteIsNeverASeparatorOnRealFiles) {
  ScratchFolder folder("cp936");
  // A folder whose name ends in the 0x5C trail byte, and a file inside it.
  const std::string dir = folder.Path() + "\\a" + kTrail5C;
  ASSERT_TRUE(CreateDirectoryA(dir.c_str(), nullptr)) << GetLastError();
  EXPECT_STREQ(("a" + kTrail5C).c_str(), NamePosition(dir.c_str()));

  char path[1024];
  std::strcpy(path, dir.c_str());
  ASSERT_TRUE(AppendBackslash(path, sizeof(path)));
  EXPECT_EQ(dir + "\\", path);
  ASSERT_TRUE(AppendWhole(path, sizeof(path), "f.txt"));
  WriteFileBytes(path, "x");
  EXPECT_TRUE(PathExists(path));
  CutToFolder(path);
  EXPECT_EQ(dir, path);
  EXPECT_TRUE(PathExists(path));
}

TEST(CodePage936, ProgramStringsAreTheirGbkBytes) {
  struct {
    UINT id;
    const char* bytes;
  } const strings[] = {
      {5101, "Kelvox \xd1\xb9\xcb\xf5\xce\xc4\xbc\xfe\xb9\xdc\xc0\xed\xc6\xf7"},
      {5104, "\xd0\xb6\xd4\xd8 Kelvox"},
      {5105, "\xd0\xb6\xd4\xd8\xd2\xd1\xcd\xea\xb3\xc9"},
      {5106, "\xc4\xe3\xd3\xa6\xb8\xc3\xca\xd6\xb6\xaf\xc9\xbe\xb3\xfd %s"},
      {5107, "\xc8\xb7\xca\xb5\xd2\xaa\xd0\xb6\xd4\xd8 Kelvox \xc2\xf0?"},
      {5114, "\xc4\xe3\xd0\xe8\xd2\xaa\xd6\xd8\xd0\xc2\xc6\xf4\xb6\xaf Windows "
             "\xc0\xb4\xcd\xea\xc8\xab\xd0\xb6\xd4\xd8 Kelvox\xa1\xa3"},
  };
  HMODULE program = LoadLibraryExA(ProgramUnderTest().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(nullptr, program);
  for (const auto& s : strings) {
    SCOPED_TRACE(s.id);
    char text[512];
    std::memset(text, 'G', sizeof(text));
    const int length = LoadStringA(program, s.id, text, sizeof(text));
    EXPECT_EQ(static_cast<int>(std::strlen(s.bytes)), length);
    EXPECT_STREQ(s.bytes, text);
  }
  FreeLibrary(program);
}

TEST(CodePage936, CompareNoCase) {
  EXPECT_EQ(0, CompareNoCase("uninstall.lst", "Uninstall.lst"));
  EXPECT_EQ(-1, CompareNoCase("a", "b"));
  EXPECT_EQ(1, CompareNoCase("b", "A"));
  EXPECT_EQ(0, CompareNoCase(("x" + kTrail5C).c_str(), ("X" + kTrail5C).c_str()));
}

}  // namespace
