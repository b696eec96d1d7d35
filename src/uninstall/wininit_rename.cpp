#include "uninstall/wininit_rename.h"

#include <cstring>

namespace {

char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// The line [begin, end) without its line end, blanks around it ignored.
bool IsSectionHeader(const char* begin, const char* end, const char* name) {
  while (begin < end && IsBlank(*begin)) ++begin;
  while (end > begin && (IsBlank(end[-1]) || end[-1] == '\r')) --end;
  if (begin == end || *begin != '[') return false;
  if (name == nullptr) return true;
  const size_t nameLength = std::strlen(name);
  if (static_cast<size_t>(end - begin) != nameLength + 2 || end[-1] != ']') return false;
  for (size_t i = 0; i < nameLength; ++i) {
    if (AsciiLower(begin[1 + i]) != AsciiLower(name[i])) return false;
  }
  return true;
}

bool Insert(char* text, int* length, int capacity, int at, const char* const* pieces) {
  size_t extra = 0;
  for (const char* const* p = pieces; *p; ++p) extra += std::strlen(*p);
  if (static_cast<size_t>(*length) + extra + 1 > static_cast<size_t>(capacity)) return false;
  std::memmove(text + at + extra, text + at, static_cast<size_t>(*length - at));
  char* out = text + at;
  for (const char* const* p = pieces; *p; ++p) {
    const size_t n = std::strlen(*p);
    std::memcpy(out, *p, n);
    out += n;
  }
  *length += static_cast<int>(extra);
  text[*length] = '\0';
  return true;
}

}  // namespace

bool AddRenameEntry(char* text, int* length, int capacity, const char* value) {
  if (capacity <= 0 || *length < 0 || *length >= capacity) return false;
  const char* const end = text + *length;
  const char* sectionEnd = nullptr;
  bool inSection = false;
  for (const char* line = text; line < end;) {
    const char* lineEnd = static_cast<const char*>(std::memchr(line, '\n', end - line));
    const char* next = lineEnd ? lineEnd + 1 : end;
    const char* body = lineEnd ? lineEnd : end;
    if (inSection && IsSectionHeader(line, body, nullptr)) {
      sectionEnd = line;
      break;
    }
    if (!inSection && IsSectionHeader(line, body, "Rename")) inSection = true;
    line = next;
  }
  const bool endsInLine = *length == 0 || end[-1] == '\n';
  if (inSection && sectionEnd) {
    const char* pieces[] = {"NUL=", value, "\r\n", nullptr};
    return Insert(text, length, capacity, static_cast<int>(sectionEnd - text), pieces);
  }
  const char* lineEnd = endsInLine ? "" : "\r\n";
  if (inSection) {
    const char* pieces[] = {lineEnd, "NUL=", value, "\r\n", nullptr};
    return Insert(text, length, capacity, *length, pieces);
  }
  const char* pieces[] = {lineEnd, "[Rename]\r\nNUL=", value, "\r\n", nullptr};
  return Insert(text, length, capacity, *length, pieces);
}
