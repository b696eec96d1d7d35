// Mapping of registry key paths onto the product settings key; pure text work.
#pragma once

// Which kind of root a path belongs to: only HKEY_CURRENT_USER paths are
// taken relative to the product settings key.
enum class RegRootKind : unsigned char { Other, CurrentUser };

// Writes the path as the platform is to see it. Under the current user a path
// that does not begin with a backslash is relative to Software\Kelvox (the
// empty path is that key itself); a leading backslash addresses the root.
// Other roots take the path unchanged. A path longer than capacity - 20 is
// refused: false, and the output is left unwritten.
bool MakeRegPath(RegRootKind root, const char* path, char* out, int capacity);
