// CRC-32 as zlib and PNG compute it (reflected 0xEDB88320). The caller starts
// from 0xFFFFFFFF and complements the end result.
#pragma once

#include <cstdint>

uint32_t Crc32Update(uint32_t crc, const void* bytes, int count);
