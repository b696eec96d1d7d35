#include "shell/associations_groups.h"

#include "support/text.h"

namespace associations {

const char* const kGroupTexts[kGroupCount] = {
    ".kvx", ".zip", ".cab", ".arj", ".lzh.lha", ".ace", ".7z", ".tar",
    ".gz.tgz", ".uue.xxe.uu", ".bz2.tbz2.bz.tbz", ".jar", ".iso", ".z.taz"};

unsigned char g_ownTemplate[kOwnTemplateSize] = {0x00, 0x76, 0x78, 0x21, 0x1A, 0x07, 0x00,
                                                 0xCF, 0x90, 0x73, 0x00, 0x00, 0x0D};
unsigned char g_zipTemplate[kZipTemplateSize] = {0x00, 0x4B, 0x05, 0x06};

void ArmTemplates() {
  g_ownTemplate[0] = 0x4B;
  g_zipTemplate[0] = 0x50;
}

const char* NextExtension(const char* groupText, char* out, int size) {
  CopyText(out, size, groupText);
  if (groupText[0] == '\0') return nullptr;
  for (int i = 1; groupText[i] != '\0'; ++i) {
    if (groupText[i] == '.') {
      if (i < size) out[i] = '\0';
      return groupText + i;
    }
  }
  return nullptr;
}

namespace {
char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualsAsciiNoCase(const char* a, const char* b) {
  for (; *a != '\0' && *b != '\0'; ++a, ++b) {
    if (AsciiLower(*a) != AsciiLower(*b)) return false;
  }
  return *a == *b;
}
}  // namespace

bool IsProductClassName(const char* text) {
  return EqualsAsciiNoCase(text, "Kelvox") || EqualsAsciiNoCase(text, "Kelvox.ZIP");
}

void FormatVolumeExtension(int number, char* out) {
  out[0] = '.';
  out[1] = 'k';
  out[2] = static_cast<char>('0' + (number / 10) % 10);
  out[3] = static_cast<char>('0' + number % 10);
  out[4] = '\0';
}

}  // namespace associations
