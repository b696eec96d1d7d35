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

// Registry: a mapped key path; the 20 spare leave room for the
// Software\Kelvox\ prefix and the terminator, so paths of at most 236
// characters are accepted under any root.
constexpr int kRegPathSize = 256;
constexpr int kRegPathSpare = 20;
// Recursive key deletion: a subkey name (longer ones end the enumeration) and
// a child path (one that does not fit is skipped).
constexpr int kRegSubkeyNameSize = 200;
constexpr int kRegChildPathSize = 512;

// Associations: one extension of a group text; a saved class name or MIME
// type; the class name read by the ownership test; a NullFile value.
constexpr int kExtensionSize = 52;
constexpr int kRegTextSize = 512;
constexpr int kOwnerTypeSize = 80;
constexpr int kNullFileSize = 10;
// Old-style volume extensions .k00-: how many at take-over on each family.
constexpr int kVolumeExtensionsNt = 30;
constexpr int kVolumeExtensions9x = 100;

// File types: a text derived from the program path (quotes, "%1", ",0").
constexpr int kCommandSize = 1056;

// Uninstall list: a line and its trailing blanks; a longer line is skipped
// whole, never cut into pieces that could name other files. Lines are read
// in blocks of this many bytes.
constexpr int kListLineSize = 2048;
constexpr int kListReadBlock = 16384;
// Free temporary names tried for a file in use: name.0.tmp to name.999.tmp.
constexpr int kTempNameTries = 1000;
// wininit.ini is read whole to add a [Rename] line; a larger file is left as
// it is rather than cut.
constexpr int kWininitSize = 65536;
// Self-removal script: 19 paths of at most 1023 bytes, each % doubled, and
// the fixed text (under 300 bytes) always fit.
constexpr int kScriptSize = 40960;
// Interpreter, " /c ", the quoted script path and the terminator.
constexpr int kCommandLineSize = 2 * kPathSize + 8;

// Shortcuts: a link path is handed to the link object as UTF-16 in this many
// wide characters, terminator included, so it has at most 259 characters.
constexpr int kLinkPathChars = 260;
// A folder path as a list of one name for the shell's deletion: the path, its
// terminator and the second terminator that ends the list.
constexpr int kPathListSize = kPathSize + 1;

}  // namespace config
