#include "lang/crc32.h"

#include <cstring>

namespace {

// Long runs are folded as five interleaved streams of 64-bit words: the table
// look-ups of the five streams do not wait for each other, which a single
// running CRC, however many bytes it takes per step, cannot avoid.
const int kStreams = 5;
const int kWordBytes = 8;
const int kBlockBytes = kStreams * kWordBytes;

uint32_t g_table[256];
// g_stream[k][b]: byte b at place k of a word, carried over the rest of its
// block, i.e. the register b run over kBlockBytes - k zero bytes.
uint32_t g_stream[kWordBytes][256];

void BuildTables() {
  for (uint32_t i = 0; i < 256; ++i) {
    uint32_t c = i;
    for (int k = 0; k < 8; ++k) c = (c & 1) ? (c >> 1) ^ 0xEDB88320u : c >> 1;
    g_table[i] = c;
  }
  for (int k = 0; k < kWordBytes; ++k) {
    for (uint32_t i = 0; i < 256; ++i) {
      uint32_t c = i;
      for (int z = 0; z < kBlockBytes - k; ++z) c = g_table[c & 0xFF] ^ (c >> 8);
      g_stream[k][i] = c;
    }
  }
}

inline uint64_t LoadWord(const unsigned char* p) {
  uint64_t word;
  std::memcpy(&word, p, sizeof(word));
  // Little-endian on every platform this program runs on.
  return word;
}

// Eight bytes the classic way, the running CRC already folded into the word.
inline uint32_t FoldBytes(uint64_t word) {
  for (int k = 0; k < kWordBytes; ++k) word = (word >> 8) ^ g_table[word & 0xFF];
  return static_cast<uint32_t>(word);
}

// Written out: the compiler does not unroll the loop at the release options.
inline uint64_t CarryWord(uint64_t word) {
  return g_stream[0][word & 0xFF] ^ g_stream[1][(word >> 8) & 0xFF] ^
         g_stream[2][(word >> 16) & 0xFF] ^ g_stream[3][(word >> 24) & 0xFF] ^
         g_stream[4][(word >> 32) & 0xFF] ^ g_stream[5][(word >> 40) & 0xFF] ^
         g_stream[6][(word >> 48) & 0xFF] ^ g_stream[7][word >> 56];
}

}  // namespace

uint32_t Crc32Update(uint32_t crc, const void* bytes, int count) {
  // Built on first use: entry 1 is never 0 once the tables exist.
  if (g_table[1] == 0) BuildTables();
  const unsigned char* p = static_cast<const unsigned char*>(bytes);
  while (count > 0 && (reinterpret_cast<uintptr_t>(p) & 7) != 0) {
    crc = g_table[(crc ^ *p++) & 0xFF] ^ (crc >> 8);
    --count;
  }
  if (count >= kBlockBytes) {
    int blocks = count / kBlockBytes;
    count -= blocks * kBlockBytes;
    // Each stream's CRC of its own words; the bytes of the other streams
    // count as zeros to it, and the streams are joined in the last block.
    uint64_t s0 = crc, s1 = 0, s2 = 0, s3 = 0, s4 = 0;
    while (--blocks > 0) {
      const uint64_t w0 = s0 ^ LoadWord(p);
      const uint64_t w1 = s1 ^ LoadWord(p + 8);
      const uint64_t w2 = s2 ^ LoadWord(p + 16);
      const uint64_t w3 = s3 ^ LoadWord(p + 24);
      const uint64_t w4 = s4 ^ LoadWord(p + 32);
      p += kBlockBytes;
      s0 = CarryWord(w0);
      s1 = CarryWord(w1);
      s2 = CarryWord(w2);
      s3 = CarryWord(w3);
      s4 = CarryWord(w4);
    }
    uint32_t joined = FoldBytes(s0 ^ LoadWord(p));
    joined = FoldBytes(s1 ^ LoadWord(p + 8) ^ joined);
    joined = FoldBytes(s2 ^ LoadWord(p + 16) ^ joined);
    joined = FoldBytes(s3 ^ LoadWord(p + 24) ^ joined);
    crc = FoldBytes(s4 ^ LoadWord(p + 32) ^ joined);
    p += kBlockBytes;
  }
  while (count > 0) {
    crc = g_table[(crc ^ *p++) & 0xFF] ^ (crc >> 8);
    --count;
  }
  return crc;
}
