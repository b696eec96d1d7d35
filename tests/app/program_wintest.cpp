// The real uninstall.exe, run as a separate process.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "common/wine_helpers.h"

using namespace testing_support;

namespace {

std::string Quoted(const std::string& s) { return "\"" + s + "\""; }

// What a run must never change: a file beside the program and the current folder.
class ProgramRun : public ::testing::Test {
 protected:
  ScratchFolder folder_{"program-run"};
};

TEST_F(ProgramRun, WaitPausesTwoSecondsAndEndsWithZero) {
  const DWORD start = GetTickCount();
  EXPECT_EQ(0, RunAndWait(Quoted(ProgramUnderTest()) + " /wait", folder_.Path()));
  const DWORD elapsed = GetTickCount() - start;
  EXPECT_GE(elapsed, 1900u);
  EXPECT_LT(elapsed, 20000u);
}

TEST_F(ProgramRun, UnrecognisedSwitchesDoNothing) {
  const std::string marker = folder_ / "Uninstall.lst";
  WriteFileBytes(marker, "kept.txt\r\n");
  WriteFileBytes(folder_ / "kept.txt", "x");
  const char* arguments[] = {"/sx", "\"C:\\my-files\"", "/", "-x"};
  for (const char* argument : arguments) {
    SCOPED_TRACE(argument);
    EXPECT_EQ(0, RunAndWait(Quoted(ProgramUnderTest()) + " " + argument, folder_.Path(), 20000));
    EXPECT_TRUE(Exists(folder_ / "kept.txt"));
    EXPECT_TRUE(Exists(marker));
  }
}

TEST_F(ProgramRun, WarningShowsTheHandDeletionMessage) {
  PROCESS_INFORMATION info;
  ASSERT_TRUE(StartProcess(Quoted(ProgramUnderTest()) + " /warning", folder_.Path(), &info));
  HWND box = WaitForProcessWindow(info.dwProcessId, "#32770", 20000);
  ASSERT_NE(nullptr, box) << "no message box appeared";

  // The caption is string 5104 of the program, as this code page shows it.
  char caption[512];
  HMODULE program = LoadLibraryExA(ProgramUnderTest().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(nullptr, program);
  ASSERT_GT(LoadStringA(program, 5104, caption, sizeof(caption)), 0);
  FreeLibrary(program);
  EXPECT_EQ(caption, WindowText(box));
  // The text names the program's own path.
  const std::string texts = ChildTexts(box);
  EXPECT_NE(std::string::npos, texts.find("uninstall.exe")) << texts;

  PostMessageA(box, WM_COMMAND, IDOK, 0);
  EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(info.hProcess, 20000));
  DWORD code = 99;
  GetExitCodeProcess(info.hProcess, &code);
  EXPECT_EQ(0u, code);
  CloseHandle(info.hProcess);
}

}  // namespace
