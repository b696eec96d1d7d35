#include "registry/reg_path.h"

#include <cstring>

#include "support/config.h"
#include "support/text.h"

bool MakeRegPath(RegRootKind root, const char* path, char* out, int capacity) {
  if (path == nullptr || capacity <= config::kRegPathSpare) return false;
  if (std::strlen(path) > static_cast<size_t>(capacity - config::kRegPathSpare)) return false;
  // The length check leaves room for the prefix, so nothing below is cut.
  if (root != RegRootKind::CurrentUser) {
    CopyText(out, capacity, path);
  } else if (path[0] == '\\') {
    CopyText(out, capacity, path + 1);
  } else {
    CopyText(out, capacity, "Software\\Kelvox");
    if (path[0] != '\0') {
      AppendText(out, capacity, "\\");
      AppendText(out, capacity, path);
    }
  }
  return true;
}
