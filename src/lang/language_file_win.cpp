#include <windows.h>

#include <cstdlib>
#include <cstring>

#include "lang/language_file.h"
#include "lang/local_strings.h"
#include "support/config.h"
#include "support/file.h"
#include "support/text.h"

void LanguageResources::Init(const char* fileName) {
  ReadMessageSection(fileName);
  DetectRightToLeft();
}

void LanguageResources::ReadMessageSection(const char* fileName) {
  char path[config::kPathSize];
  if (std::strchr(fileName, '\\')) {
    if (!CopyText(path, sizeof(path), fileName)) return;
  } else {
    const DWORD got = GetModuleFileNameA(nullptr, path, sizeof(path));
    if (got == 0 || got >= sizeof(path)) return;
    char* slash = std::strrchr(path, '\\');
    if (!slash) return;
    slash[1] = '\0';
    if (!AppendWhole(path, sizeof(path), fileName)) return;
  }

  File file;
  if (!file.OpenExisting(path)) return;

  char block[config::kMarkerBlockSize];
  long long markerPosition = -1;
  for (int blocks = 0; blocks < config::kMarkerBlockCount && markerPosition < 0; ++blocks) {
    const int base = static_cast<int>(file.GetPosition());
    const int got = file.ReadBytes(block, sizeof(block));
    if (got < config::kMarkerOverlap) break;
    const int offset = FindMarker(block, got);
    if (offset >= 0) markerPosition = static_cast<long long>(base) + offset;
    // The next block overlaps this one, so a marker across the edge is seen whole.
    file.SetPosition(static_cast<long long>(base) + got - config::kMarkerOverlap);
  }
  if (markerPosition < 0) return;

  file.SetPosition(markerPosition);
  char* buffer = static_cast<char*>(std::malloc(config::kSectionSize + config::kSectionSlack));
  if (!buffer) return;
  AdoptSection(buffer, file.ReadBytes(buffer, config::kSectionSize));
}

void LanguageResources::DetectRightToLeft() {
  if (FindResourceA(ResourceModule, "RTL", MAKEINTRESOURCEA(5))) {
    RightToLeft = true;
    return;
  }
  RightToLeft = FileAsksRightToLeft();
}
