// The real program's /warning message under code page 936, with and without a
// language module and a language file beside it.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "common/wine_helpers.h"
#include "lang/language_file.h"

using namespace testing_support;

namespace {

const std::string kOwnCaption = "\xd0\xb6\xd4\xd8 Kelvox";
const std::string kOwnDone = "\xd0\xb6\xd4\xd8\xd2\xd1\xcd\xea\xb3\xc9";
const std::string kOwnDelete = "\xc4\xe3\xd3\xa6\xb8\xc3\xca\xd6\xb6\xaf\xc9\xbe\xb3\xfd %s";

std::string Entry(const std::string& text, const std::string& translation) {
  char key[16];
  LanguageResources::MakeKey(key, text.c_str(), nullptr, TextKind::String);
  return std::string(key) + "=\"" + translation + "\"\r\n";
}

std::string Replace(std::string format, const std::string& path) {
  return format.replace(format.find("%s"), 2, path);
}

MessageBoxSeen RunWarning(const ProgramCopy& copy) {
  PROCESS_INFORMATION info;
  if (!StartProcess("\"" + copy.Program() + "\" /warning", copy.Folder(), &info)) return {};
  MessageBoxSeen seen = CloseMessageBox(info.dwProcessId, 20000);
  WaitForSingleObject(info.hProcess, 20000);
  CloseHandle(info.hProcess);
  return seen;
}

struct WarningCase {
  const char* name;
  bool module;
  std::string languageFile;  // empty: none
  std::string caption;
  std::string firstLine;
  std::string secondLine;  // %s: the program's path
};

TEST(WarningMessage, StringsFromModuleAndFile) {
  ASSERT_EQ(936u, GetACP());
  const std::string file = "***messages***\r\n" + Entry(kOwnCaption, "Translated caption") +
                           Entry(kOwnDone, "Translated done");
  const WarningCase cases[] = {
      {"own strings", false, "", kOwnCaption, kOwnDone, kOwnDelete},
      {"module", true, "", "Uninstall Kelvox", "Uninstall complete", "You should delete %s by hand"},
      {"file translates own strings", false, file, "Translated caption", "Translated done", kOwnDelete},
      // With a language file the module's strings are not consulted.
      {"module and file", true, file, "Translated caption", "Translated done", kOwnDelete},
      {"hostile format falls back to own",
       false, "***messages***\r\n" + Entry(kOwnDelete, "%n%n%s%s"), kOwnCaption, kOwnDone, kOwnDelete},
      {"translated format with one %s",
       false, "***messages***\r\n" + Entry(kOwnDelete, "100%% gone? delete %s"), kOwnCaption, kOwnDone,
       "100% gone? delete %s"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ProgramCopy copy("warning936");
    if (c.module) copy.AddBuildFile("kvxlng.dll");
    if (!c.languageFile.empty()) WriteFileBytes(copy / "uninstall.lng", c.languageFile);
    const MessageBoxSeen box = RunWarning(copy);
    ASSERT_TRUE(box.shown);
    EXPECT_EQ(c.caption, box.caption);
    EXPECT_EQ(c.firstLine + "\n" + Replace(c.secondLine, copy.Program()), box.text);
  }
}

TEST(WarningMessage, LongTranslationIsCutNeverOverflowed) {
  // 480 bytes of double-byte text for the first line leave too little room
  // for the second line and the path.
  std::string longDone;
  for (int i = 0; i < 240; ++i) longDone += "\xd0\xb6";
  ProgramCopy copy("warning936-long");
  WriteFileBytes(copy / "uninstall.lng", "***messages***\r\n" + Entry(kOwnDone, longDone));
  const MessageBoxSeen box = RunWarning(copy);
  ASSERT_TRUE(box.shown);
  EXPECT_GT(box.text.size(), 480u);
  EXPECT_LE(box.text.size(), 511u);
  const std::string full = longDone + "\n" + Replace(kOwnDelete, copy.Program());
  EXPECT_EQ(full.substr(0, box.text.size()), box.text);
}

}  // namespace
