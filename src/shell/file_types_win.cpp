#include "shell/file_types.h"

#include <windows.h>
#include <shlobj.h>

#include "lang/local_strings.h"
#include "registry/registry.h"
#include "resources/resource_ids.h"
#include "support/config.h"
#include "support/text.h"

namespace {

void WriteFileTypeClass(const char* className, UINT descriptionId, const char* command,
                   const char* icon) {
  SetRegString(HKEY_CLASSES_ROOT, className, "", GetLocalString(descriptionId));
  char key[config::kRegPathSize];
  CopyText(key, sizeof(key), className);
  AppendText(key, sizeof(key), "\\shell\\open\\command");
  SetRegString(HKEY_CLASSES_ROOT, key, "", command);
  CopyText(key, sizeof(key), className);
  AppendText(key, sizeof(key), "\\DefaultIcon");
  // An icon chosen earlier, by us or by the user, stays.
  char current[config::kPathSize];
  GetRegString(HKEY_CLASSES_ROOT, key, "", current, "", sizeof(current));
  if (current[0] == '\0') SetRegString(HKEY_CLASSES_ROOT, key, "", icon);
}

}  // namespace

void RegisterFileTypes() {
  char program[config::kPathSize];
  const DWORD got = GetModuleFileNameA(nullptr, program, sizeof(program));
  if (got == 0 || got >= sizeof(program)) program[0] = '\0';
  *NamePosition(program) = '\0';
  AppendText(program, sizeof(program), "Kelvox.exe");

  // The program path is at most 1023 bytes; its additions fit the 32 spare.
  char command[config::kCommandSize];
  CopyText(command, sizeof(command), "\"");
  AppendText(command, sizeof(command), program);
  AppendText(command, sizeof(command), "\" \"%1\"");
  char archiveIcon[config::kCommandSize];
  CopyText(archiveIcon, sizeof(archiveIcon), program);
  AppendText(archiveIcon, sizeof(archiveIcon), ",0");
  char volumeIcon[config::kCommandSize];
  CopyText(volumeIcon, sizeof(volumeIcon), program);
  AppendText(volumeIcon, sizeof(volumeIcon), ",1");

  WriteFileTypeClass("Kelvox", IDS_ARCHIVE_TYPE, command, archiveIcon);
  WriteFileTypeClass("Kelvox.ZIP", IDS_ZIP_TYPE, command, archiveIcon);
  SetRegString(HKEY_CLASSES_ROOT, ".rev", "", "Kelvox.REV");
  WriteFileTypeClass("Kelvox.REV", IDS_RECOVERY_TYPE, command, volumeIcon);
  SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr);
}
