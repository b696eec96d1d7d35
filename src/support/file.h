// Reading one file: open for shared reading, read, position, close.
// Silent: failures come back as results.
#pragma once

#include <cstdint>

class File {
 public:
  File() = default;
  File(const File&) = delete;
  File& operator=(const File&) = delete;
  virtual ~File();

  // Opens an existing file for reading; others may go on reading and writing it.
  bool OpenExisting(const char* name);
  // Bytes read, 0 at the end of the file, -1 on failure.
  int ReadBytes(void* buffer, int count);
  // The current position; the low 32 bits are all ones when it cannot be told.
  int64_t GetPosition();
  // Moves to a position from the start; failures are ignored.
  void SetPosition(int64_t position);
  // True when the close succeeded or nothing was open. Closed afterwards in any case.
  bool CloseFile();
  bool IsOpen() const;

 private:
  void* handle_ = reinterpret_cast<void*>(static_cast<intptr_t>(-1));
};

// True for an existing file or folder.
bool PathExists(const char* name);
