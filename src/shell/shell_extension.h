// Registration of the Explorer extension modules kvxext.dll and, for a 32-bit
// process on 64-bit Windows, kvxext64.dll. They are only registered here,
// never loaded.
#pragma once

#include "setup/setup_options.h"

// Registers the modules when flag 23 (shell integration) is on, removes their
// entries when it is off.
void SetShellExtension(const SetupOptions& options);

// Registers (enable) or removes the entries of one module: `moduleName` is a
// bare file name beside the running program, `classId` the braced CLSID.
// The CLSID keys are written only when the module file is there.
void RegisterShellModule(bool enable, const char* moduleName, const char* classId);

// True when the program runs as a 32-bit process on 64-bit Windows. The
// answer is asked once; while the system cannot tell, it is asked again.
bool IsWow64();

enum class Wow64State : unsigned char { Undetermined, No, Yes };
// For tests: the cached answer, and setting it (Undetermined asks again).
Wow64State GetWow64State();
void SetWow64State(Wow64State state);
