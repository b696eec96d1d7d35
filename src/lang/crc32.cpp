#include "lang/crc32.h"

#include <cstring>

namespace {

// Four tables so that aligned data is folded a 32-bit word at a time; table
// 0 is the byte-wise table of the classic algorithm.
uint32_t g_table[4][256];

void BuildTable() {
  for (uint32_t i = 0; i < 256; ++i) {
    uint32_t c = i;
    for (int k = 0; k < 8; ++k) c = (c & 1) ? (c >> 1) ^ 0xEDB88320u : c >> 1;
    g_table[0][i] = c;
  }
  for (uint32_t i = 0; i < 256; ++i) {
    for (int t = 1; t < 4; ++t) {
      const uint32_t prev = g_table[t - 1][i];
      g_table[t][i] = (prev >> 8) ^ g_table[0][prev & 0xFF];
    }
  }
}

inline uint32_t FoldWord(uint32_t crc, uint32_t word) {
  crc ^= word;
  return g_table[3][crc & 0xFF] ^ g_table[2][(crc >> 8) & 0xFF] ^
         g_table[1][(crc >> 16) & 0xFF] ^ g_table[0][crc >> 24];
}

}  // namespace

uint32_t Crc32Update(uint32_t crc, const void* bytes, int count) {
  // Built on first use: entry 1 is never 0 once the table exists.
  if (g_table[0][1] == 0) BuildTable();
  const unsigned char* p = static_cast<const unsigned char*>(bytes);
  while (count > 0 && (reinterpret_cast<uintptr_t>(p) & 7) != 0) {
    crc = g_table[0][(crc ^ *p++) & 0xFF] ^ (crc >> 8);
    --count;
  }
  while (count >= 8) {
    uint32_t low;
    uint32_t high;
    std::memcpy(&low, p, 4);
    std::memcpy(&high, p + 4, 4);
    // The words are little-endian on every platform this program runs on.
    crc = FoldWord(crc, low);
    crc = FoldWord(crc, high);
    p += 8;
    count -= 8;
  }
  while (count > 0) {
    crc = g_table[0][(crc ^ *p++) & 0xFF] ^ (crc >> 8);
    --count;
  }
  return crc;
}
