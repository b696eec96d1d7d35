// The uninstall job: list processing, the self-removal script and the
// cleanup of the system integration.
#pragma once

#include "support/config.h"

// Full path of the running program, set by RunUninstall; the script deletes it.
extern char UninstallProgramPath[config::kPathSize];
// The installation folder without a trailing backslash, set by RunUninstall.
extern char UninstallFolder[config::kPathSize];

// The whole job: confirmation, list, cleanup, passes, restart notice, script.
// Ends without touching anything when the program's folder is a drive root or
// cannot be made the current directory.
void RunUninstall();

// Writes Uninstall_Kvx.Bat into the temporary folder and starts it hidden.
void WriteSelfRemovalScript();

// Gives back what setup registered: associations, shell extension, shortcuts,
// file types, uninstall entry, application path, settings key.
void RemoveSystemIntegration();
