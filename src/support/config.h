// Every fixed bound of the program, in one place.
#pragma once

namespace config {

// Paths and window texts: the module file name, list entries, link paths.
constexpr int kPathSize = 1024;
// One localised string (GetLocalString) and the /warning message.
constexpr int kStringSize = 512;
// Rotating string buffers: a result stays valid through the next seven calls.
constexpr int kStringBufferCount = 8;
// The /wait pause, long enough for the first process to have ended.
constexpr unsigned kWaitMilliseconds = 2000;

// Language file: marker search and the message section.
constexpr int kMarkerBlockSize = 8192;
constexpr int kMarkerBlockCount = 64;
constexpr int kMarkerOverlap = 16;
constexpr int kSectionSize = 65536;
// Slack after the section so a terminator always fits.
constexpr int kSectionSlack = 1024;
// A last line with no line end yields at most this many bytes.
constexpr int kLastLineSpan = 255;

// File::ReadBytes: a character device or pipe that refuses a large read is
// asked again for this many bytes.
constexpr int kDeviceReadRetry = 20000;

// Exit code of the memory-exhaustion stop.
constexpr int kOutOfMemoryCode = 8;

}  // namespace config
