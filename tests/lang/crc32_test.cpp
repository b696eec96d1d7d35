// CRC-32 of the language file keys, against a plain bit-wise reference.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "lang/crc32.h"

namespace {

// One bit at a time, straight from the polynomial: shares nothing with the
// table-driven code under test.
uint32_t ReferenceUpdate(uint32_t crc, const unsigned char* p, size_t n) {
  for (size_t i = 0; i < n; ++i) {
    crc ^= p[i];
    for (int k = 0; k < 8; ++k) crc = (crc & 1) ? (crc >> 1) ^ 0xEDB88320u : crc >> 1;
  }
  return crc;
}

uint32_t Whole(const std::string& s) {
  return ~Crc32Update(0xFFFFFFFFu, s.data(), static_cast<int>(s.size()));
}

TEST(Crc32Update, KnownValues) {
  const struct {
    const char* name;
    std::string bytes;
    uint32_t expected;
  } cases[] = {
      {"check value", "123456789", 0xCBF43926u},
      {"empty", "", 0x00000000u},
      {"string kind of Hello", "sHello", 0x0D87A053u},
      {"dialog scale of SETUPDLG", "$SETUPDLG", 0x9B889D24u},
      {"right-to-left probe", "$LTRLTR", 0x50A17AE8u},
      {"kind alone", "s", 0x1B0ECF0Bu},
      {"NUL byte counts", std::string("\0", 1), 0xD202EF8Du},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.expected, Whole(c.bytes));
  }
}

TEST(Crc32Update, NoBytesLeaveTheRunningValueAlone) {
  const char byte = 'x';
  for (uint32_t crc : {0u, 0xFFFFFFFFu, 0x12345678u}) {
    EXPECT_EQ(crc, Crc32Update(crc, &byte, 0));
    EXPECT_EQ(crc, Crc32Update(crc, &byte, -5));
  }
}

// The word-at-a-time path starts only at an 8-byte boundary: every start
// offset and every length up to several words must give the byte-wise value.
TEST(Crc32Update, EqualsReferenceAtEveryAlignmentAndLength) {
  std::mt19937 random(20240601u);
  alignas(16) unsigned char buffer[16 + 300];
  for (auto& b : buffer) b = static_cast<unsigned char>(random());
  for (int start = 0; start < 16; ++start) {
    for (int length = 0; length <= 300 - 16; ++length) {
      for (uint32_t seed : {0xFFFFFFFFu, 0x0u}) {
        const uint32_t expected = ReferenceUpdate(seed, buffer + start, length);
        const uint32_t actual = Crc32Update(seed, buffer + start, length);
        if (expected != actual) {
          ADD_FAILURE() << "start " << start << " length " << length << " seed " << seed
                        << ": expected " << std::hex << expected << " got " << actual;
          return;
        }
      }
    }
  }
}

TEST(Crc32Update, SplitRunsChainToTheWholeValue) {
  std::vector<unsigned char> data(4099);
  std::mt19937 random(7u);
  for (auto& b : data) b = static_cast<unsigned char>(random());
  const uint32_t whole = ReferenceUpdate(0xFFFFFFFFu, data.data(), data.size());
  for (size_t cut : {size_t{0}, size_t{1}, size_t{7}, size_t{8}, size_t{9}, size_t{2048},
                     size_t{4095}, data.size()}) {
    SCOPED_TRACE(cut);
    uint32_t crc = Crc32Update(0xFFFFFFFFu, data.data(), static_cast<int>(cut));
    crc = Crc32Update(crc, data.data() + cut, static_cast<int>(data.size() - cut));
    EXPECT_EQ(whole, crc);
  }
}

TEST(Crc32Update, AllByteValues) {
  unsigned char all[256];
  for (int i = 0; i < 256; ++i) all[i] = static_cast<unsigned char>(i);
  EXPECT_EQ(0x29058C73u, ~Crc32Update(0xFFFFFFFFu, all, 256));
  EXPECT_EQ(ReferenceUpdate(0xFFFFFFFFu, all, 256), Crc32Update(0xFFFFFFFFu, all, 256));
}

}  // namespace
