#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "lang/crc32.h"
#include "lang/language_file.h"
#include "support/config.h"
#include "support/text.h"

namespace {

const char kMarkerTail[] = "*messages**";  // follows two asterisks
const char kFormFeed = '\f';

int CompareKeys(const char* a, const char* b) { return std::strncmp(a, b, 8); }

}  // namespace

LanguageResources::~LanguageResources() { std::free(text_); }

int LanguageResources::FindMarker(const char* block, int count) {
  for (int offset = 0; offset <= count - config::kMarkerOverlap; ++offset) {
    if (block[offset] == '*' && block[offset + 1] == '*' &&
        std::memcmp(block + offset + 2, kMarkerTail, 11) == 0)
      return offset;
  }
  return -1;
}

void LanguageResources::AdoptSection(char* buffer, int length) {
  std::free(text_);
  text_ = buffer;
  if (length < 0) length = 0;
  if (length > config::kSectionSize) length = config::kSectionSize;

  // Escapes first, so an escaped line feed stays inside its text; raw line
  // ends become form feeds.
  int read = 0;
  int write = 0;
  while (read < length) {
    char c = text_[read++];
    if (c == '\0') break;
    if (c == '\\' && read < length) {
      const char next = text_[read];
      char replacement = 0;
      switch (next) {
        case '"': replacement = '"'; break;
        case '\\': replacement = '\\'; break;
        case 'n': replacement = '\n'; break;
        case 'r': replacement = '\r'; break;
        case 't': replacement = '\t'; break;
        default: break;
      }
      if (replacement) {
        text_[write++] = replacement;
        ++read;
        continue;
      }
    }
    if (c == '\r' || c == '\n') c = kFormFeed;
    text_[write++] = c;
  }
  text_[write] = '\0';
  length_ = write;

  // Offsets into an earlier section would point at stale bytes.
  index_.Clear();
  for (int k = 1; k < length_ - 8; ++k) {
    if (text_[k - 1] == kFormFeed && text_[k] != kFormFeed) index_.Push(k);
  }
  const char* text = text_;
  std::sort(index_.begin(), index_.end(), [text](int a, int b) {
    return CompareKeys(text + a, text + b) < 0;
  });
}

bool LanguageResources::LoadSectionFromBytes(const char* bytes, int count) {
  char* buffer = static_cast<char*>(std::malloc(config::kSectionSize + config::kSectionSlack));
  if (!buffer) return false;
  if (count > config::kSectionSize) count = config::kSectionSize;
  if (count > 0) std::memcpy(buffer, bytes, static_cast<size_t>(count));
  AdoptSection(buffer, count);
  return true;
}

int LanguageResources::FindEntry(const char* key) const {
  if (!text_) return -1;
  int start = 0;
  int size = index_.Count();
  while (size > 0) {
    const int half = size / 2;
    const int line = index_[start + half];
    const int c = CompareKeys(key, text_ + line);
    if (c == 0) return line;
    if (c < 0) {
      size = half;
    } else {
      start += half + 1;
      size -= half + 1;
    }
  }
  return -1;
}

int LanguageResources::ScanEntries(const char* key) const {
  if (!text_) return -1;
  int position = 0;
  while (text_[position] != '\0') {
    if (CompareKeys(text_ + position, key) == 0 && text_[position + 8] == '=' &&
        text_[position + 9] == '"')
      return position;
    while (text_[position] != '\0' && text_[position] != kFormFeed) ++position;
    while (text_[position] == kFormFeed) ++position;
  }
  return -1;
}

void LanguageResources::MakeKey(char (&key)[16], const char* text, const char* context,
                                TextKind kind) {
  static const char kKindChars[] = {'s', '$', '@'};
  const char kindChar = kKindChars[static_cast<int>(kind)];
  uint32_t crc = Crc32Update(0xFFFFFFFFu, &kindChar, 1);
  if (context) crc = Crc32Update(crc, context, static_cast<int>(std::strlen(context)));
  crc = Crc32Update(crc, text, static_cast<int>(std::strlen(text)));
  crc = ~crc;
  static const char kHex[] = "0123456789abcdef";
  for (int i = 7; i >= 0; --i) {
    key[i] = kHex[crc & 0xF];
    crc >>= 4;
  }
  key[8] = '\0';
}

void LanguageResources::TranslateText(char* destination, int size, const char* text,
                                      const char* context, TextKind kind) const {
  if (size <= 0) return;
  int line = -1;
  if (text_) {
    char key[16];
    MakeKey(key, text, context, kind);
    line = FindEntry(key);
    if (line < 0) line = ScanEntries(key);
  }
  if (line < 0) {
    if (destination != text) CopyText(destination, size, text);
    return;
  }

  // The translation starts after the key, '=' and the opening quote. The
  // binary search accepts a line whose key is followed by the terminator, so
  // the start is kept inside the section.
  int start = line + 10;
  if (start > length_) start = length_;
  const char* formFeed = static_cast<const char*>(
      std::memchr(text_ + start, kFormFeed, static_cast<size_t>(length_ - start)));
  int span = formFeed ? static_cast<int>(formFeed - (text_ + start)) + 1 : config::kLastLineSpan;
  const int available = length_ - start;
  if (span > available) span = available;

  // The closing quote goes with whatever follows it on the line. It is looked
  // for in the whole span, before the cut to the destination, so that a cut
  // translation never ends at a quote inside it.
  const char* from = text_ + start;
  int end = span;
  for (int i = span - 1; i >= 0; --i) {
    if (from[i] == '"') {
      end = i;
      break;
    }
  }

  // Cut to the destination on a character boundary.
  int copied = 0;
  while (copied < end) {
    const char* next = NextChar(g_leadBytes, from + copied);
    const int width = static_cast<int>(next - (from + copied));
    if (copied + width > end || copied + width > size - 1) break;
    copied += width;
  }
  std::memmove(destination, from, static_cast<size_t>(copied));
  destination[copied] = '\0';
}

bool LanguageResources::FileAsksRightToLeft() const {
  char answer[config::kPathSize];
  TranslateText(answer, sizeof(answer), "LTR", "LTR", TextKind::Dialog);
  return std::strcmp(answer, "RTL") == 0;
}
