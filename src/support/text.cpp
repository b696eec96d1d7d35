#include "support/text.h"

#include <cstring>

#ifndef _WIN32
// On Windows the table is defined, and built from the system code page,
// with the other program-wide objects; elsewhere it is single-byte until a
// test fills it.
LeadByteTable g_leadBytes;
#endif

void ClearLeadByteTable(LeadByteTable& table) {
  std::memset(table.flags, 0, sizeof(table.flags));
}

void FillLeadByteRange(LeadByteTable& table, unsigned char first, unsigned char last) {
  ClearLeadByteTable(table);
  for (int b = first; b <= last; ++b) table.flags[b] = 1;
  table.flags[256] = 1;
}

const char* NextChar(const LeadByteTable& table, const char* position) {
  if (table.flags[static_cast<unsigned char>(*position)] && position[1] != '\0')
    return position + 2;
  return position + 1;
}

char* NextChar(const LeadByteTable& table, char* position) {
  return const_cast<char*>(NextChar(table, static_cast<const char*>(position)));
}

namespace {

// Walks by characters in a multi-byte code page, by bytes otherwise.
inline const char* Step(const char* p) {
  return g_leadBytes.flags[256] ? NextChar(g_leadBytes, p) : p + 1;
}

}  // namespace

const char* NamePosition(const char* path) {
  const char* remembered = nullptr;
  for (const char* p = path; *p; p = Step(p)) {
    if (IsPathSeparator(*p)) remembered = p + 1;
  }
  if (remembered) return remembered;
  if (*path == '\0') return path;
  if (Step(path) == path + 1 && path[1] == ':') return path + 2;
  return path;
}

char* NamePosition(char* path) {
  return const_cast<char*>(NamePosition(static_cast<const char*>(path)));
}

const char* LastCharPosition(const char* text) {
  const char* last = text;
  for (const char* p = text; *p; p = Step(p)) last = p;
  return last;
}

char* LastCharPosition(char* text) {
  return const_cast<char*>(LastCharPosition(static_cast<const char*>(text)));
}

bool AppendBackslash(char* path, int size) {
  if (*path == '\0') return true;
  // A lead byte is never a backslash, so a double-byte last character with a
  // 0x5C trail byte still gets its backslash.
  if (*LastCharPosition(path) == '\\') return true;
  const size_t length = std::strlen(path);
  if (size < 0 || length + 2 > static_cast<size_t>(size)) return false;
  path[length] = '\\';
  path[length + 1] = '\0';
  return true;
}

void CutToFolder(char* path) {
  char* name = NamePosition(path);
  const long offset = name - path;
  if (offset < 2) {
    *name = '\0';
  } else if (path[1] == ':' && offset < 4) {
    *name = '\0';
  } else {
    name[-1] = '\0';
  }
}

char* TrimTrailingBlanks(char* text) {
  size_t length = std::strlen(text);
  while (length > 0) {
    const char c = text[length - 1];
    if (c != '\t' && c != '\n' && c != '\r' && c != ' ') break;
    text[--length] = '\0';
  }
  return text;
}

bool AppendText(char* destination, int size, const char* source) {
  if (size <= 0) return *source == '\0';
  size_t used = std::strlen(destination);
  if (used >= static_cast<size_t>(size)) return false;
  const char* p = source;
  while (*p) {
    const char* next = Step(p);
    const size_t width = static_cast<size_t>(next - p);
    if (used + width + 1 > static_cast<size_t>(size)) {
      destination[used] = '\0';
      return false;
    }
    std::memcpy(destination + used, p, width);
    used += width;
    p = next;
  }
  destination[used] = '\0';
  return true;
}

bool CopyText(char* destination, int size, const char* source) {
  if (size <= 0) return *source == '\0';
  destination[0] = '\0';
  return AppendText(destination, size, source);
}

bool AppendWhole(char* destination, int size, const char* source) {
  const size_t used = std::strlen(destination);
  const size_t extra = std::strlen(source);
  if (size <= 0 || used + extra + 1 > static_cast<size_t>(size)) return false;
  std::memcpy(destination + used, source, extra + 1);
  return true;
}
