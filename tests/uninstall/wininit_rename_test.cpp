// Adding NUL=<name> lines to the [Rename] section of wininit.ini.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "uninstall/wininit_rename.h"

namespace {

std::string Add(const std::string& before, const char* value, int capacity = 4096) {
  std::vector<char> text(capacity + 4, '#');
  std::copy(before.begin(), before.end(), text.begin());
  text[before.size()] = '\0';
  int length = static_cast<int>(before.size());
  const bool added = AddRenameEntry(text.data(), &length, capacity, value);
  EXPECT_EQ(std::string(4, '#'), std::string(text.data() + capacity, 4)) << "past the buffer";
  if (!added) {
    EXPECT_EQ(before, std::string(text.data(), length));
    return "refused";
  }
  EXPECT_EQ('\0', text[length]);
  return std::string(text.data(), length);
}

TEST(AddRenameEntry, KeepsEveryLineAndAddsOne) {
  struct Case {
    const char* name;
    std::string before;
    std::string after;
  };
  const Case cases[] = {
      {"no file yet", "", "[Rename]\r\nNUL=C:\\A.TMP\r\n"},
      {"other program's entry kept",
       "[Rename]\r\nNUL=C:\\OTHER\\X.TMP\r\n",
       "[Rename]\r\nNUL=C:\\OTHER\\X.TMP\r\nNUL=C:\\A.TMP\r\n"},
      {"section before another",
       "[rename]\r\nNUL=C:\\X\r\n\r\n[Other]\r\nk=v\r\n",
       "[rename]\r\nNUL=C:\\X\r\n\r\nNUL=C:\\A.TMP\r\n[Other]\r\nk=v\r\n"},
      {"section after another",
       "[Other]\r\nNUL=keep\r\n[Rename]\r\nC:\\NEW=C:\\OLD\r\n",
       "[Other]\r\nNUL=keep\r\n[Rename]\r\nC:\\NEW=C:\\OLD\r\nNUL=C:\\A.TMP\r\n"},
      {"no section", "[Other]\r\nk=v\r\n", "[Other]\r\nk=v\r\n[Rename]\r\nNUL=C:\\A.TMP\r\n"},
      {"no line end at the end", "[Rename]\r\nNUL=C:\\X",
       "[Rename]\r\nNUL=C:\\X\r\nNUL=C:\\A.TMP\r\n"},
      {"no line end, other section", "[Other]\nk=v",
       "[Other]\nk=v\r\n[Rename]\r\nNUL=C:\\A.TMP\r\n"},
      {"header with blanks", "  [Rename]  \r\n[X]\r\n",
       "  [Rename]  \r\nNUL=C:\\A.TMP\r\n[X]\r\n"},
      {"look-alike header is not the section", "[Renamed]\r\n",
       "[Renamed]\r\n[Rename]\r\nNUL=C:\\A.TMP\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.after, Add(c.before, "C:\\A.TMP"));
  }
}

TEST(AddRenameEntry, SeveralRunsKeepEveryEntryInOrder) {
  std::string text = "[Rename]\r\nNUL=C:\\OTHER.TMP\r\n[Boot]\r\n";
  for (const char* value : {"C:\\K\\A.TMP", "C:\\K\\B.TMP", "C:\\K\\C.TMP"}) text = Add(text, value);
  EXPECT_EQ(
      "[Rename]\r\nNUL=C:\\OTHER.TMP\r\nNUL=C:\\K\\A.TMP\r\nNUL=C:\\K\\B.TMP\r\nNUL=C:\\K\\C.TMP\r\n"
      "[Boot]\r\n",
      text);
}

TEST(AddRenameEntry, RefusesWhatDoesNotFit) {
  const std::string before = "[Rename]\r\nNUL=C:\\X\r\n";  // 20 bytes
  const std::string line = "NUL=C:\\A.TMP\r\n";           // 14 bytes
  const int exact = static_cast<int>(before.size() + line.size()) + 1;
  EXPECT_EQ(before + line, Add(before, "C:\\A.TMP", exact));
  EXPECT_EQ("refused", Add(before, "C:\\A.TMP", exact - 1));
  EXPECT_EQ("refused", Add("", "C:\\A.TMP", 5));
}

}  // namespace
