// What the uninstall tests share: a scratch installation with a private
// temporary folder, the interpreter switched on or off, and the delayed
// deletions the system recorded. Header only: every test program of the area
// includes it.
#pragma once

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "common/wine_helpers.h"

namespace uninstall_testing {

using testing_support::ScratchFolder;

inline std::string Quoted(const std::string& s) { return "\"" + s + "\""; }

// Sets an environment variable of this process (inherited by the program
// under test) and puts the old value back at the end.
class ScopedEnvironment {
 public:
  ScopedEnvironment(const char* name, const char* value) : name_(name) {
    char old[2048];
    const DWORD got = GetEnvironmentVariableA(name, old, sizeof(old));
    had_ = got > 0 && got < sizeof(old);
    if (had_) old_ = old;
    SetEnvironmentVariableA(name, value);
  }
  ~ScopedEnvironment() { SetEnvironmentVariableA(name_.c_str(), had_ ? old_.c_str() : nullptr); }
  ScopedEnvironment(const ScopedEnvironment&) = delete;
  ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

 private:
  std::string name_;
  std::string old_;
  bool had_ = false;
};

// PendingFileRenameOperations, where MoveFileExA records delayed deletions;
// saved at the start and put back at the end.
class PendingRenames {
 public:
  PendingRenames() {
    had_ = Read(&saved_);
    Write(nullptr);
  }
  ~PendingRenames() { Write(had_ ? &saved_ : nullptr); }
  PendingRenames(const PendingRenames&) = delete;
  PendingRenames& operator=(const PendingRenames&) = delete;

  // The names to be deleted at the next start (pairs with an empty new
  // name), as "C:\..." paths, in order.
  std::vector<std::string> Deletions() const {
    std::vector<BYTE> bytes;
    std::vector<std::string> names;
    if (!Read(&bytes)) return names;
    const WCHAR* p = reinterpret_cast<const WCHAR*>(bytes.data());
    const WCHAR* end = p + bytes.size() / sizeof(WCHAR);
    while (p < end && *p) {
      std::wstring from(p);
      p += from.size() + 1;
      std::wstring to = p < end ? std::wstring(p) : std::wstring();
      p += to.size() + 1;
      if (from.compare(0, 4, L"\\??\\") == 0) from.erase(0, 4);
      char ansi[2048];
      WideCharToMultiByte(CP_ACP, 0, from.c_str(), -1, ansi, sizeof(ansi), nullptr, nullptr);
      if (to.empty()) names.push_back(ansi);
    }
    return names;
  }
  int Count(const std::string& path) const {
    int n = 0;
    for (const std::string& name : Deletions()) n += lstrcmpiA(name.c_str(), path.c_str()) == 0;
    return n;
  }

 private:
  static constexpr const char* kKey = "System\\CurrentControlSet\\Control\\Session Manager";
  static bool Read(std::vector<BYTE>* bytes) {
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
      return false;
    DWORD size = 0;
    bool read = RegQueryValueExW(key, L"PendingFileRenameOperations", nullptr, nullptr, nullptr,
                                 &size) == ERROR_SUCCESS;
    if (read) {
      bytes->assign(size + 4, 0);
      read = RegQueryValueExW(key, L"PendingFileRenameOperations", nullptr, nullptr,
                              bytes->data(), &size) == ERROR_SUCCESS;
    }
    RegCloseKey(key);
    return read;
  }
  static void Write(const std::vector<BYTE>* bytes) {
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kKey, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return;
    if (bytes) {
      RegSetValueExW(key, L"PendingFileRenameOperations", 0, REG_MULTI_SZ, bytes->data(),
                     static_cast<DWORD>(bytes->size()));
    } else {
      RegDeleteValueW(key, L"PendingFileRenameOperations");
    }
    RegCloseKey(key);
  }

  std::vector<BYTE> saved_;
  bool had_ = false;
};

// A scratch installation: a copy of the program under test (named
// `programName`), a private temporary folder (with blanks and a %), and
// COMSPEC naming the real interpreter or, without `interpreter`, a missing
// file, so that the script is written but never runs.
class Installation {
 public:
  Installation(const char* name, bool interpreter, const char* programName = "uninstall.exe")
      : folder_(name),
        temp_((std::string(name) + " temp %x").c_str()),
        program_(folder_ / programName),
        tmp_("TMP", temp_.Path().c_str()),
        tempVariable_("TEMP", temp_.Path().c_str()),
        comspec_("COMSPEC", interpreter ? RealInterpreter().c_str() : "C:\\kvxtest\\none\\cmd.exe") {
    CopyFileA(testing_support::ProgramUnderTest().c_str(), program_.c_str(), FALSE);
  }
  const std::string& Folder() const { return folder_.Path(); }
  std::string operator/(const std::string& name) const { return folder_ / name; }
  const std::string& Program() const { return program_; }
  std::string Script() const { return temp_ / "Uninstall_Kvx.Bat"; }

  // Writes a file, creating the folders on its way.
  void AddFile(const std::string& relative, const std::string& bytes = "x") const {
    // By characters: a double-byte trail byte may have the value of a backslash.
    const char* start = relative.c_str();
    for (const char* p = start; *p; p = CharNextA(p)) {
      if (*p == '\\') {
        CreateDirectoryA((folder_ / std::string(start, p - start)).c_str(), nullptr);
      }
    }
    testing_support::WriteFileBytes(folder_ / relative, bytes);
  }
  void AddFolder(const std::string& relative) const {
    AddFile(relative + "\\placeholder", "");
    DeleteFileA((folder_ / relative + "\\placeholder").c_str());
  }
  void WriteList(const std::string& bytes) const { AddFile("Uninstall.lst", bytes); }

  // Starts the program with the arguments, from the installation folder.
  bool Start(const std::string& arguments, PROCESS_INFORMATION* info) const {
    return testing_support::StartProcess(Quoted(program_) + arguments, Folder(), info);
  }
  // Runs it to its end; the exit code, or -1 when it did not end in time.
  int Run(const std::string& arguments) const {
    return testing_support::RunAndWait(Quoted(program_) + arguments, Folder(), 60000);
  }
  // Waits until the self-removal script has deleted itself (a deadline, not
  // a measure: the script's first line alone pauses two seconds).
  bool WaitForScript() const {
    for (int i = 0; i < 600; ++i) {
      if (!testing_support::Exists(Script())) return true;
      Sleep(100);
    }
    return false;
  }

 private:
  static std::string RealInterpreter() {
    char system[MAX_PATH];
    GetSystemDirectoryA(system, sizeof(system));
    return std::string(system) + "\\cmd.exe";
  }

  ScratchFolder folder_;
  ScratchFolder temp_;
  std::string program_;
  ScopedEnvironment tmp_;
  ScopedEnvironment tempVariable_;
  ScopedEnvironment comspec_;
};

// Names of the files and folders below `folder`, relative, sorted.
inline void CollectTree(const std::string& folder, const std::string& prefix,
                        std::vector<std::string>* names) {
  WIN32_FIND_DATAA data;
  HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return;
  do {
    const std::string name = data.cFileName;
    if (name == "." || name == "..") continue;
    names->push_back(prefix + name);
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
      CollectTree(folder + "\\" + name, prefix + name + "\\", names);
  } while (FindNextFileA(find, &data));
  FindClose(find);
}
inline std::vector<std::string> TreeBelow(const std::string& folder) {
  std::vector<std::string> names;
  CollectTree(folder, "", &names);
  std::sort(names.begin(), names.end());
  return names;
}

// A file held open with share mode 0: it can be neither deleted nor renamed.
class HeldFile {
 public:
  explicit HeldFile(const std::string& path)
      : handle_(CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr)) {}
  ~HeldFile() { Close(); }
  HeldFile(const HeldFile&) = delete;
  HeldFile& operator=(const HeldFile&) = delete;
  void Close() {
    if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
    handle_ = INVALID_HANDLE_VALUE;
  }
  bool IsOpen() const { return handle_ != INVALID_HANDLE_VALUE; }

 private:
  HANDLE handle_;
};

// The program's own string, as this code page shows it.
inline std::string ProgramString(const std::string& program, UINT id) {
  char text[512] = "";
  HMODULE module = LoadLibraryExA(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (module) {
    LoadStringA(module, id, text, sizeof(text));
    FreeLibrary(module);
  }
  return text;
}

}  // namespace uninstall_testing
