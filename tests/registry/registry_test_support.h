// Registry helpers for the tests: raw snapshots and restoration of key trees,
// a private stand-in for HKEY_CURRENT_USER, and re-running the test program
// under another Windows version taken from Wine's AppDefaults.
#pragma once

#include <windows.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "common/wine_helpers.h"

namespace registry_test {

// The names of a key's direct subkeys, in the registry's order.
inline std::vector<std::string> SubkeyNames(HKEY key) {
  std::vector<std::string> names;
  char name[512];
  for (DWORD i = 0;; ++i) {
    DWORD length = sizeof(name);
    if (RegEnumKeyExA(key, i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
      break;
    names.push_back(name);
  }
  return names;
}

// Removes a key with everything below it, by raw platform calls relative to
// each parent, so paths longer than the ANSI calls take are reached too.
inline void RawDeleteTree(HKEY parent, const std::string& name) {
  HKEY key;
  if (RegOpenKeyExA(parent, name.c_str(), 0, KEY_READ | DELETE, &key) == ERROR_SUCCESS) {
    for (const std::string& each : SubkeyNames(key)) RawDeleteTree(key, each);
    RegCloseKey(key);
  }
  RegDeleteKeyA(parent, name.c_str());
}

inline bool RawKeyExists(HKEY root, const std::string& path) {
  HKEY key;
  if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

struct RawValue {
  bool present = false;
  DWORD type = 0;
  std::string bytes;
};

inline RawValue ReadRaw(HKEY root, const std::string& path, const char* name) {
  RawValue value;
  HKEY key;
  if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return value;
  char buffer[4096];
  DWORD size = sizeof(buffer);
  if (RegQueryValueExA(key, name, nullptr, &value.type, reinterpret_cast<BYTE*>(buffer), &size) ==
      ERROR_SUCCESS) {
    value.present = true;
    value.bytes.assign(buffer, size);
  }
  RegCloseKey(key);
  return value;
}

inline void WriteRaw(HKEY root, const std::string& path, const char* name, DWORD type,
                     const std::string& bytes) {
  HKEY key;
  if (RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) !=
      ERROR_SUCCESS) {
    return;
  }
  RegSetValueExA(key, name, 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                 static_cast<DWORD>(bytes.size()));
  RegCloseKey(key);
}

inline void WriteRawString(HKEY root, const std::string& path, const char* name,
                           const std::string& text) {
  WriteRaw(root, path, name, REG_SZ, text + std::string(1, '\0'));
}

// One value as stored: name, type and bytes.
struct RegValue {
  std::string name;
  DWORD type;
  std::string bytes;
};

// The values of an open key, in the registry's order.
inline std::vector<RegValue> ValuesOf(HKEY key) {
  std::vector<RegValue> values;
  char name[1024];
  BYTE data[8192];
  for (DWORD i = 0;; ++i) {
    DWORD nameLength = sizeof(name);
    DWORD dataLength = sizeof(data);
    DWORD type = 0;
    if (RegEnumValueA(key, i, name, &nameLength, nullptr, &type, data, &dataLength) !=
        ERROR_SUCCESS) {
      break;
    }
    values.push_back({name, type, std::string(reinterpret_cast<char*>(data), dataLength)});
  }
  return values;
}

// An export of a key tree: every key, value name, type and byte; "-" when the
// key does not exist. Value and key order is sorted by the platform's order.
inline std::string Export(HKEY root, const std::string& path) {
  HKEY key;
  if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return "-";
  std::string out = "[" + path + "]\n";
  for (const RegValue& value : ValuesOf(key)) {
    char typeText[32];
    std::snprintf(typeText, sizeof(typeText), "%lu:", static_cast<unsigned long>(value.type));
    out += "\"" + value.name + "\"=" + typeText;
    for (unsigned char b : value.bytes) {
      char hex[4];
      std::snprintf(hex, sizeof(hex), "%02x", b);
      out += hex;
    }
    out += "\n";
  }
  const std::vector<std::string> children = SubkeyNames(key);
  RegCloseKey(key);
  for (const std::string& child : children) out += Export(root, path + "\\" + child);
  return out;
}

// A captured key tree, put back exactly (or removed when it was missing).
class SavedTree {
 public:
  SavedTree(HKEY root, const std::string& path) : root_(root), path_(path) { Capture(path_); }
  ~SavedTree() { Restore(); }
  SavedTree(const SavedTree&) = delete;
  SavedTree& operator=(const SavedTree&) = delete;

  void Restore() const {
    RawDeleteTree(root_, path_);
    for (const Entry& entry : entries_) {
      HKEY key;
      if (RegCreateKeyExA(root_, entry.path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key,
                          nullptr) != ERROR_SUCCESS) {
        continue;
      }
      for (const RegValue& value : entry.values) {
        RegSetValueExA(key, value.name.c_str(), 0, value.type,
                       reinterpret_cast<const BYTE*>(value.bytes.data()),
                       static_cast<DWORD>(value.bytes.size()));
      }
      RegCloseKey(key);
    }
  }

 private:
  struct Entry {
    std::string path;
    std::vector<RegValue> values;
  };

  void Capture(const std::string& path) {
    HKEY key;
    if (RegOpenKeyExA(root_, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return;
    Entry entry;
    entry.path = path;
    entry.values = ValuesOf(key);
    const std::vector<std::string> children = SubkeyNames(key);
    RegCloseKey(key);
    entries_.push_back(entry);
    for (const std::string& child : children) Capture(path + "\\" + child);
  }

  HKEY root_;
  std::string path_;
  std::vector<Entry> entries_;
};

// Points this process's HKEY_CURRENT_USER at a private scratch key, so the
// product settings key of a test cannot meet another test program's. The
// scratch key is deleted at the start and at the end.
class ScratchUserRoot {
 public:
  explicit ScratchUserRoot(const std::string& name)
      : path_("Software\\KvxTestRoots\\" + name + "-" + std::to_string(GetCurrentProcessId())) {
    RawDeleteTree(HKEY_CURRENT_USER, path_);
    RegCreateKeyExA(HKEY_CURRENT_USER, path_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                    &key_, nullptr);
    RegOverridePredefKey(HKEY_CURRENT_USER, key_);
  }
  ~ScratchUserRoot() {
    RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
    RegCloseKey(key_);
    RawDeleteTree(HKEY_CURRENT_USER, path_);
    // The shared parent goes with the last scratch key.
    RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\KvxTestRoots");
  }
  ScratchUserRoot(const ScratchUserRoot&) = delete;
  ScratchUserRoot& operator=(const ScratchUserRoot&) = delete;
  const std::string& Path() const { return path_; }
  // The real HKEY_CURRENT_USER for a moment (Wine's AppDefaults live there).
  void Suspend() const { RegOverridePredefKey(HKEY_CURRENT_USER, nullptr); }
  void Resume() const { RegOverridePredefKey(HKEY_CURRENT_USER, key_); }

 private:
  std::string path_;
  HKEY key_ = nullptr;
};

// Environment variables through which a driver run learns its task and the
// scratch key to use as its HKEY_CURRENT_USER.
constexpr char kDriverTask[] = "KVX_DRIVER_TASK";
constexpr char kDriverUserRoot[] = "KVX_DRIVER_USER_ROOT";

inline std::string DriverEnv(const char* name) {
  char value[512];
  const DWORD got = GetEnvironmentVariableA(name, value, sizeof(value));
  if (got == 0 || got >= sizeof(value)) return std::string();
  return value;
}

// Runs a uniquely named copy of this test program, placed in `folder`, with
// Wine's per-program Version set to `version` (e.g. "win98"); only the tests
// matching `filter` run, with `task` in KVX_DRIVER_TASK. Returns the exit code.
inline int RunUnderVersion(const char* version, const std::string& folder, const char* filter,
                           const std::string& task, const ScratchUserRoot& userRoot) {
  char self[MAX_PATH];
  GetModuleFileNameA(nullptr, self, sizeof(self));
  static int serial = 0;
  const std::string copyName = std::string("kvxdrv-") + version + "-" +
                               std::to_string(GetCurrentProcessId()) + "-" +
                               std::to_string(++serial) + ".exe";
  const std::string copy = folder + "\\" + copyName;
  if (!CopyFileA(self, copy.c_str(), FALSE)) return -3;
  // The version setting lives under the real HKEY_CURRENT_USER.
  userRoot.Suspend();
  auto override = std::make_unique<testing_support::WineVersionOverride>(copyName, version);
  userRoot.Resume();
  SetEnvironmentVariableA(kDriverTask, task.c_str());
  SetEnvironmentVariableA(kDriverUserRoot, userRoot.Path().c_str());
  const int code = testing_support::RunAndWait(
      "\"" + copy + "\" --gtest_filter=" + filter, folder, 120000);
  SetEnvironmentVariableA(kDriverTask, nullptr);
  SetEnvironmentVariableA(kDriverUserRoot, nullptr);
  userRoot.Suspend();
  override.reset();
  userRoot.Resume();
  DeleteFileA(copy.c_str());
  return code;
}

// In a driver run: the parent's scratch key as this process's
// HKEY_CURRENT_USER, for as long as the object lives.
class DriverUserRoot {
 public:
  DriverUserRoot() {
    const std::string path = DriverEnv(kDriverUserRoot);
    if (!path.empty() && RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_ALL_ACCESS,
                                       &key_) == ERROR_SUCCESS) {
      RegOverridePredefKey(HKEY_CURRENT_USER, key_);
    }
  }
  ~DriverUserRoot() {
    if (key_ == nullptr) return;
    RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
    RegCloseKey(key_);
  }
  DriverUserRoot(const DriverUserRoot&) = delete;
  DriverUserRoot& operator=(const DriverUserRoot&) = delete;

 private:
  HKEY key_ = nullptr;
};

// The version this process is shown (a driver reports it to its parent).
inline OSVERSIONINFOA SeenVersion() {
  OSVERSIONINFOA info;
  ZeroMemory(&info, sizeof(info));
  info.dwOSVersionInfoSize = sizeof(info);
  GetVersionExA(&info);
  return info;
}

// A driver reports the version it saw: platform, major, minor, NtMajorVersion.
constexpr char kReportKey[] = "\\Software\\KvxDriverReport";

}  // namespace registry_test
