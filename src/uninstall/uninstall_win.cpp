#include "uninstall/uninstall.h"

#include <windows.h>

#include "app/entry.h"
#include "lang/local_strings.h"
#include "resources/resource_ids.h"
#include "support/file.h"
#include "support/format.h"
#include "support/system.h"
#include "support/text.h"
#include "uninstall/uninstall_list.h"
#include "uninstall/wininit_rename.h"

char UninstallProgramPath[config::kPathSize] = "";
char UninstallFolder[config::kPathSize] = "";

namespace {

const char kListName[] = "Uninstall.lst";

class FileSource final : public ByteSource {
 public:
  explicit FileSource(File& file) : file_(file) {}
  int Read(void* buffer, int count) override { return file_.ReadBytes(buffer, count); }
  void Rewind() override { file_.SetPosition(0); }

 private:
  File& file_;
};

struct UninstallRun {
  // The installation folder with its backslash: the prefix of every entry.
  char prefix[config::kPathSize];
  // A file in use could not even be renamed.
  bool restartNeeded;
};

void ShowUninstallBox(const char* text, UINT flags) {
  MessageBoxA(nullptr, text, GetLocalString(IDS_CAPTION), flags | MB_SETFOREGROUND);
}

// The 9x family keeps delayed deletions as NUL=<name> lines of [Rename] in
// wininit.ini. The profile call would replace an earlier NUL line, so the
// line is added to the file's text.
void AddWininitEntry(const char* name) {
  char profile[config::kPathSize];
  const UINT got = GetWindowsDirectoryA(profile, sizeof(profile));
  if (got == 0 || got >= sizeof(profile)) return;
  if (!AppendBackslash(profile, sizeof(profile)) ||
      !AppendWhole(profile, sizeof(profile), "wininit.ini"))
    return;
  // The system works through wininit.ini before long names exist.
  char shortName[config::kPathSize];
  const DWORD shortLength = GetShortPathNameA(name, shortName, sizeof(shortName));
  const char* value = (shortLength > 0 && shortLength < sizeof(shortName)) ? shortName : name;

  // The profile functions of the 9x family cache files: write it out first.
  WritePrivateProfileStringA(nullptr, nullptr, nullptr, profile);
  static char text[config::kWininitSize];
  HANDLE file = CreateFileA(profile, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  const DWORD size = GetFileSize(file, nullptr);
  DWORD read = 0;
  if (size < sizeof(text) && ReadFile(file, text, size, &read, nullptr) && read == size) {
    int length = static_cast<int>(size);
    text[length] = '\0';
    if (AddRenameEntry(text, &length, sizeof(text), value)) {
      DWORD written = 0;
      SetFilePointer(file, 0, nullptr, FILE_BEGIN);
      WriteFile(file, text, static_cast<DWORD>(length), &written, nullptr);
    }
  }
  CloseHandle(file);
}

// A file in use: out of the way under a free temporary name, deleted at the
// next start. The restart notice is needed only when even the rename fails.
void ScheduleDeleteAtRestart(const char* name, UninstallRun& run) {
  char temporary[config::kPathSize];
  bool formed = false;
  for (int i = 0; i < config::kTempNameTries; ++i) {
    formed = FormTempName(temporary, sizeof(temporary), name, i);
    if (!formed || !PathExists(temporary)) break;
  }
  const char* taken = name;
  if (formed && MoveFileA(name, temporary)) {
    taken = temporary;
  } else {
    run.restartNeeded = true;
  }
  if (NtMajorVersion() != 0) {
    MoveFileExA(taken, nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
  } else {
    AddWininitEntry(taken);
  }
}

// Passes over the list until one deletes nothing: a folder listed before its
// contents goes in the pass after the one that emptied it.
void DeleteListedEntries(ListLines& lines, UninstallRun& run) {
  const char* programName = NamePosition(UninstallProgramPath);
  char line[config::kListLineSize];
  char name[config::kPathSize];
  // A line whose entry is gone, or that can never be one, stays so: later
  // passes skip it instead of asking the file system again.
  SettledLines settled;
  for (;;) {
    int deleted = 0;
    bool whole = false;
    for (int number = 0; lines.Next(line, sizeof(line), &whole); ++number) {
      if (settled.IsSettled(number)) continue;
      if (!whole) {
        settled.Settle(number);
        continue;
      }
      TrimTrailingBlanks(line);
      // Anyone who can write the folder can edit the list: nothing outside
      // the folder, and no name cut to fit, is ever touched.
      if (line[0] == '\0' || !IsEntryInsideFolder(line) ||
          !FormEntryName(name, sizeof(name), run.prefix, line)) {
        settled.Settle(number);
        continue;
      }

      const DWORD attributes = GetFileAttributesA(name);
      SetFileAttributesA(name, 0);
      const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
      if (exists && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        if (RemoveDirectoryA(name)) {
          ++deleted;
          settled.Settle(number);
        }
        continue;
      }
      if (DeleteFileA(name)) {
        ++deleted;
        settled.Settle(number);
        continue;
      }
      if (!exists) continue;
      // The running program and the open list are deleted later, not scheduled.
      const char* entryName = NamePosition(name);
      if (CompareNoCase(entryName, programName) == 0 || CompareNoCase(entryName, kListName) == 0)
        continue;
      ScheduleDeleteAtRestart(name, run);
    }
    if (deleted == 0) break;
    lines.Rewind();
  }
}

void DeleteHelpIndex(const char* name) {
  SetFileAttributesA(name, 0);
  DeleteFileA(name);
}

}  // namespace

void RunUninstall() {
  UninstallFolder[0] = '\0';
  const DWORD got = GetModuleFileNameA(nullptr, UninstallProgramPath, sizeof(UninstallProgramPath));
  if (got == 0 || got >= sizeof(UninstallProgramPath)) {
    UninstallProgramPath[0] = '\0';
    return;
  }
  CopyText(UninstallFolder, sizeof(UninstallFolder), UninstallProgramPath);
  char* name = NamePosition(UninstallFolder);
  if (name == UninstallFolder || name[-1] != '\\') return;
  name[-1] = '\0';
  // In a drive root the list could name anything on the drive.
  if (IsRootFolder(UninstallFolder)) return;
  // Uninstall.lst and the help index are named relative to the folder.
  if (!SetCurrentDirectoryA(UninstallFolder)) return;

  UninstallRun run;
  run.restartNeeded = false;
  CopyText(run.prefix, sizeof(run.prefix), UninstallFolder);
  if (!AppendBackslash(run.prefix, sizeof(run.prefix))) return;

  if (!SilentMode &&
      MessageBoxA(nullptr, GetLocalString(IDS_CONFIRM), GetLocalString(IDS_CAPTION),
                  MB_YESNO | MB_ICONQUESTION | MB_SETFOREGROUND) != IDYES)
    return;

  File list;
  if (!list.OpenExisting(kListName)) {
    char ownFormat[config::kStringSize];
    GetOwnString(IDS_CANNOT_OPEN_LIST, ownFormat, sizeof(ownFormat));
    char text[config::kStringSize];
    FormatOneString(text, sizeof(text), GetLocalString(IDS_CANNOT_OPEN_LIST), ownFormat,
                    kListName);
    ShowUninstallBox(text, MB_ICONERROR);
    return;
  }

  RemoveSystemIntegration();
  // Strings from here on come from the program itself, still translated.
  g_extResource.Unload();
  DeleteHelpIndex("kelvox.gid");
  DeleteHelpIndex("kelvox.fts");

  FileSource source(list);
  ListLines lines(source);
  DeleteListedEntries(lines, run);
  list.CloseFile();
  DeleteFileA(kListName);

  if (run.restartNeeded) ShowUninstallBox(GetLocalString(IDS_RESTART_NEEDED), MB_ICONINFORMATION);
  WriteSelfRemovalScript();
}
