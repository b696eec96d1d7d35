#include "shell/app_path.h"

#include <cstring>

#include "support/text.h"

bool ComposeSiblingPath(const char* programPath, const char* name, char* out, int size) {
  if (size <= 0) return false;
  out[0] = '\0';
  const char* namePart = NamePosition(programPath);
  const long folderLength = namePart - programPath;
  if (folderLength == 0 || folderLength >= size) return false;
  std::memcpy(out, programPath, static_cast<size_t>(folderLength));
  out[folderLength] = '\0';
  if (!AppendWhole(out, size, name)) {
    out[0] = '\0';
    return false;
  }
  return true;
}

bool QuotePath(const char* path, char* out, int size) {
  if (size <= 0) return false;
  out[0] = '\0';
  if (path[0] == '\0') return false;
  if (AppendWhole(out, size, "\"") && AppendWhole(out, size, path) &&
      AppendWhole(out, size, "\"")) {
    return true;
  }
  out[0] = '\0';
  return false;
}
