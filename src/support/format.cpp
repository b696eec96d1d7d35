#include "support/format.h"

#include <cstring>

#include "support/text.h"

bool IsOneStringFormat(const char* format) {
  int strings = 0;
  for (const char* p = format; *p;) {
    if (*p != '%') {
      p = NextChar(g_leadBytes, p);
      continue;
    }
    if (p[1] == '%') {
      p += 2;
    } else if (p[1] == 's') {
      ++strings;
      p += 2;
    } else {
      return false;
    }
  }
  return strings == 1;
}

bool FormatOneString(char* destination, int size, const char* format, const char* fallback,
                     const char* argument) {
  if (size <= 0) return false;
  destination[0] = '\0';
  if (!IsOneStringFormat(format)) format = fallback;
  if (!IsOneStringFormat(format)) return AppendText(destination, size, argument);

  // Literal runs are appended piece by piece so that a double-byte
  // character is never split when the text is cut.
  for (const char* p = format; *p;) {
    if (*p == '%') {
      const bool fits = p[1] == 's' ? AppendText(destination, size, argument)
                                    : AppendText(destination, size, "%");
      if (!fits) return false;
      p += 2;
      continue;
    }
    const char* next = NextChar(g_leadBytes, p);
    char character[3] = {0, 0, 0};
    std::memcpy(character, p, static_cast<size_t>(next - p));
    if (!AppendText(destination, size, character)) return false;
    p = next;
  }
  return true;
}
