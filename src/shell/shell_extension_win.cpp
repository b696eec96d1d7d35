#include "shell/shell_extension.h"

#include <windows.h>

#include "registry/registry.h"
#include "shell/app_path.h"
#include "support/config.h"
#include "support/file.h"
#include "support/text.h"

namespace {

const char kClassId32[] = "{7A3C9E10-5B2D-4F61-9C07-2E8B4D6A1F30}";
const char kClassId64[] = "{7A3C9E10-5B2D-4F61-9C07-2E8B4D6A1F64}";

// Handler keys named by the class identifier itself, each with an empty default.
const char* const kOwnHandlerKeys[] = {
    "Kelvox\\shellex\\ContextMenuHandlers\\",     "Kelvox\\shellex\\PropertySheetHandlers\\",
    "Kelvox.ZIP\\shellex\\ContextMenuHandlers\\", "Kelvox.ZIP\\shellex\\PropertySheetHandlers\\",
    "exefile\\shellex\\PropertySheetHandlers\\",
};
// Keys of fixed names whose default value names the class; removed whole.
const char* const kDropHandlerKeys[] = {
    "Kelvox\\shellex\\DropHandler",
    "Kelvox.ZIP\\shellex\\DropHandler",
};
// Keys of fixed names whose default value names the class; only the value is
// removed.
const char* const kSharedHandlerKeys[] = {
    "*\\shellex\\ContextMenuHandlers\\Kelvox",     "Folder\\shellex\\ContextMenuHandlers\\Kelvox",
    "Folder\\shellex\\DragDropHandlers\\Kelvox",   "Drive\\shellex\\DragDropHandlers\\Kelvox",
    "Directory\\shellex\\ContextMenuHandlers\\Kelvox",
    "Directory\\shellex\\DragDropHandlers\\Kelvox",
};
const char kApprovedKey[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Shell Extensions\\Approved";

Wow64State g_wow64 = Wow64State::Undetermined;

// prefix + class identifier + suffix; false when it does not fit.
bool ComposeKey(char* key, int size, const char* prefix, const char* classId,
                const char* suffix) {
  key[0] = '\0';
  return AppendWhole(key, size, prefix) && AppendWhole(key, size, classId) &&
         AppendWhole(key, size, suffix);
}

// The CLSID entries, only for a module file that is really there.
void WriteClassKeys(const char* moduleName, const char* classKey, const char* serverKey) {
  char program[config::kPathSize];
  const DWORD got = GetModuleFileNameA(nullptr, program, sizeof(program));
  if (got == 0 || got >= sizeof(program)) return;
  char module[config::kPathSize];
  if (!ComposeSiblingPath(program, moduleName, module, sizeof(module))) return;
  if (!PathExists(module)) return;
  SetRegString(HKEY_CLASSES_ROOT, classKey, "", "Kelvox");
  SetRegString(HKEY_CLASSES_ROOT, serverKey, "", module);
  SetRegString(HKEY_CLASSES_ROOT, serverKey, "ThreadingModel", "Apartment");
}

}  // namespace

void RegisterShellModule(bool enable, const char* moduleName, const char* classId) {
  char classKey[config::kRegPathSize];
  char serverKey[config::kRegPathSize];
  const bool classKeysFit =
      ComposeKey(classKey, sizeof(classKey), "CLSID\\", classId, "") &&
      ComposeKey(serverKey, sizeof(serverKey), "CLSID\\", classId, "\\InProcServer32");
  char key[config::kRegPathSize];

  if (enable) {
    if (classKeysFit) WriteClassKeys(moduleName, classKey, serverKey);
    for (const char* prefix : kOwnHandlerKeys) {
      if (ComposeKey(key, sizeof(key), prefix, classId, "")) {
        SetRegString(HKEY_CLASSES_ROOT, key, "", "");
      }
    }
    for (const char* fixed : kDropHandlerKeys) SetRegString(HKEY_CLASSES_ROOT, fixed, "", classId);
    for (const char* fixed : kSharedHandlerKeys) {
      SetRegString(HKEY_CLASSES_ROOT, fixed, "", classId);
    }
    SetRegString(HKEY_LOCAL_MACHINE, kApprovedKey, classId, "Kelvox shell extension");
    return;
  }

  // Child before parent: the deletion is not recursive.
  if (classKeysFit) {
    DeleteRegKey(HKEY_CLASSES_ROOT, serverKey);
    DeleteRegKey(HKEY_CLASSES_ROOT, classKey);
  }
  for (const char* prefix : kOwnHandlerKeys) {
    if (ComposeKey(key, sizeof(key), prefix, classId, "")) DeleteRegKey(HKEY_CLASSES_ROOT, key);
  }
  for (const char* fixed : kDropHandlerKeys) DeleteRegKey(HKEY_CLASSES_ROOT, fixed);
  for (const char* fixed : kSharedHandlerKeys) DeleteRegValue(HKEY_CLASSES_ROOT, fixed, "");
  DeleteRegValue(HKEY_LOCAL_MACHINE, kApprovedKey, classId);
}

void SetShellExtension(const SetupOptions& options) {
  const bool enable = options.flags[setup_option::kShellIntegration] != 0;
  RegisterShellModule(enable, "kvxext.dll", kClassId32);
  // Second, so that the shared handler keys name the 64-bit module.
  if (IsWow64()) RegisterShellModule(enable, "kvxext64.dll", kClassId64);
}

bool IsWow64() {
  if (g_wow64 == Wow64State::Undetermined) {
    typedef BOOL(WINAPI * IsWow64ProcessFunction)(HANDLE, PBOOL);
    // Looked up at run time: systems before XP SP2 lack it.
    HMODULE kernel = GetModuleHandleA("kernel32");
    const IsWow64ProcessFunction query =
        kernel ? reinterpret_cast<IsWow64ProcessFunction>(
                     reinterpret_cast<void*>(GetProcAddress(kernel, "IsWow64Process")))
               : nullptr;
    BOOL answer = FALSE;
    if (query != nullptr && query(GetCurrentProcess(), &answer)) {
      g_wow64 = answer ? Wow64State::Yes : Wow64State::No;
    }
  }
  return g_wow64 == Wow64State::Yes;
}

Wow64State GetWow64State() { return g_wow64; }

void SetWow64State(Wow64State state) { g_wow64 = state; }
