// Speed of the language file code: the CRC-32 against zlib's on the same
// buffer, and a full 65536-byte section loaded and every entry translated.
#include <benchmark/benchmark.h>
#include <zlib.h>

#include <cstdint>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "lang/crc32.h"
#include "lang/language_file.h"

namespace {

const size_t kCrcBytes = 1 << 20;

const std::vector<unsigned char>& CrcData() {
  static const std::vector<unsigned char> data = [] {
    std::vector<unsigned char> bytes(kCrcBytes + 8);
    std::mt19937 random(1u);
    for (auto& b : bytes) b = static_cast<unsigned char>(random());
    return bytes;
  }();
  return data;
}

// The argument is the start offset, to include the unaligned lead-in.
void BM_Crc32Update(benchmark::State& state) {
  const unsigned char* data = CrcData().data() + state.range(0);
  for (auto _ : state) {
    uint32_t crc = ~Crc32Update(0xFFFFFFFFu, data, static_cast<int>(kCrcBytes));
    benchmark::DoNotOptimize(crc);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * kCrcBytes);
}
BENCHMARK(BM_Crc32Update)->Arg(0)->Arg(3);

void BM_ZlibCrc32(benchmark::State& state) {
  const unsigned char* data = CrcData().data() + state.range(0);
  for (auto _ : state) {
    uLong crc = crc32(0L, data, static_cast<uInt>(kCrcBytes));
    benchmark::DoNotOptimize(crc);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * kCrcBytes);
}
BENCHMARK(BM_ZlibCrc32)->Arg(0)->Arg(3);

// A section of as many entries as fit in 65536 bytes (about 2,000), in key
// order unlike the file's own order, with the source texts to look up.
struct Section {
  std::string bytes;
  std::vector<std::string> texts;
};

const Section& FullSection() {
  static const Section section = [] {
    Section s;
    s.bytes = "; language file\r\n***messages***\r\n";
    for (int i = 0;; ++i) {
      char text[64];
      char line[96];
      std::snprintf(text, sizeof(text), "Menu item number %d", i);
      char key[16];
      LanguageResources::MakeKey(key, text, "SETUPDLG", TextKind::Dialog);
      std::snprintf(line, sizeof(line), "%s=\"Eintrag Nr. %06d\\t\"\r\n", key, i);
      if (s.bytes.size() + std::string(line).size() > 65536) break;
      s.bytes += line;
      s.texts.push_back(text);
    }
    return s;
  }();
  return section;
}

void TranslateAll(const LanguageResources& resources, const Section& section) {
  char destination[512];
  for (const auto& text : section.texts) {
    resources.TranslateText(destination, sizeof(destination), text.c_str(), "SETUPDLG",
                            TextKind::Dialog);
    benchmark::DoNotOptimize(destination);
  }
}

void BM_LoadSection(benchmark::State& state) {
  const Section& section = FullSection();
  for (auto _ : state) {
    LanguageResources resources;
    resources.LoadSectionFromBytes(section.bytes.data(), static_cast<int>(section.bytes.size()));
    benchmark::DoNotOptimize(resources.IndexCount());
  }
  state.counters["entries"] = static_cast<double>(section.texts.size());
}
BENCHMARK(BM_LoadSection)->Unit(benchmark::kMicrosecond);

void BM_TranslateEveryEntry(benchmark::State& state) {
  const Section& section = FullSection();
  LanguageResources resources;
  resources.LoadSectionFromBytes(section.bytes.data(), static_cast<int>(section.bytes.size()));
  for (auto _ : state) TranslateAll(resources, section);
  state.counters["entries"] = static_cast<double>(section.texts.size());
}
BENCHMARK(BM_TranslateEveryEntry)->Unit(benchmark::kMicrosecond);

// What start-up and a program's worth of lookups cost together.
void BM_LoadAndTranslateEveryEntry(benchmark::State& state) {
  const Section& section = FullSection();
  for (auto _ : state) {
    LanguageResources resources;
    resources.LoadSectionFromBytes(section.bytes.data(), static_cast<int>(section.bytes.size()));
    TranslateAll(resources, section);
  }
  state.counters["entries"] = static_cast<double>(section.texts.size());
}
BENCHMARK(BM_LoadAndTranslateEveryEntry)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
