#include "shell/shortcuts.h"

#include <windows.h>
#include <shlobj.h>

#include <cstring>

#include "lang/local_strings.h"
#include "resources/resource_ids.h"
#include "shell/app_path.h"
#include "support/config.h"
#include "support/file.h"
#include "support/system.h"
#include "support/text.h"

namespace {

const char kLinkName[] = "Kelvox.lnk";
const char kGroupName[] = "Kelvox";
const char kLinkSuffix[] = ".lnk";
const char kMainProgram[] = "Kelvox.exe";

struct GroupLink {
  const char* target;  // in the program's folder; an empty name skips the row
  const char* name;
};
constexpr int kGroupLinkCount = 3;

// The path of a special folder. False, with `path` empty, when the shell gives
// no location or no path for it: a link must never land under the current
// folder instead.
bool GetSpecialFolder(int id, char* path, int size) {
  path[0] = '\0';
  IMalloc* allocator = nullptr;
  if (FAILED(SHGetMalloc(&allocator)) || allocator == nullptr) return false;
  bool found = false;
  LPITEMIDLIST list = nullptr;
  if (SHGetSpecialFolderLocation(nullptr, id, &list) == S_OK && list != nullptr) {
    char folder[MAX_PATH];
    if (SHGetPathFromIDListA(list, folder) && folder[0] != '\0') {
      found = CopyText(path, size, folder);
    }
    allocator->Free(list);
  }
  allocator->Release();
  if (!found) path[0] = '\0';
  return found;
}

// Creates the group folder and its links; each link is tried even when the
// folder could not be created.
void MakeGroup(const char* folder, const char* program, const GroupLink* links) {
  CreateDirectoryA(folder, nullptr);
  for (int i = 0; i < kGroupLinkCount; ++i) {
    if (links[i].target[0] == '\0') continue;
    char target[config::kPathSize];
    char link[config::kPathSize];
    if (!ComposeSiblingPath(program, links[i].target, target, sizeof(target))) continue;
    if (!ComposeChildPath(folder, links[i].name, link, sizeof(link))) continue;
    if (!AppendWhole(link, sizeof(link), kLinkSuffix)) continue;
    CreateShortcut(target, link, GetLocalString(IDS_LINK_DESCRIPTION));
  }
}

}  // namespace

bool CreateShortcut(const char* target, const char* linkPath, const char* description) {
  if (!IsFullPath(linkPath)) return false;
  // Fails for a path of more than 259 characters: the link is not made.
  WCHAR widePath[config::kLinkPathChars];
  if (MultiByteToWideChar(CP_ACP, 0, linkPath, -1, widePath, config::kLinkPathChars) == 0) {
    return false;
  }
  IShellLinkA* link = nullptr;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                              reinterpret_cast<void**>(&link)))) {
    return false;
  }
  link->SetPath(target);
  if (description != nullptr) link->SetDescription(description);
  bool saved = false;
  IPersistFile* file = nullptr;
  if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
    saved = SUCCEEDED(file->Save(widePath, TRUE));
    file->Release();
  }
  link->Release();
  return saved;
}

bool GetDesktopFolder(char* path, int size) {
  return GetSpecialFolder(CSIDL_DESKTOPDIRECTORY, path, size);
}

bool DeleteFolderTree(const char* folder) {
  // A drive root or a relative name is never handed to a recursive delete.
  if (!IsFullPath(folder) || *NamePosition(folder) == '\0') return false;
  if (!PathExists(folder)) return false;
  char list[config::kPathListSize];
  if (!CopyText(list, config::kPathSize, folder)) return false;
  list[std::strlen(list) + 1] = '\0';
  SHFILEOPSTRUCTA operation;
  ZeroMemory(&operation, sizeof(operation));
  operation.hwnd = nullptr;
  operation.wFunc = FO_DELETE;
  operation.pFrom = list;
  operation.pTo = nullptr;
  // No FOF_ALLOWUNDO: the group goes for good, not into the recycle bin.
  operation.fFlags = FOF_SILENT | FOF_NOCONFIRMATION;
  return SHFileOperationA(&operation) == 0;
}

void SetShortcuts(const SetupOptions& options, char* groupFolder) {
  char program[config::kPathSize];
  const DWORD got = GetModuleFileNameA(nullptr, program, sizeof(program));
  if (got == 0 || got >= sizeof(program)) program[0] = '\0';
  // Without a usable program path links are only removed, never made.
  char mainTarget[config::kPathSize];
  const bool canCreate = ComposeSiblingPath(program, kMainProgram, mainTarget, sizeof(mainTarget));

  char folder[config::kPathSize];
  char path[config::kPathSize];
  if (GetDesktopFolder(folder, sizeof(folder)) &&
      ComposeChildPath(folder, kLinkName, path, sizeof(path))) {
    if (!options.flags[setup_option::kDesktopLink]) {
      DeleteFileA(path);
    } else if (canCreate && !PathExists(path)) {
      // The user's own desktop link, wherever it points, is left alone.
      CreateShortcut(mainTarget, path, GetLocalString(IDS_LINK_DESCRIPTION));
    }
  }
  if (GetSpecialFolder(CSIDL_STARTMENU, folder, sizeof(folder)) &&
      ComposeChildPath(folder, kLinkName, path, sizeof(path))) {
    if (!options.flags[setup_option::kStartMenuLink]) {
      DeleteFileA(path);
    } else if (canCreate) {
      CreateShortcut(mainTarget, path, GetLocalString(IDS_LINK_DESCRIPTION));
    }
  }

  // Copied: the descriptions fetched later reuse the rotating string buffers.
  char helpName[config::kStringSize];
  char manualName[config::kStringSize];
  CopyText(helpName, sizeof(helpName), GetLocalString(IDS_HELP_LINK));
  CopyText(manualName, sizeof(manualName), GetLocalString(IDS_MANUAL_LINK));
  const GroupLink links[kGroupLinkCount] = {
      {kMainProgram, kGroupName}, {"Kelvox.hlp", helpName}, {"Kvx.txt", manualName}};
  const bool groupOn = options.flags[setup_option::kProgramGroup] != 0;

  if (GetSpecialFolder(CSIDL_PROGRAMS, folder, sizeof(folder)) &&
      ComposeChildPath(folder, kGroupName, path, sizeof(path))) {
    if (groupOn) {
      if (groupFolder != nullptr) CopyText(groupFolder, config::kPathSize, path);
      if (canCreate) MakeGroup(path, program, links);
    } else {
      DeleteFolderTree(path);
    }
  }
  if (NtMajorVersion() != 0 && GetSpecialFolder(CSIDL_COMMON_PROGRAMS, folder, sizeof(folder)) &&
      ComposeChildPath(folder, kGroupName, path, sizeof(path))) {
    if (!groupOn) {
      DeleteFolderTree(path);
    } else if (canCreate) {
      MakeGroup(path, program, links);
    }
  }
}
