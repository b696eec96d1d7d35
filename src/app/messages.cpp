#include "app/messages.h"

#include <cstring>

#include "support/format.h"
#include "support/text.h"

void ComposeHandDeletionText(char* destination, int size, const char* completed,
                             const char* deleteFormat, const char* ownDeleteFormat,
                             const char* programPath) {
  if (size <= 0) return;
  if (!CopyText(destination, size, completed) || !AppendText(destination, size, "\n")) return;
  const size_t used = std::strlen(destination);
  FormatOneString(destination + used, size - static_cast<int>(used), deleteFormat,
                  ownDeleteFormat, programPath);
}
