// libFuzzer target: arbitrary bytes loaded as a language file's message
// section, then texts translated into small exactly-sized buffers. Build and
// run from the repository root:
//   mkdir -p build/lng-fuzz/corpus && printf '\x00***messages***\r\n0d87a053="Hallo"\r\n50a17ae8="RTL"\r\n' > build/lng-fuzz/corpus/seed
//   clang++ -std=c++17 -g -O1 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all -Isrc -I. fuzz/language_file_fuzz.cpp src/lang/language_text.cpp src/lang/crc32.cpp src/support/text.cpp src/support/error_state.cpp -o build/lng-fuzz/language_file_fuzz
//   build/lng-fuzz/language_file_fuzz -dict=fuzz/language_file.dict -max_len=70000 -max_total_time=120 build/lng-fuzz/corpus
// The first input byte picks the code page and the destination size; the rest
// is the section.
#include <sanitizer/asan_interface.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "lang/language_file.h"
#include "support/config.h"
#include "support/text.h"

namespace {

const int kSizes[8] = {1, 2, 3, 8, 16, 64, 255, 512};

// Into a heap block of exactly `size` bytes, so ASan sees any write past it.
void TranslateInto(const LanguageResources& resources, int size, const char* text,
                   const char* context, TextKind kind) {
  char* destination = static_cast<char*>(std::malloc(static_cast<size_t>(size)));
  if (!destination) return;
  resources.TranslateText(destination, size, text, context, kind);
  if (!std::memchr(destination, '\0', static_cast<size_t>(size))) __builtin_trap();
  std::free(destination);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  const uint8_t flags = data[0];
  const char* bytes = reinterpret_cast<const char*>(data + 1);
  const int count = static_cast<int>(size - 1 > 100000 ? 100000 : size - 1);

  if (flags & 1) FillLeadByteRange(g_leadBytes, 0x81, 0xFE);
  else ClearLeadByteTable(g_leadBytes);

  LanguageResources::FindMarker(bytes, count);

  // The section's buffer, with everything past the bytes read poisoned, so a
  // read beyond the section's terminator is caught too.
  const int capacity = config::kSectionSize + config::kSectionSlack;
  char* buffer = static_cast<char*>(std::malloc(capacity));
  if (!buffer) return 0;
  const int length = count > config::kSectionSize ? config::kSectionSize : count;
  std::memcpy(buffer, bytes, static_cast<size_t>(length));
  ASAN_POISON_MEMORY_REGION(buffer + length + 1, capacity - length - 1);

  {
    LanguageResources resources;
    resources.AdoptSection(buffer, length);
    if (resources.SectionLength() != static_cast<int>(std::strlen(resources.SectionText())))
      __builtin_trap();

    const int destinationSize = kSizes[(flags >> 1) & 7];
    TranslateInto(resources, destinationSize, "Hello", nullptr, TextKind::String);
    TranslateInto(resources, destinationSize, "", nullptr, TextKind::String);
    TranslateInto(resources, destinationSize, "", "SETUPDLG", TextKind::Dialog);
    TranslateInto(resources, destinationSize, "LTR", "LTR", TextKind::Dialog);
    TranslateInto(resources, config::kPathSize, "Hello", nullptr, TextKind::String);
    resources.FileAsksRightToLeft();

    // Lines that look like entries: any the scan accepts past line 0 is in the
    // index, so the binary search must find its key as well.
    const char* text = resources.SectionText();
    int lines = 0;
    for (int k = 1; k + 10 <= resources.SectionLength() && lines < 16; ++k) {
      if (text[k - 1] != '\f' || text[k] == '\f') continue;
      ++lines;
      char key[9];
      std::memcpy(key, text + k, 8);
      key[8] = '\0';
      if (std::strlen(key) != 8 || std::memchr(key, '\f', 8)) continue;
      const int scanned = resources.ScanEntries(key);
      const int found = resources.FindEntry(key);
      if (scanned > 0 && found < 0) __builtin_trap();
      if (found >= 0 && std::strncmp(text + found, key, 8) != 0) __builtin_trap();
    }
    ASAN_UNPOISON_MEMORY_REGION(buffer, capacity);
  }
  ClearLeadByteTable(g_leadBytes);
  return 0;
}
