// The program-wide error record. Its one error is memory exhaustion, which
// ends the process at once: it happens only while the language file loads,
// before anything in the system has been changed.
#pragma once

class ErrorState {
 public:
  int code = 0;

  // Records the memory error and ends the process with exit code 8.
  [[noreturn]] void OutOfMemory();
};

extern ErrorState g_errorState;
