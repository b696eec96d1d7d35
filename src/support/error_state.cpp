#include "support/error_state.h"

#include <cstdlib>

#include "support/config.h"

[[noreturn]] void ErrorState::OutOfMemory() {
  code = config::kOutOfMemoryCode;
  // No handler, no unwinding and no destructors: nothing else may run once
  // memory is gone, and nothing needs undoing.
  std::_Exit(code);
}

ErrorState g_errorState;
