// The application path of the main program and the entry in the system's
// list of installed programs, both under HKEY_LOCAL_MACHINE.
#pragma once

// Writes the application path of Kelvox.exe beside the running program.
void RegisterAppPath();
// Writes the display name and the uninstall command of the running program.
void RegisterUninstaller();

// The same for the program at `programPath`, an absolute file name; nothing
// is written when no path can be formed from it.
void RegisterAppPathFor(const char* programPath);
void RegisterUninstallerFor(const char* programPath);

// `name` in the folder of `programPath`: the program's name part replaced.
// False, with `out` empty, when the program path has no folder part or the
// result does not fit `size` bytes; a bare name would resolve under the
// current folder.
bool ComposeSiblingPath(const char* programPath, const char* name, char* out, int size);

// The path in double quotes, so that a path with blanks is one argument when
// the system runs it as a command line. False, with `out` empty, when it does
// not fit or the path is empty.
bool QuotePath(const char* path, char* out, int size);
