// The desktop link, the Start-menu link and the "Kelvox" program groups of
// the user and, on the NT family, of all users.
#pragma once

#include "setup/setup_options.h"

// Brings the links in line with flags 20 (desktop), 21 (Start menu) and 22
// (program groups): a flag on creates, a flag off deletes. With flag 22 on,
// `groupFolder` (config::kPathSize bytes, or null) receives the user's group
// folder; otherwise it is left alone. A special folder the shell cannot name
// is skipped. Every failure is silent.
void SetShortcuts(const SetupOptions& options, char* groupFolder);

// Saves a link to `target` with `description` (or none) at `linkPath`,
// replacing a file there. False when the link object is unavailable, the link
// path is not absolute or has more than 259 characters, or saving failed.
bool CreateShortcut(const char* target, const char* linkPath, const char* description);

// The user's desktop folder. False, with `path` empty, when the shell names
// none or it does not fit `size` bytes.
bool GetDesktopFolder(char* path, int size);

// Deletes the folder with everything in it, for good. False when it does not
// exist, is not an absolute path below a root, or the shell reports failure.
bool DeleteFolderTree(const char* folder);

// True for "X:\..." and "\\server\...": paths that do not depend on the
// current drive or folder.
bool IsFullPath(const char* path);

// `folder`, a backslash unless it ends in one, and `name`. False, with `out`
// empty, when the folder is not a full path or the result does not fit.
bool ComposeChildPath(const char* folder, const char* name, char* out, int size);
