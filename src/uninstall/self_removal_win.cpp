#include <windows.h>

#include "support/system.h"
#include "support/text.h"
#include "uninstall/script_text.h"
#include "uninstall/uninstall.h"

namespace {

const char kScriptName[] = "Uninstall_Kvx.Bat";

bool ToOemCodePage(const char* ansi, char* oem, int size) {
  WCHAR wide[config::kPathSize];
  if (MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, ansi, -1, wide, config::kPathSize) == 0)
    return false;
  // No best fit: a look-alike character could name another file.
  BOOL usedDefault = FALSE;
  int written = WideCharToMultiByte(CP_OEMCP, WC_NO_BEST_FIT_CHARS, wide, -1, oem, size, nullptr,
                                    &usedDefault);
  if (written == 0 && GetLastError() == ERROR_INVALID_FLAGS) {
    usedDefault = FALSE;
    written = WideCharToMultiByte(CP_OEMCP, 0, wide, -1, oem, size, nullptr, &usedDefault);
  }
  return written > 0 && !usedDefault;
}

// The interpreter reads a batch file in the OEM code page. A path with a
// character the OEM code page lacks is tried in its short form.
bool ToScriptPath(const char* ansi, char* oem, int size) {
  if (GetACP() == GetOEMCP()) return CopyText(oem, size, ansi);
  if (ToOemCodePage(ansi, oem, size)) return true;
  char shortPath[config::kPathSize];
  const DWORD got = GetShortPathNameA(ansi, shortPath, sizeof(shortPath));
  return got > 0 && got < sizeof(shortPath) && ToOemCodePage(shortPath, oem, size);
}

}  // namespace

void WriteSelfRemovalScript() {
  char script[config::kPathSize];
  const DWORD tempLength = GetTempPathA(sizeof(script), script);
  if (tempLength == 0 || tempLength >= sizeof(script)) return;
  if (!AppendBackslash(script, sizeof(script)) ||
      !AppendWhole(script, sizeof(script), kScriptName))
    return;

  char program[config::kPathSize];
  char folder[config::kPathSize];
  char scriptInScript[config::kPathSize];
  if (!ToScriptPath(UninstallProgramPath, program, sizeof(program)) ||
      !ToScriptPath(UninstallFolder, folder, sizeof(folder)) ||
      !ToScriptPath(script, scriptInScript, sizeof(scriptInScript)))
    return;
  const bool ntFamily = NtMajorVersion() != 0;
  static char text[config::kScriptSize];
  const int length =
      BuildSelfRemovalScript(text, sizeof(text), ntFamily, program, folder, scriptInScript);
  if (length < 0) return;

  HANDLE file = CreateFileA(script, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  const BOOL wrote = WriteFile(file, text, static_cast<DWORD>(length), &written, nullptr);
  CloseHandle(file);
  // A script cut short could stop anywhere; it is not run.
  if (!wrote || written != static_cast<DWORD>(length)) {
    DeleteFileA(script);
    return;
  }

  // Without an interpreter nothing starts; the script, program and folder stay.
  char interpreter[config::kPathSize] = "";
  const DWORD interpreterLength =
      GetEnvironmentVariableA("COMSPEC", interpreter, sizeof(interpreter));
  if (interpreterLength == 0 || interpreterLength >= sizeof(interpreter)) return;
  char commandLine[config::kCommandLineSize] = "";
  if (!AppendWhole(commandLine, sizeof(commandLine), interpreter) ||
      !AppendWhole(commandLine, sizeof(commandLine), " /c \"") ||
      !AppendWhole(commandLine, sizeof(commandLine), script) ||
      !AppendWhole(commandLine, sizeof(commandLine), "\""))
    return;

  STARTUPINFOA startup;
  ZeroMemory(&startup, sizeof(startup));
  startup.cb = sizeof(startup);
  HANDLE nul = INVALID_HANDLE_VALUE;
  if (ntFamily) {
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
  } else {
    // A detached interpreter of the 9x family needs standard handles.
    nul = CreateFileA("NUL", GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS, 0, nullptr);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = nul;
    startup.hStdOutput = nul;
    startup.hStdError = nul;
  }
  // The folder must not stay in use as the new process's current directory.
  SetCurrentDirectoryA("..");
  PROCESS_INFORMATION info;
  if (CreateProcessA(nullptr, commandLine, nullptr, nullptr, TRUE, ntFamily ? 0 : DETACHED_PROCESS,
                     nullptr, nullptr, &startup, &info)) {
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
  }
  if (nul != INVALID_HANDLE_VALUE) CloseHandle(nul);
}
