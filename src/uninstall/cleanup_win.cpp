#include <windows.h>
#include <shlobj.h>

#include "registry/registry.h"
#include "setup/setup_options.h"
#include "shell/associations.h"
#include "shell/shell_extension.h"
#include "shell/shortcuts.h"
#include "uninstall/uninstall.h"

// Every apply operation, called with all flags off, removes what it creates.
// The order matters: the associations are given back from the previous owners
// saved under the settings key, so that key goes last.
void RemoveSystemIntegration() {
  SetupOptions options;
  ZeroMemory(&options, sizeof(options));
  SetAssociations(options);
  SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_FLUSH, nullptr, nullptr);
  SetShellExtension(options);
  SetShortcuts(options, nullptr);
  DeleteRegTree(HKEY_CLASSES_ROOT, "Kelvox");
  DeleteRegTree(HKEY_CLASSES_ROOT, "Kelvox.ZIP");
  DeleteRegTree(HKEY_CLASSES_ROOT, "Kelvox.REV");
  DeleteRegTree(HKEY_CLASSES_ROOT, ".rev");
  DeleteRegKey(HKEY_LOCAL_MACHINE,
               "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Kelvox archiver");
  DeleteRegKey(HKEY_LOCAL_MACHINE,
               "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\Kelvox.exe");
  DeleteRegTree(HKEY_CURRENT_USER, "");
}
