#include "support/file.h"

#include <windows.h>

#include "support/config.h"

File::~File() { CloseFile(); }

bool File::IsOpen() const { return handle_ != INVALID_HANDLE_VALUE; }

bool File::OpenExisting(const char* name) {
  HANDLE h = CreateFileA(name, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                         OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  handle_ = h;
  return true;
}

int File::ReadBytes(void* buffer, int count) {
  if (count < 0) return -1;
  DWORD got = 0;
  if (ReadFile(handle_, buffer, static_cast<DWORD>(count), &got, nullptr))
    return static_cast<int>(got);
  // Consoles and pipes refuse large reads; ask them once more for less.
  if (count > config::kDeviceReadRetry) {
    const DWORD type = GetFileType(handle_);
    if (type == FILE_TYPE_CHAR || type == FILE_TYPE_PIPE) {
      got = 0;
      if (ReadFile(handle_, buffer, config::kDeviceReadRetry, &got, nullptr))
        return static_cast<int>(got);
    }
  }
  return -1;
}

int64_t File::GetPosition() {
  LONG high = 0;
  const DWORD low = SetFilePointer(handle_, 0, &high, FILE_CURRENT);
  return (static_cast<int64_t>(high) << 32) + low;
}

void File::SetPosition(int64_t position) {
  if (!IsOpen()) return;
  LONG high = static_cast<LONG>(position >> 32);
  SetFilePointer(handle_, static_cast<LONG>(position & 0xFFFFFFFF), &high, FILE_BEGIN);
}

bool File::CloseFile() {
  if (!IsOpen()) return true;
  const BOOL closed = CloseHandle(handle_);
  handle_ = INVALID_HANDLE_VALUE;
  return closed != FALSE;
}

bool PathExists(const char* name) {
  return GetFileAttributesA(name) != INVALID_FILE_ATTRIBUTES;
}
