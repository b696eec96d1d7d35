#include <windows.h>

#include <string>

#include "common/wine_helpers.h"

namespace testing_support {

std::string TestFolder() {
  char path[MAX_PATH];
  GetModuleFileNameA(nullptr, path, sizeof(path));
  std::string s(path);
  return s.substr(0, s.rfind('\\') + 1);
}

std::string ProgramUnderTest() {
  std::string folder = TestFolder();
  folder.pop_back();
  return folder.substr(0, folder.rfind('\\') + 1) + "uninstall.exe";
}

ScratchFolder::ScratchFolder(const char* name) {
  CreateDirectoryA("C:\\kvxtest", nullptr);
  path_ = std::string("C:\\kvxtest\\") + name + "-" + std::to_string(GetCurrentProcessId());
  RemoveTree(path_);
  CreateDirectoryA(path_.c_str(), nullptr);
}

ScratchFolder::~ScratchFolder() { RemoveTree(path_); }

void WriteFileBytes(const std::string& path, const std::string& bytes) {
  HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(h);
}

std::string ReadFileBytes(const std::string& path) {
  HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                         OPEN_EXISTING, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return std::string();
  std::string out;
  char buffer[65536];
  DWORD got = 0;
  while (ReadFile(h, buffer, sizeof(buffer), &got, nullptr) && got > 0) out.append(buffer, got);
  CloseHandle(h);
  return out;
}

bool Exists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void RemoveTree(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return;
  // Only ever below the scratch root: a fault here must not reach anything else.
  if (path.compare(0, 11, "C:\\kvxtest\\") != 0) return;
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((path + "\\*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
      do {
        const std::string name = data.cFileName;
        if (name != "." && name != "..") RemoveTree(path + "\\" + name);
      } while (FindNextFileA(find, &data));
      FindClose(find);
    }
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    RemoveDirectoryA(path.c_str());
  } else {
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(path.c_str());
  }
}

bool StartProcess(const std::string& commandLine, const std::string& folder,
                  PROCESS_INFORMATION* info) {
  STARTUPINFOA startup;
  ZeroMemory(&startup, sizeof(startup));
  startup.cb = sizeof(startup);
  std::string line = commandLine;
  const BOOL ok = CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr,
                                 folder.empty() ? nullptr : folder.c_str(), &startup, info);
  if (ok) CloseHandle(info->hThread);
  return ok != FALSE;
}

int RunAndWait(const std::string& commandLine, const std::string& folder, DWORD timeoutMs) {
  PROCESS_INFORMATION info;
  if (!StartProcess(commandLine, folder, &info)) return -2;
  DWORD code = static_cast<DWORD>(-1);
  if (WaitForSingleObject(info.hProcess, timeoutMs) == WAIT_OBJECT_0) {
    GetExitCodeProcess(info.hProcess, &code);
  } else {
    TerminateProcess(info.hProcess, 99);
    code = static_cast<DWORD>(-1);
  }
  CloseHandle(info.hProcess);
  return static_cast<int>(code);
}

namespace {
struct WindowSearch {
  DWORD processId;
  const char* className;
  HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM parameter) {
  WindowSearch* search = reinterpret_cast<WindowSearch*>(parameter);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  char className[256];
  GetClassNameA(window, className, sizeof(className));
  if (owner == search->processId && IsWindowVisible(window) &&
      lstrcmpiA(className, search->className) == 0) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}
}  // namespace

HWND WaitForProcessWindow(DWORD processId, const char* className, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  do {
    WindowSearch search = {processId, className, nullptr};
    EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
    if (search.found) return search.found;
    Sleep(50);
  } while (GetTickCount() - start < timeoutMs);
  return nullptr;
}

std::string WindowText(HWND window) {
  char text[2048];
  text[0] = '\0';
  GetWindowTextA(window, text, sizeof(text));
  return text;
}

std::string ChildTexts(HWND window) {
  std::string all;
  for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (!all.empty()) all += "|";
    all += WindowText(child);
  }
  return all;
}

}  // namespace testing_support

namespace testing_support {

namespace {
std::string BuildFolder() {
  std::string folder = TestFolder();
  folder.pop_back();
  return folder.substr(0, folder.rfind('\\') + 1);
}
}  // namespace

ProgramCopy::ProgramCopy(const char* name) : folder_(name) {
  CopyFileA(ProgramUnderTest().c_str(), Program().c_str(), FALSE);
}

void ProgramCopy::AddBuildFile(const char* name, const char* as) const {
  std::string source = BuildFolder() + name;
  if (!Exists(source)) source = TestFolder() + name;
  CopyFileA(source.c_str(), (folder_ / (as ? as : name)).c_str(), FALSE);
}

MessageBoxSeen CloseMessageBox(DWORD processId, DWORD timeoutMs) {
  MessageBoxSeen seen;
  HWND box = WaitForProcessWindow(processId, "#32770", timeoutMs);
  if (!box) return seen;
  seen.shown = true;
  seen.caption = WindowText(box);
  // The message is the static control that is not the icon.
  for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    char className[64];
    GetClassNameA(child, className, sizeof(className));
    const std::string text = WindowText(child);
    if (lstrcmpiA(className, "Static") == 0 && !text.empty()) seen.text = text;
  }
  PostMessageA(box, WM_COMMAND, IDOK, 0);
  return seen;
}

}  // namespace testing_support

namespace testing_support {

WineVersionOverride::WineVersionOverride(const std::string& exeName, const char* version)
    : key_("Software\\Wine\\AppDefaults\\" + exeName) {
  HKEY key;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, key_.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                      nullptr) != ERROR_SUCCESS)
    return;
  ready_ = RegSetValueExA(key, "Version", 0, REG_SZ, reinterpret_cast<const BYTE*>(version),
                          static_cast<DWORD>(lstrlenA(version) + 1)) == ERROR_SUCCESS;
  RegCloseKey(key);
}

WineVersionOverride::~WineVersionOverride() { RegDeleteKeyA(HKEY_CURRENT_USER, key_.c_str()); }

}  // namespace testing_support

#include "lang/local_strings.h"

namespace testing_support {

EnglishStrings::EnglishStrings()
    : module_(LoadLibraryExA((TestFolder() + "..\\kvxlng.dll").c_str(), nullptr,
                             LOAD_LIBRARY_AS_DATAFILE)),
      savedResource_(ResourceModule),
      savedInstance_(ProgramInstance) {
  if (module_) ResourceModule = ProgramInstance = module_;
}

EnglishStrings::~EnglishStrings() {
  ResourceModule = savedResource_;
  ProgramInstance = savedInstance_;
  if (module_) FreeLibrary(module_);
}

}  // namespace testing_support
