#include "app/entry.h"

#include <ole2.h>

#include "app/messages.h"
#include "lang/language_file.h"
#include "lang/local_strings.h"
#include "resources/resource_ids.h"
#include "support/config.h"
#include "uninstall/uninstall.h"

bool SilentMode = false;
HICON ProgramIcon = nullptr;
HFONT DialogBoldFont = nullptr;
char ProgramGroupFolder[config::kPathSize] = "";

namespace {

class ProgramSwitchActions final : public SwitchActions {
 public:
  void Wait() override { Sleep(config::kWaitMilliseconds); }
  void Warning() override { ShowHandDeletionMessage(); }
};

}  // namespace

void ShowHandDeletionMessage() {
  char path[config::kPathSize];
  const DWORD got = GetModuleFileNameA(nullptr, path, sizeof(path));
  if (got == 0 || got >= sizeof(path)) path[0] = '\0';
  char ownFormat[config::kStringSize];
  GetOwnString(IDS_DELETE_BY_HAND, ownFormat, sizeof(ownFormat));
  char text[config::kStringSize];
  ComposeHandDeletionText(text, sizeof(text), GetLocalString(IDS_UNINSTALL_DONE),
                          GetLocalString(IDS_DELETE_BY_HAND), ownFormat, path);
  MessageBoxA(nullptr, text, GetLocalString(IDS_CAPTION), MB_SETFOREGROUND | MB_ICONINFORMATION);
}

int RunProgram(HINSTANCE instance, const char* arguments) {
  g_extResource.LoadModule(instance);
  g_languageResources.Init("uninstall.lng");
  OleInitialize(nullptr);
  HMODULE richEdit = LoadLibraryA("riched32.dll");
  ProgramIcon = LoadIconA(ResourceModule, "KVXICON");
  DialogBoldFont = CreateFontA(-12, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, 0, 0, 0, 0, 0,
                               "MS Sans Serif");

  ProgramSwitchActions actions;
  const SwitchScan scan = ScanSwitches(arguments, actions);
  if (scan.silent) SilentMode = true;
  if (scan.switchCount == 0) RunUninstall();

  if (richEdit) FreeLibrary(richEdit);
  OleUninitialize();
  if (DialogBoldFont) DeleteObject(DialogBoldFont);
  return 0;
}
