#include "shell/associations.h"

#include <windows.h>

#include "registry/registry.h"
#include "shell/associations_groups.h"
#include "support/config.h"
#include "support/system.h"
#include "support/text.h"

using namespace associations;

namespace {

const char kOwnClass[] = "Kelvox";
const char kZipClass[] = "Kelvox.ZIP";
const char kContentType[] = "Content Type";
const char kFileName[] = "FileName";
const char kNullFile[] = "NullFile";
// Saved ShellNew text standing for "only a NullFile value".
const char kNullFileMark[] = "*";

// Systems before 4.90 (95, 98) read the template bytes from the registry;
// later ones want a file.
bool WantsTemplateFile() {
  OSVERSIONINFOA info;
  ZeroMemory(&info, sizeof(info));
  info.dwOSVersionInfoSize = sizeof(info);
  if (!GetVersionExA(&info)) return true;
  return info.dwMajorVersion > 4 || info.dwMinorVersion > 10;
}

// Writes the template beside the program unless a file is already there, and
// yields its path; false when the path does not fit.
bool PrepareTemplateFile(const char* name, const unsigned char* bytes, DWORD count, char* path,
                         int size) {
  const DWORD got = GetModuleFileNameA(nullptr, path, size);
  if (got == 0 || got >= static_cast<DWORD>(size)) return false;
  *NamePosition(path) = '\0';
  if (!AppendWhole(path, size, name)) return false;
  // CREATE_NEW: an existing file, whatever it holds, is never rewritten.
  HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                            nullptr);
  if (file != INVALID_HANDLE_VALUE) {
    DWORD written = 0;
    WriteFile(file, bytes, count, &written, nullptr);
    CloseHandle(file);
  }
  return true;
}

void RegisterTemplate(const char* newKey, bool ownFormat) {
  const unsigned char* bytes = ownFormat ? g_ownTemplate : g_zipTemplate;
  const DWORD count = ownFormat ? kOwnTemplateSize : kZipTemplateSize;
  DeleteRegKey(HKEY_CLASSES_ROOT, newKey);
  if (WantsTemplateFile()) {
    char path[config::kPathSize];
    // The value is written even when the file could not be created.
    if (PrepareTemplateFile(ownFormat ? "kvxnew.dat" : "zipnew.dat", bytes, count, path,
                            sizeof(path))) {
      SetRegString(HKEY_CLASSES_ROOT, newKey, kFileName, path);
    }
  } else {
    SetRegBinary(HKEY_CLASSES_ROOT, newKey, "Data", bytes, count);
  }
}

void SaveOwner(const char* extension, const char* newKey, const char* savedKey) {
  char type[config::kRegTextSize];
  char content[config::kRegTextSize];
  char fileName[config::kPathSize];
  char nullFile[config::kNullFileSize];
  GetRegString(HKEY_CLASSES_ROOT, extension, "", type, "", sizeof(type));
  GetRegString(HKEY_CLASSES_ROOT, extension, kContentType, content, "", sizeof(content));
  GetRegString(HKEY_CLASSES_ROOT, newKey, kFileName, fileName, "", sizeof(fileName));
  const bool hasNullFile =
      GetRegString(HKEY_CLASSES_ROOT, newKey, kNullFile, nullFile, "", sizeof(nullFile));
  SetRegDword(savedKey, "Exist", RegKeyExists(HKEY_CLASSES_ROOT, extension) ? 1 : 0);
  SetRegString(savedKey, "Type", type);
  SetRegString(savedKey, "Content", content);
  SetRegString(savedKey, "ShellNew",
               fileName[0] == '\0' && hasNullFile ? kNullFileMark : fileName);
}

void TakeOver(const char* extension, const char* newKey, const char* savedKey,
              bool shellIntegration, bool ownFormat, bool zip) {
  // Saved once, at the first take-over: later setups keep that record.
  if (!IsOwnedExtension(extension)) SaveOwner(extension, newKey, savedKey);
  SetRegString(HKEY_CLASSES_ROOT, extension, "", zip ? kZipClass : kOwnClass);
  DeleteRegValue(HKEY_CLASSES_ROOT, extension, kContentType);
  if (ownFormat) {
    const int volumes =
        NtMajorVersion() != 0 ? config::kVolumeExtensionsNt : config::kVolumeExtensions9x;
    for (int n = 0; n < volumes; ++n) {
      char volume[5];
      FormatVolumeExtension(n, volume);
      SetRegString(HKEY_CLASSES_ROOT, volume, "", kOwnClass);
      DeleteRegValue(HKEY_CLASSES_ROOT, volume, kContentType);
    }
  }
  if (shellIntegration && (zip || ownFormat)) RegisterTemplate(newKey, ownFormat);
}

void GiveBack(const char* extension, const char* newKey, const char* savedKey, bool ownFormat) {
  // Somebody else owns it now: not ours to change.
  if (!IsOwnedExtension(extension)) return;
  // A missing record counts as a key that existed with nothing in it.
  const bool existed = GetRegDword(savedKey, "Exist", 1) != 0;
  char type[config::kRegTextSize];
  char content[config::kRegTextSize];
  GetRegString(savedKey, "Type", type, "", sizeof(type));
  GetRegString(savedKey, "Content", content, "", sizeof(content));
  if (IsProductClassName(type)) type[0] = '\0';

  if (existed) {
    SetRegString(HKEY_CLASSES_ROOT, extension, "", type);
    if (content[0] != '\0') {
      SetRegString(HKEY_CLASSES_ROOT, extension, kContentType, content);
    } else {
      DeleteRegValue(HKEY_CLASSES_ROOT, extension, kContentType);
    }
    char shellNew[config::kPathSize];
    char ourFileName[config::kPathSize];
    GetRegString(savedKey, "ShellNew", shellNew, "", sizeof(shellNew));
    const bool hadFileName = GetRegString(HKEY_CLASSES_ROOT, newKey, kFileName, ourFileName, "",
                                          sizeof(ourFileName));
    DeleteRegValue(HKEY_CLASSES_ROOT, newKey, kFileName);
    if (shellNew[0] == '*') {
      SetRegString(HKEY_CLASSES_ROOT, newKey, kNullFile, "");
    } else if (shellNew[0] != '\0') {
      SetRegString(HKEY_CLASSES_ROOT, newKey, kFileName, shellNew);
    } else if (hadFileName) {
      // The template entry was all the key held: leave no empty key behind.
      DeleteRegKeyIfEmpty(HKEY_CLASSES_ROOT, newKey);
    }
  } else {
    DeleteRegKey(HKEY_CLASSES_ROOT, newKey);
    DeleteRegKey(HKEY_CLASSES_ROOT, extension);
  }

  if (ownFormat) {
    // Every volume extension a 9x take-over may have set.
    for (int n = 0; n < config::kVolumeExtensions9x; ++n) {
      char volume[5];
      FormatVolumeExtension(n, volume);
      if (existed && type[0] != '\0') {
        SetRegString(HKEY_CLASSES_ROOT, volume, "", type);
        if (content[0] != '\0') SetRegString(HKEY_CLASSES_ROOT, volume, kContentType, content);
      } else {
        DeleteRegKey(HKEY_CLASSES_ROOT, volume);
      }
    }
  }
}

}  // namespace

bool IsOwnedExtension(const char* extension) {
  char type[config::kOwnerTypeSize];
  GetRegString(HKEY_CLASSES_ROOT, extension, "", type, "", sizeof(type));
  return IsProductClassName(type);
}

void AssociateExtension(const char* extension, bool associate, bool shellIntegration,
                        bool ownFormat, bool zip) {
  ArmTemplates();
  char newKey[config::kRegPathSize];
  char savedKey[config::kRegPathSize];
  CopyText(newKey, sizeof(newKey), extension);
  CopyText(savedKey, sizeof(savedKey), "Setup\\");
  // An extension too long for its keys is left alone rather than cut.
  if (!AppendWhole(newKey, sizeof(newKey), "\\ShellNew") ||
      !AppendWhole(savedKey, sizeof(savedKey), extension)) {
    return;
  }
  if (associate) {
    TakeOver(extension, newKey, savedKey, shellIntegration, ownFormat, zip);
  } else {
    GiveBack(extension, newKey, savedKey, ownFormat);
  }
}

void SetAssociations(const SetupOptions& options) {
  const bool shellIntegration = options.flags[setup_option::kShellIntegration] != 0;
  for (int group = 0; group < kGroupCount; ++group) {
    const char* rest = kGroupTexts[group];
    while (rest != nullptr) {
      char extension[config::kExtensionSize];
      rest = NextExtension(rest, extension, sizeof(extension));
      AssociateExtension(extension, options.flags[group] != 0, shellIntegration,
                         group == kOwnFormatGroup, group == kZipGroup);
    }
  }
}
