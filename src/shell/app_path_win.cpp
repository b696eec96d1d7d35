#include "shell/app_path.h"

#include <windows.h>

#include "lang/local_strings.h"
#include "registry/registry.h"
#include "resources/resource_ids.h"
#include "support/config.h"
#include "support/text.h"

namespace {

const char kAppPathKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\Kelvox.exe";
const char kUninstallKey[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Kelvox archiver";

// The running program's file name; empty when it cannot be had whole.
void GetProgramPath(char* path, DWORD size) {
  const DWORD got = GetModuleFileNameA(nullptr, path, size);
  if (got == 0 || got >= size) path[0] = '\0';
}

}  // namespace

void RegisterAppPathFor(const char* programPath) {
  char mainProgram[config::kPathSize];
  if (!ComposeSiblingPath(programPath, "Kelvox.exe", mainProgram, sizeof(mainProgram))) return;
  // A path, not a command line: the shell reads it unquoted.
  SetRegString(HKEY_LOCAL_MACHINE, kAppPathKey, "", mainProgram);
  char folder[config::kPathSize];
  CopyText(folder, sizeof(folder), mainProgram);
  CutToFolder(folder);
  SetRegString(HKEY_LOCAL_MACHINE, kAppPathKey, "Path", folder);
}

void RegisterUninstallerFor(const char* programPath) {
  SetRegString(HKEY_LOCAL_MACHINE, kUninstallKey, "DisplayName",
               GetLocalString(IDS_DISPLAY_NAME));
  // Run with administrator rights: unquoted, C:\Program Files\... would let a
  // planted C:\Program.exe start instead.
  char command[config::kCommandSize];
  if (QuotePath(programPath, command, sizeof(command))) {
    SetRegString(HKEY_LOCAL_MACHINE, kUninstallKey, "UninstallString", command);
  }
}

void RegisterAppPath() {
  char program[config::kPathSize];
  GetProgramPath(program, sizeof(program));
  RegisterAppPathFor(program);
}

void RegisterUninstaller() {
  char program[config::kPathSize];
  GetProgramPath(program, sizeof(program));
  RegisterUninstallerFor(program);
}
