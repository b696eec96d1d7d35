// Texts the entry composes from localised strings.
#pragma once

// The /warning text: `completed`, a line feed, then `deleteFormat` with the
// program's path for its one %s (`ownDeleteFormat` when the translation is
// unusable). Cut, never overflowed, when it does not fit `size` bytes.
void ComposeHandDeletionText(char* destination, int size, const char* completed,
                             const char* deleteFormat, const char* ownDeleteFormat,
                             const char* programPath);
