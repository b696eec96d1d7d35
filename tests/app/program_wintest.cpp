// The real uninstall.exe, run as a separate process from a scratch folder.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "common/wine_helpers.h"

using namespace testing_support;

namespace {

std::string Quoted(const std::string& s) { return "\"" + s + "\""; }

TEST(Program, WaitPausesTwoSecondsAndEndsWithZero) {
  ProgramCopy copy("program-wait");
  const DWORD start = GetTickCount();
  EXPECT_EQ(0, RunAndWait(Quoted(copy.Program()) + " /wait", copy.Folder()));
  const DWORD elapsed = GetTickCount() - start;
  EXPECT_GE(elapsed, 1900u);
  EXPECT_TRUE(Exists(copy.Program()));
}

TEST(Program, UnrecognisedSwitchesDoNothing) {
  ProgramCopy copy("program-switches");
  WriteFileBytes(copy / "Uninstall.lst", "kept.txt\r\n");
  WriteFileBytes(copy / "kept.txt", "x");
  const char* arguments[] = {"/sx", "\"C:\\my-files\"", "/", "-x"};
  for (const char* argument : arguments) {
    SCOPED_TRACE(argument);
    EXPECT_EQ(0, RunAndWait(Quoted(copy.Program()) + " " + argument, copy.Folder(), 20000));
    EXPECT_TRUE(Exists(copy / "kept.txt"));
    EXPECT_TRUE(Exists(copy / "Uninstall.lst"));
    EXPECT_TRUE(Exists(copy.Program()));
  }
}

TEST(Program, WarningShowsTheHandDeletionMessage) {
  ProgramCopy copy("program-warning");
  PROCESS_INFORMATION info;
  ASSERT_TRUE(StartProcess(Quoted(copy.Program()) + " /warning", copy.Folder(), &info));
  const MessageBoxSeen box = CloseMessageBox(info.dwProcessId, 20000);
  ASSERT_TRUE(box.shown) << "no message box appeared";

  // The caption is the program's own string 5104, as this code page shows it.
  char caption[512];
  HMODULE program = LoadLibraryExA(copy.Program().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(nullptr, program);
  ASSERT_GT(LoadStringA(program, 5104, caption, sizeof(caption)), 0);
  FreeLibrary(program);
  EXPECT_EQ(caption, box.caption);
  EXPECT_NE(std::string::npos, box.text.find(copy.Program())) << box.text;

  EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(info.hProcess, 20000));
  DWORD code = 99;
  GetExitCodeProcess(info.hProcess, &code);
  EXPECT_EQ(0u, code);
  CloseHandle(info.hProcess);
}

TEST(Program, WaitComesBeforeWarning) {
  ProgramCopy copy("program-wait-warning");
  PROCESS_INFORMATION info;
  const DWORD start = GetTickCount();
  ASSERT_TRUE(StartProcess(Quoted(copy.Program()) + " /wait /warning", copy.Folder(), &info));
  const MessageBoxSeen box = CloseMessageBox(info.dwProcessId, 20000);
  EXPECT_TRUE(box.shown);
  EXPECT_GE(GetTickCount() - start, 1900u);
  EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(info.hProcess, 20000));
  CloseHandle(info.hProcess);
}

}  // namespace
