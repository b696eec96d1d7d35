#include "registry/registry.h"

#include <cstring>

#include "support/config.h"
#include "support/system.h"
#include "support/text.h"

namespace {

// The one owner of a key handle; closing keeps the caller's last error.
class RegKey {
 public:
  RegKey() = default;
  RegKey(const RegKey&) = delete;
  RegKey& operator=(const RegKey&) = delete;
  ~RegKey() { Close(); }

  HKEY Get() const { return handle_; }
  // For the platform call that opens a key; any key held before is closed.
  HKEY* Receive() {
    Close();
    return &handle_;
  }
  // True only when a key was held and closed successfully.
  bool Close() {
    if (handle_ == nullptr) return false;
    const DWORD savedError = GetLastError();
    const bool closed = RegCloseKey(handle_) == ERROR_SUCCESS;
    handle_ = nullptr;
    SetLastError(savedError);
    return closed;
  }

 private:
  HKEY handle_ = nullptr;
};

// Keys deleted during the current pass of DeleteRegTree.
int g_treeDeletedThisPass = 0;
int g_lastTreePasses = 0;

bool OpenRegKeyForWrite(HKEY root, const char* path, RegKey& key) {
  char mapped[config::kRegPathSize];
  if (!MakeRegPath(root, path, mapped, sizeof(mapped))) return false;
  return RegCreateKeyExA(root, mapped, 0, nullptr, 0, KEY_WRITE, nullptr, key.Receive(),
                         nullptr) == ERROR_SUCCESS;
}

bool OpenRegKeyForRead(HKEY root, const char* path, RegKey& key) {
  char mapped[config::kRegPathSize];
  if (!MakeRegPath(root, path, mapped, sizeof(mapped))) return false;
  return RegOpenKeyExA(root, mapped, 0, KEY_QUERY_VALUE | KEY_ENUMERATE_SUB_KEYS,
                       key.Receive()) == ERROR_SUCCESS;
}

bool SetRegValue(HKEY root, const char* path, const char* name, DWORD type, const void* bytes,
                 DWORD count) {
  RegKey key;
  if (!OpenRegKeyForWrite(root, path, key)) return false;
  // The write's own outcome is deliberately not reported.
  RegSetValueExA(key.Get(), name, 0, type, static_cast<const BYTE*>(bytes), count);
  return true;
}

// One pass: depth first, each key deleted after its children. A deleted child
// moves its later siblings down one index, so a pass may leave some behind.
void DeleteRegTreeWalk(HKEY root, const char* path) {
  if (path[0] == '\0') return;
  RegKey key;
  if (RegOpenKeyExA(root, path, 0, KEY_READ, key.Receive()) != ERROR_SUCCESS) return;
  const size_t pathLength = std::strlen(path);
  char name[config::kRegSubkeyNameSize];
  for (DWORD index = 0;; ++index) {
    DWORD nameLength = sizeof(name);
    if (RegEnumKeyExA(key.Get(), index, name, &nameLength, nullptr, nullptr, nullptr,
                      nullptr) != ERROR_SUCCESS) {
      break;
    }
    char child[config::kRegChildPathSize];
    // A child path that would not fit is skipped, so that subkey stays.
    if (pathLength + 1 + std::strlen(name) >= sizeof(child)) continue;
    CopyText(child, sizeof(child), path);
    AppendText(child, sizeof(child), "\\");
    AppendText(child, sizeof(child), name);
    DeleteRegTreeWalk(root, child);
  }
  key.Close();
  if (RegDeleteKeyA(root, path) == ERROR_SUCCESS) ++g_treeDeletedThisPass;
}

}  // namespace

bool MakeRegPath(HKEY root, const char* path, char* out, int capacity) {
  return MakeRegPath(root == HKEY_CURRENT_USER ? RegRootKind::CurrentUser : RegRootKind::Other,
                     path, out, capacity);
}

bool SetRegString(HKEY root, const char* path, const char* name, const char* text) {
  // The terminator is stored too: the empty text becomes one byte.
  return SetRegValue(root, path, name, REG_SZ, text, static_cast<DWORD>(std::strlen(text) + 1));
}

bool SetRegDword(HKEY root, const char* path, const char* name, DWORD value) {
  return SetRegValue(root, path, name, REG_DWORD, &value, sizeof(value));
}

bool SetRegBinary(HKEY root, const char* path, const char* name, const void* bytes,
                  DWORD count) {
  return SetRegValue(root, path, name, REG_BINARY, bytes, count);
}

bool GetRegString(HKEY root, const char* path, const char* name, char* destination,
                  const char* defaultText, int size) {
  if (size <= 0) return false;
  bool read = false;
  RegKey key;
  if (OpenRegKeyForRead(root, path, key)) {
    DWORD got = static_cast<DWORD>(size);
    // Any stored type is taken as bytes; the terminator is ours to ensure.
    if (RegQueryValueExA(key.Get(), name, nullptr, nullptr, reinterpret_cast<BYTE*>(destination),
                         &got) == ERROR_SUCCESS) {
      if (got < static_cast<DWORD>(size)) {
        destination[got] = '\0';
        read = true;
      } else if (destination[size - 1] == '\0') {
        read = true;
      }
      // Else a full buffer without terminator: the text would need one byte
      // more than offered, so it counts as too large.
    }
  }
  if (!read) CopyText(destination, size, defaultText);
  return read;
}

DWORD GetRegDword(HKEY root, const char* path, const char* name, DWORD defaultValue) {
  RegKey key;
  if (!OpenRegKeyForRead(root, path, key)) return defaultValue;
  DWORD value = 0;  // A shorter stored value fills only its own bytes.
  DWORD got = sizeof(value);
  if (RegQueryValueExA(key.Get(), name, nullptr, nullptr, reinterpret_cast<BYTE*>(&value),
                       &got) != ERROR_SUCCESS) {
    return defaultValue;
  }
  return value;
}

bool SetRegString(const char* path, const char* name, const char* text) {
  return SetRegString(HKEY_CURRENT_USER, path, name, text);
}

bool SetRegDword(const char* path, const char* name, DWORD value) {
  return SetRegDword(HKEY_CURRENT_USER, path, name, value);
}

bool GetRegString(const char* path, const char* name, char* destination,
                  const char* defaultText, int size) {
  return GetRegString(HKEY_CURRENT_USER, path, name, destination, defaultText, size);
}

DWORD GetRegDword(const char* path, const char* name, DWORD defaultValue) {
  return GetRegDword(HKEY_CURRENT_USER, path, name, defaultValue);
}

void DeleteRegKey(HKEY root, const char* path) {
  char mapped[config::kRegPathSize];
  if (!MakeRegPath(root, path, mapped, sizeof(mapped))) return;
  // An empty mapped path would name the root itself.
  if (mapped[0] == '\0') return;
  RegDeleteKeyA(root, mapped);
}

void DeleteRegKeyIfEmpty(HKEY root, const char* path) {
  char mapped[config::kRegPathSize];
  if (!MakeRegPath(root, path, mapped, sizeof(mapped)) || mapped[0] == '\0') return;
  RegKey key;
  if (RegOpenKeyExA(root, mapped, 0, KEY_QUERY_VALUE, key.Receive()) != ERROR_SUCCESS) return;
  DWORD subkeys = 1;
  DWORD values = 1;
  if (RegQueryInfoKeyA(key.Get(), nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values,
                       nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) {
    return;
  }
  key.Close();
  if (subkeys == 0 && values == 0) RegDeleteKeyA(root, mapped);
}

void DeleteRegTree(HKEY root, const char* path) {
  g_lastTreePasses = 0;
  char mapped[config::kRegPathSize];
  if (!MakeRegPath(root, path, mapped, sizeof(mapped))) return;
  // The 9x family deletes a whole tree in one call.
  if (NtMajorVersion() == 0 && mapped[0] != '\0' && RegDeleteKeyA(root, mapped) == ERROR_SUCCESS) {
    return;
  }
  do {
    g_treeDeletedThisPass = 0;
    ++g_lastTreePasses;
    DeleteRegTreeWalk(root, mapped);
  } while (g_treeDeletedThisPass > 0);
}

void DeleteRegValue(HKEY root, const char* path, const char* name) {
  char mapped[config::kRegPathSize];
  if (!MakeRegPath(root, path, mapped, sizeof(mapped))) return;
  RegKey key;
  if (RegOpenKeyExA(root, mapped, 0, KEY_WRITE, key.Receive()) != ERROR_SUCCESS) return;
  RegDeleteValueA(key.Get(), name);
}

bool RegKeyExists(HKEY root, const char* path) {
  char mapped[config::kRegPathSize];
  if (!MakeRegPath(root, path, mapped, sizeof(mapped))) return false;
  RegKey key;
  return RegOpenKeyExA(root, mapped, 0, KEY_QUERY_VALUE, key.Receive()) == ERROR_SUCCESS;
}

int LastDeleteRegTreePasses() { return g_lastTreePasses; }
