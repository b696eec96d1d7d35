// The one layer through which every registry read, write and delete passes.
// Key handles never leave it: each call opens its key, does one thing and
// closes it. Failures are silent by design: a read yields the caller's
// default, a write or delete has no effect.
#pragma once

#include <windows.h>

#include "registry/reg_path.h"

// MakeRegPath for a real root; `capacity` is always config::kRegPathSize.
bool MakeRegPath(HKEY root, const char* path, char* out, int capacity);

// Create the key when missing and write one value. True when the key could be
// created or opened; whether the write itself succeeded is not reported.
bool SetRegString(HKEY root, const char* path, const char* name, const char* text);
bool SetRegDword(HKEY root, const char* path, const char* name, DWORD value);
bool SetRegBinary(HKEY root, const char* path, const char* name, const void* bytes,
                  DWORD count);

// Reads a value of any stored type into `destination` (`size` bytes). True when
// read; false when the default was copied instead (missing key or value, a
// value larger than `size`). The destination always ends up terminated, at
// most `size` bytes long, even for a stored value without its terminator.
bool GetRegString(HKEY root, const char* path, const char* name, char* destination,
                  const char* defaultText, int size);
// The stored 32-bit value, or `defaultValue` when missing or longer than 4
// bytes; a shorter value fills the low bytes, the rest are zero.
DWORD GetRegDword(HKEY root, const char* path, const char* name, DWORD defaultValue);

// Shorthands on HKEY_CURRENT_USER, relative to the product settings key.
bool SetRegString(const char* path, const char* name, const char* text);
bool SetRegDword(const char* path, const char* name, DWORD value);
bool GetRegString(const char* path, const char* name, char* destination,
                  const char* defaultText, int size);
DWORD GetRegDword(const char* path, const char* name, DWORD defaultValue);

// Deletes one key; on the NT family a key that still has subkeys stays.
void DeleteRegKey(HKEY root, const char* path);
// Deletes one key only when it holds neither values nor subkeys.
void DeleteRegKeyIfEmpty(HKEY root, const char* path);
// Deletes a key with all its subkeys.
void DeleteRegTree(HKEY root, const char* path);
void DeleteRegValue(HKEY root, const char* path, const char* name);
// True when the key can be opened for querying values.
bool RegKeyExists(HKEY root, const char* path);

// For tests: the passes the last DeleteRegTree ran (0 when it needed none).
int LastDeleteRegTreePasses();
