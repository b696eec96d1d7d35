#include "uninstall/uninstall_list.h"

#include <cstdlib>
#include <cstring>

#include "support/text.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

// "..", "...", ". ." and the like: the system drops trailing dots and blanks
// of a component, so every one of them may end up as "..".
bool ClimbsOut(const char* start, const char* end) {
  int dots = 0;
  for (const char* p = start; p < end; ++p) {
    if (*p == '.') ++dots;
    else if (*p != ' ') return false;
  }
  return dots >= 2;
}

}  // namespace

bool ListLines::Next(char* line, int size, bool* whole) {
  int length = 0;
  bool fits = true;
  bool any = false;
  for (;;) {
    if (position_ == used_) {
      if (ended_) break;
      const int got = source_.Read(block_, sizeof(block_));
      if (got <= 0) {
        // A read error ends the list like its end: nothing more is deleted.
        ended_ = true;
        break;
      }
      used_ = got;
      position_ = 0;
    }
    any = true;
    const char c = block_[position_++];
    if (c == '\n') break;
    if (c == '\0') fits = false;
    if (length < size - 1) {
      line[length++] = c;
    } else if (!IsBlank(c)) {
      fits = false;
    }
  }
  if (size > 0) line[length] = '\0';
  *whole = fits && size > 0;
  return any;
}

void ListLines::Rewind() {
  source_.Rewind();
  used_ = 0;
  position_ = 0;
  ended_ = false;
}

bool IsEntryInsideFolder(const char* entry) {
  if (IsPathSeparator(entry[0])) return false;
  const char* start = entry;
  for (const char* p = entry;; p = NextChar(g_leadBytes, p)) {
    if (*p == ':') return false;
    if (*p == '\0' || IsPathSeparator(*p)) {
      if (ClimbsOut(start, p)) return false;
      if (*p == '\0') return true;
      start = p + 1;
    }
  }
}

bool IsRootFolder(const char* folder) {
  if (folder[0] == '\0') return true;
  if (*LastCharPosition(folder) == ':') return true;
  if (!(IsPathSeparator(folder[0]) && IsPathSeparator(folder[1]))) return false;
  // \\server\share is the root of a share; a folder needs a third component.
  int components = 0;
  bool inComponent = false;
  for (const char* p = folder + 2; *p; p = NextChar(g_leadBytes, p)) {
    if (IsPathSeparator(*p)) {
      inComponent = false;
    } else if (!inComponent) {
      inComponent = true;
      ++components;
    }
  }
  return components < 3;
}

bool FormEntryName(char* name, int size, const char* folder, const char* entry) {
  if (size <= 0) return false;
  name[0] = '\0';
  return AppendWhole(name, size, folder) && AppendWhole(name, size, entry);
}

bool FormTempName(char* destination, int size, const char* name, int number) {
  if (size <= 0 || number < 0) return false;
  char digits[12];
  int at = sizeof(digits) - 1;
  digits[at] = '\0';
  do {
    digits[--at] = static_cast<char>('0' + number % 10);
    number /= 10;
  } while (number > 0);
  destination[0] = '\0';
  return AppendWhole(destination, size, name) && AppendWhole(destination, size, ".") &&
         AppendWhole(destination, size, digits + at) && AppendWhole(destination, size, ".tmp");
}

SettledLines::~SettledLines() { std::free(bits_); }

bool SettledLines::IsSettled(int line) const {
  if (line < 0 || line / 8 >= bytes_) return false;
  return (bits_[line / 8] >> (line % 8)) & 1;
}

void SettledLines::Settle(int line) {
  if (line < 0) return;
  const int byte = line / 8;
  if (byte >= bytes_) {
    // Grows by half again, at least 4 KB: a long list settles line by line.
    int wanted = bytes_ + bytes_ / 2;
    if (wanted < 4096) wanted = 4096;
    if (wanted <= byte) wanted = byte + 1;
    void* grown = std::realloc(bits_, static_cast<size_t>(wanted));
    if (!grown) return;
    bits_ = static_cast<unsigned char*>(grown);
    std::memset(bits_ + bytes_, 0, static_cast<size_t>(wanted - bytes_));
    bytes_ = wanted;
  }
  bits_[byte] = static_cast<unsigned char>(bits_[byte] | (1u << (line % 8)));
}
