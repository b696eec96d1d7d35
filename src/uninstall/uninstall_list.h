// The installation list Uninstall.lst: its lines and the check that keeps
// every entry inside the installation folder. Pure byte work.
#pragma once

#include "support/config.h"

// Where the list's bytes come from; the program reads a File, tests a text.
class ByteSource {
 public:
  // Bytes read, 0 at the end, negative on failure.
  virtual int Read(void* buffer, int count) = 0;
  virtual void Rewind() = 0;

 protected:
  ~ByteSource() = default;
};

// Splits the list into lines at line feeds, reading in blocks.
class ListLines {
 public:
  explicit ListLines(ByteSource& source) : source_(source) {}
  ListLines(const ListLines&) = delete;
  ListLines& operator=(const ListLines&) = delete;

  // The next line, without its line feed, in `line` (`size` bytes, always
  // terminated). False at the end of the list. `whole` is false for a line
  // that cannot be an entry as it stands: one that does not fit `size` bytes
  // (blanks past the end do not count, they are trimmed anyway) or that holds
  // a NUL byte. Such a line is read to its end and must be skipped.
  bool Next(char* line, int size, bool* whole);
  // Back to the first line, for the next pass.
  void Rewind();

 private:
  ByteSource& source_;
  char block_[config::kListReadBlock];
  int used_ = 0;
  int position_ = 0;
  bool ended_ = false;
};

// True when the entry, appended to the installation folder, names something
// inside it: not rooted (\x, \\server\share), no drive or stream colon (C:,
// C:\x), no component that climbs out (.., and dot-and-blank forms the
// system reads as ..). An empty entry is the folder itself.
bool IsEntryInsideFolder(const char* entry);

// True when the installation folder (the program's folder, no trailing
// backslash) is the root of a drive or share, or empty: the whole volume
// would count as inside it.
bool IsRootFolder(const char* folder);

// Forms the entry name: `folder` (ending in a backslash) followed by `entry`.
// False, with `name` unusable, when the whole name does not fit `size` bytes.
bool FormEntryName(char* name, int size, const char* folder, const char* entry);

// Forms "<name>.<number>.tmp"; false when it does not fit `size` bytes.
bool FormTempName(char* destination, int size, const char* name, int number);

// Lines of the list that are settled for good (their entry was removed, or
// they can never be an entry), so that later passes skip them. Without
// memory for it, nothing is remembered and every line is looked at again,
// which gives the same outcome, only slower.
class SettledLines {
 public:
  SettledLines() = default;
  SettledLines(const SettledLines&) = delete;
  SettledLines& operator=(const SettledLines&) = delete;
  ~SettledLines();

  bool IsSettled(int line) const;
  void Settle(int line);

 private:
  unsigned char* bits_ = nullptr;
  int bytes_ = 0;
};
