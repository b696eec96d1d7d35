// The uninstall job of the real uninstall.exe, copied into scratch
// installation folders under C:\kvxtest and run as a separate process.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "common/wine_helpers.h"
#include "resources/resource_ids.h"
#include "uninstall/uninstall_support.h"

using namespace testing_support;
using namespace uninstall_testing;

namespace {

std::string Oem(const std::string& ansi) {
  std::string oem(ansi.size() + 1, '\0');
  CharToOemA(ansi.c_str(), &oem[0]);
  oem.resize(ansi.size());
  return oem;
}

std::string DoublePercent(const std::string& path) {
  std::string out;
  for (char c : path) out += c == '%' ? std::string("%%") : std::string(1, c);
  return out;
}

// The script as the interpreter must find it: OEM bytes, every % doubled.
std::string ExpectedScript(bool ntFamily, const std::string& program, const std::string& folder,
                           const std::string& script) {
  const std::string m = "\"" + DoublePercent(Oem(program)) + "\"";
  const std::string d = "\"" + DoublePercent(Oem(folder)) + "\"";
  const std::string p = "\"" + DoublePercent(Oem(script)) + "\"";
  std::string text = (ntFamily ? "" : "start /wait ") + m + " /wait\r\n";
  for (int i = 0; i < 5; ++i) {
    text += "del " + m + "\r\nrd " + d + "\r\nif not exist " + m + " goto done\r\n";
  }
  return text + ":done\r\nif exist " + m + " " + m + " /warning\r\ndel " + p;
}

// Waits for the program's end; a program that shows a box it should not is
// ended, so that no test leaves it behind.
bool Ends(PROCESS_INFORMATION& info) {
  const bool ended = WaitForSingleObject(info.hProcess, 60000) == WAIT_OBJECT_0;
  if (!ended) {
    const MessageBoxSeen box = CloseMessageBox(info.dwProcessId, 1000);
    ADD_FAILURE() << "the program did not end; box: " << box.text;
    TerminateProcess(info.hProcess, 99);
  }
  CloseHandle(info.hProcess);
  return ended;
}

// Runs the program silently; no message box may appear.
void RunSilentlyWithoutBox(const Installation& installation) {
  PROCESS_INFORMATION info;
  ASSERT_TRUE(installation.Start(" /s", &info));
  Ends(info);
}

// Answers the program's confirmation with `answer`, and waits until the box
// is gone so that the next search cannot find it again.
bool Answer(DWORD processId, WPARAM answer, std::string* text) {
  HWND box = WaitForProcessWindow(processId, "#32770", 30000);
  if (!box) return false;
  for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    char className[64];
    GetClassNameA(child, className, sizeof(className));
    if (lstrcmpiA(className, "Static") == 0 && !WindowText(child).empty()) *text = WindowText(child);
  }
  PostMessageA(box, WM_COMMAND, answer, 0);
  for (int i = 0; i < 300 && IsWindow(box); ++i) Sleep(100);
  return !IsWindow(box);
}

const std::string kLongLine(5000, 'x');

TEST(Uninstall, RemovesARealInstallationInThePredictedPasses) {
  PendingRenames pending;
  Installation installation("uninstall-real", true);
  installation.AddFile("docs\\manual\\a.txt");
  installation.AddFile("docs\\readme.txt");
  installation.AddFile("Kelvox.exe");
  installation.AddFile("readonly.dat");
  SetFileAttributesA((installation / "readonly.dat").c_str(), FILE_ATTRIBUTE_READONLY);
  installation.AddFile("name with spaces.txt");
  installation.AddFile("last.txt");
  installation.AddFile("kelvox.gid");
  installation.AddFile("kelvox.fts");
  installation.AddFile("locked.bin");
  // Folders before their contents, blanks, blank lines, a 5000-byte line and
  // a last line without line end.
  installation.WriteList(
      "docs\r\n"
      "docs\\manual\r\n"
      "docs\\manual\\a.txt\r\n"
      "docs\\readme.txt \t \r\n"
      "\r\n"
      "  \t \r\n"
      "Kelvox.exe\n"
      "readonly.dat\r\n"
      "name with spaces.txt\t\r\n" +
      kLongLine +
      "\r\n"
      "locked.bin\r\n"
      "uninstall.exe\r\n"
      "Uninstall.lst\r\n"
      "last.txt");
  HeldFile locked(installation / "locked.bin");
  ASSERT_TRUE(locked.IsOpen());

  PROCESS_INFORMATION info;
  ASSERT_TRUE(installation.Start(" /s", &info));
  // locked.bin can be neither deleted nor renamed: the restart notice, in
  // silent mode too, after all passes and after the list is gone.
  const MessageBoxSeen box = CloseMessageBox(info.dwProcessId, 60000);
  ASSERT_TRUE(box.shown);
  EXPECT_EQ(ProgramString(installation.Program(), IDS_CAPTION), box.caption);
  EXPECT_EQ(ProgramString(installation.Program(), IDS_RESTART_NEEDED), box.text);
  EXPECT_TRUE(Ends(info)) << "a second box?";
  locked.Close();

  // docs waits for docs\manual, which waits for a.txt: three passes delete,
  // the fourth finds nothing. locked.bin is scheduled under its own name in
  // every pass.
  EXPECT_EQ(4, pending.Count(installation / "locked.bin"));
  EXPECT_EQ(4u, pending.Deletions().size());

  ASSERT_TRUE(installation.WaitForScript());
  // The folder stays for locked.bin; nothing else does.
  EXPECT_EQ(std::vector<std::string>{"locked.bin"}, TreeBelow(installation.Folder()));
}

TEST(Uninstall, RemovesProgramFolderAndScriptWhenEverythingIsGone) {
  // An accented folder name: the script must name it in the OEM code page.
  Installation installation("uninstall-caf\xE9 100% done", true);
  installation.AddFile("sub\\file.txt");
  installation.WriteList("sub\r\nsub\\file.txt\r\nuninstall.exe\r\nUninstall.lst\r\n");
  PROCESS_INFORMATION info;
  ASSERT_TRUE(installation.Start("", &info));
  std::string question;
  ASSERT_TRUE(Answer(info.dwProcessId, IDYES, &question));
  EXPECT_EQ(ProgramString(installation.Program(), IDS_CONFIRM), question);
  EXPECT_TRUE(Ends(info));

  ASSERT_TRUE(installation.WaitForScript());
  EXPECT_FALSE(Exists(installation.Program()));
  EXPECT_FALSE(Exists(installation.Folder()));
}

TEST(Uninstall, ScriptBytesAreExactlyTheSelfRemovalLines) {
  Installation installation("uninstall script 100%x \xE9t\xE9", false);
  installation.WriteList("");
  RunSilentlyWithoutBox(installation);
  const std::string script = ReadFileBytes(installation.Script());
  EXPECT_EQ(ExpectedScript(true, installation.Program(), installation.Folder(),
                           installation.Script()),
            script);
  // 0xE9 (e acute in 1252) is 0x82 in the OEM code page 437.
  EXPECT_EQ(std::string::npos, script.find('\xE9'));
  EXPECT_NE(std::string::npos, script.find("\\uninstall script 100%%x \x82t\x82"));
  // Without an interpreter nothing ran: the program stays, the list is gone.
  EXPECT_TRUE(Exists(installation.Program()));
  EXPECT_FALSE(Exists(installation / "Uninstall.lst"));
}

TEST(Uninstall, FileInUseIsRenamedAndScheduled) {
  PendingRenames pending;
  Installation installation("uninstall-in-use", false);
  const std::string dll = installation / "data.dll";
  ASSERT_TRUE(CopyFileA((TestFolder() + "..\\kvxlng.dll").c_str(), dll.c_str(), FALSE));
  installation.AddFile("data.dll.0.tmp", "older");
  installation.AddFile("deeper\\uninstall.exe", "another program");
  installation.WriteList("data.dll\r\ndeeper\\uninstall.exe\r\ndeeper\r\n");
  HMODULE loaded = LoadLibraryA(dll.c_str());
  ASSERT_NE(nullptr, loaded);
  HeldFile deeper(installation / "deeper\\uninstall.exe");
  ASSERT_TRUE(deeper.IsOpen());

  // Renamed files need no restart notice.
  RunSilentlyWithoutBox(installation);
  FreeLibrary(loaded);
  deeper.Close();

  EXPECT_FALSE(Exists(dll));
  EXPECT_EQ("older", ReadFileBytes(installation / "data.dll.0.tmp"));
  EXPECT_TRUE(Exists(installation / "data.dll.1.tmp"));
  EXPECT_EQ(std::vector<std::string>{installation / "data.dll.1.tmp"}, pending.Deletions());
  // A second uninstall.exe deeper in the tree is left for later, like the program.
  EXPECT_EQ("another program", ReadFileBytes(installation / "deeper\\uninstall.exe"));
}

TEST(Uninstall, AnswerNoChangesNothing) {
  Installation installation("uninstall-no", false);
  installation.AddFile("Kelvox.exe");
  installation.WriteList("Kelvox.exe\r\n");
  const std::vector<std::string> before = TreeBelow(installation.Folder());
  PROCESS_INFORMATION info;
  ASSERT_TRUE(installation.Start("", &info));
  std::string question;
  ASSERT_TRUE(Answer(info.dwProcessId, IDNO, &question));
  EXPECT_TRUE(Ends(info)) << "another box?";
  EXPECT_EQ(before, TreeBelow(installation.Folder()));
  EXPECT_FALSE(Exists(installation.Script()));
}

TEST(Uninstall, MissingListIsReportedAndChangesNothing) {
  for (const char* arguments : {" /s", ""}) {
    SCOPED_TRACE(arguments);
    Installation installation("uninstall-no-list", false);
    installation.AddFile("Kelvox.exe");
    installation.AddFile("kelvox.gid");
    const std::vector<std::string> before = TreeBelow(installation.Folder());
    PROCESS_INFORMATION info;
    ASSERT_TRUE(installation.Start(arguments, &info));
    if (*arguments == '\0') {
      std::string question;
      ASSERT_TRUE(Answer(info.dwProcessId, IDYES, &question));
    }
    const MessageBoxSeen box = CloseMessageBox(info.dwProcessId, 30000);
    EXPECT_TRUE(box.shown);
    EXPECT_EQ(ProgramString(installation.Program(), IDS_CAPTION), box.caption);
    std::string expected = ProgramString(installation.Program(), IDS_CANNOT_OPEN_LIST);
    expected.replace(expected.find("%s"), 2, "Uninstall.lst");
    EXPECT_EQ(expected, box.text);
    EXPECT_TRUE(Ends(info));
    EXPECT_EQ(before, TreeBelow(installation.Folder()));
    EXPECT_FALSE(Exists(installation.Script()));
  }
}

TEST(Uninstall, HostileListTouchesNothingOutside) {
  PendingRenames pending;
  ScratchFolder victims("uninstall-victims");
  const char* victimNames[] = {"a.txt", "b.txt", "c.txt", "d.txt", "e.txt", "f.txt", "held.txt"};
  for (const char* name : victimNames) WriteFileBytes(victims / name, "mine");
  HeldFile held(victims / "held.txt");
  const std::string victimsName = victims.Path().substr(std::string("C:\\kvxtest\\").size());

  Installation installation("uninstall-hostile", false);
  installation.AddFile("sub\\inside.txt");
  installation.AddFile("keep.txt");
  installation.WriteList(
      "..\\" + victimsName + "\\a.txt\r\n" +
      "sub\\..\\..\\" + victimsName + "\\b.txt\r\n" +
      victims.Path() + "\\c.txt\r\n" +
      "\\kvxtest\\" + victimsName + "\\d.txt\r\n" +
      "\\\\?\\" + victims.Path() + "\\e.txt\r\n" +
      "\\\\localhost\\C$\\kvxtest\\" + victimsName + "\\f.txt\r\n" +
      "C:..\\" + victimsName + "\\a.txt\r\n" +
      "...\\" + victimsName + "\\b.txt\r\n" +
      "..\\" + victimsName + "\\held.txt\r\n" +
      "..\\" + victimsName + "\r\n" +
      // Cut into 2047-byte pieces, this line's tail would name keep.txt.
      std::string(4094, 'y') + "keep.txt\r\n" +
      "sub\\inside.txt\r\n");
  RunSilentlyWithoutBox(installation);
  held.Close();

  for (const char* name : victimNames) {
    SCOPED_TRACE(name);
    EXPECT_EQ("mine", ReadFileBytes(victims / name));
  }
  EXPECT_TRUE(pending.Deletions().empty());
  EXPECT_TRUE(Exists(installation / "keep.txt"));
  EXPECT_FALSE(Exists(installation / "sub\\inside.txt"));
}

TEST(Uninstall, RefusesInADriveRoot) {
  // The drive root of the private prefix: a faulty run could only reach the
  // two files this test puts there.
  const std::string id = std::to_string(GetCurrentProcessId());
  const std::string program = "C:\\kvx-root-" + id + ".exe";
  const std::string marker = "C:\\kvx-root-marker-" + id + ".txt";
  ScratchFolder temp("uninstall-root-temp");
  ScopedEnvironment tmp("TMP", temp.Path().c_str());
  ScopedEnvironment comspec("COMSPEC", "C:\\kvxtest\\none\\cmd.exe");
  const bool hadList = Exists("C:\\Uninstall.lst");
  ASSERT_FALSE(hadList) << "C:\\Uninstall.lst is not this test's";
  ASSERT_TRUE(CopyFileA(ProgramUnderTest().c_str(), program.c_str(), FALSE));
  WriteFileBytes(marker, "mine");
  WriteFileBytes("C:\\Uninstall.lst", "kvx-root-marker-" + id + ".txt\r\n");

  EXPECT_EQ(0, RunAndWait(Quoted(program) + " /s", "C:\\", 30000));
  EXPECT_EQ("mine", ReadFileBytes(marker));
  EXPECT_TRUE(Exists("C:\\Uninstall.lst"));
  EXPECT_TRUE(Exists(program));
  EXPECT_FALSE(Exists(temp / "Uninstall_Kvx.Bat"));
  DeleteFileA("C:\\Uninstall.lst");
  DeleteFileA(marker.c_str());
  DeleteFileA(program.c_str());
}

TEST(Uninstall, NineXFamilyKeepsEveryWininitEntry) {
  // Wine reports the 9x family to this uniquely named copy only.
  const std::string programName = "kvx9x-" + std::to_string(GetCurrentProcessId()) + ".exe";
  const WineVersionOverride nineX(programName, "win98");
  ASSERT_TRUE(nineX.Ready());

  char windows[MAX_PATH];
  GetWindowsDirectoryA(windows, sizeof(windows));
  const std::string wininit = std::string(windows) + "\\wininit.ini";
  const bool hadWininit = Exists(wininit);
  const std::string savedWininit = ReadFileBytes(wininit);
  const std::string other = "[Rename]\r\nNUL=C:\\OTHER\\PROGRAM.TMP\r\n";
  WriteFileBytes(wininit, other);

  PendingRenames pending;
  {
    Installation installation("uninstall-9x", false, programName.c_str());
    const std::string languageModule = TestFolder() + "..\\kvxlng.dll";
    std::vector<HMODULE> loaded;
    for (const char* name : {"data1.dll", "data2.dll"}) {
      ASSERT_TRUE(CopyFileA(languageModule.c_str(), (installation / name).c_str(), FALSE));
      loaded.push_back(LoadLibraryA((installation / name).c_str()));
      ASSERT_NE(nullptr, loaded.back());
    }
    installation.WriteList("data1.dll\r\ndata2.dll\r\n");
    RunSilentlyWithoutBox(installation);
    for (HMODULE module : loaded) FreeLibrary(module);

    std::string expected = other;
    for (const char* name : {"data1.dll.0.tmp", "data2.dll.0.tmp"}) {
      SCOPED_TRACE(name);
      char shortName[MAX_PATH] = "";
      ASSERT_GT(GetShortPathNameA((installation / name).c_str(), shortName, sizeof(shortName)), 0u);
      expected += "NUL=" + std::string(shortName) + "\r\n";
    }
    EXPECT_EQ(expected, ReadFileBytes(wininit));
    EXPECT_TRUE(pending.Deletions().empty());
    EXPECT_EQ(ExpectedScript(false, installation.Program(), installation.Folder(),
                             installation.Script()),
              ReadFileBytes(installation.Script()));
  }

  if (hadWininit) WriteFileBytes(wininit, savedWininit);
  else DeleteFileA(wininit.c_str());
}

}  // namespace
