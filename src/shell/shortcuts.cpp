#include "shell/shortcuts.h"

#include "support/text.h"

bool IsFullPath(const char* path) {
  const char first = path[0];
  const bool letter = (first >= 'A' && first <= 'Z') || (first >= 'a' && first <= 'z');
  if (letter && path[1] == ':' && IsPathSeparator(path[2])) return true;
  return IsPathSeparator(first) && IsPathSeparator(path[1]) && path[2] != '\0';
}

bool ComposeChildPath(const char* folder, const char* name, char* out, int size) {
  if (size <= 0) return false;
  out[0] = '\0';
  if (!IsFullPath(folder) || !CopyText(out, size, folder) || !AppendBackslash(out, size) ||
      !AppendWhole(out, size, name)) {
    out[0] = '\0';
    return false;
  }
  return true;
}
