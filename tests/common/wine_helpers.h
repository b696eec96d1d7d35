// Helpers shared by the tests that run under Wine.
#pragma once

#include <windows.h>

#include <string>

namespace testing_support {

// Folder of the running test program, with a trailing backslash.
std::string TestFolder();
// The uninstall.exe of the same build (one folder above the tests).
std::string ProgramUnderTest();

// A fresh folder under C:\kvxtest, removed with everything in it at the end.
class ScratchFolder {
 public:
  explicit ScratchFolder(const char* name);
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  // The folder's path without a trailing backslash.
  const std::string& Path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + "\\" + name; }

 private:
  std::string path_;
};

void WriteFileBytes(const std::string& path, const std::string& bytes);
std::string ReadFileBytes(const std::string& path);
void RemoveTree(const std::string& path);
bool Exists(const std::string& path);

// Starts a process; returns its handle and id (CloseHandle the handle).
bool StartProcess(const std::string& commandLine, const std::string& folder,
                  PROCESS_INFORMATION* info);
// Runs to the end; returns the exit code, or -1 when it did not end in time
// (the process is then killed).
int RunAndWait(const std::string& commandLine, const std::string& folder = "",
               DWORD timeoutMs = 60000);

// A top-level window of the process with the given class, waited for.
HWND WaitForProcessWindow(DWORD processId, const char* className, DWORD timeoutMs);
std::string WindowText(HWND window);
// Texts of all direct children of a window, joined by '|'.
std::string ChildTexts(HWND window);

}  // namespace testing_support

namespace testing_support {

// A scratch installation: a copy of uninstall.exe (and optionally other files)
// in a scratch folder, so that its siblings are exactly what a test puts there.
class ProgramCopy {
 public:
  explicit ProgramCopy(const char* name);
  const std::string& Folder() const { return folder_.Path(); }
  std::string Program() const { return folder_ / "uninstall.exe"; }
  std::string operator/(const std::string& name) const { return folder_ / name; }
  // Copies a file from the build folder (one above the tests) beside the program.
  void AddBuildFile(const char* name, const char* as = nullptr) const;

 private:
  ScratchFolder folder_;
};

// The window of a message box of the process, its caption and its text; the
// box is closed with OK afterwards.
struct MessageBoxSeen {
  bool shown = false;
  std::string caption;
  std::string text;
};
MessageBoxSeen CloseMessageBox(DWORD processId, DWORD timeoutMs);

}  // namespace testing_support

namespace testing_support {

// While this object lives, Wine presents the program file named `exeName`
// (a file name, no folder) as Windows `version`, e.g. "win98" or "win2k".
// The setting lives under the real HKEY_CURRENT_USER.
class WineVersionOverride {
 public:
  WineVersionOverride(const std::string& exeName, const char* version);
  ~WineVersionOverride();
  WineVersionOverride(const WineVersionOverride&) = delete;
  WineVersionOverride& operator=(const WineVersionOverride&) = delete;
  bool Ready() const { return ready_; }

 private:
  std::string key_;
  bool ready_ = false;
};

}  // namespace testing_support

namespace testing_support {

// While this object lives, strings come from the English language module of
// the build (loaded as data) as both the resource module and the program's
// own instance, so their texts are the same in every code page.
class EnglishStrings {
 public:
  EnglishStrings();
  ~EnglishStrings();
  EnglishStrings(const EnglishStrings&) = delete;
  EnglishStrings& operator=(const EnglishStrings&) = delete;
  bool Loaded() const { return module_ != nullptr; }

 private:
  HMODULE module_ = nullptr;
  HINSTANCE savedResource_ = nullptr;
  HINSTANCE savedInstance_ = nullptr;
};

}  // namespace testing_support
