// The text of the self-removal script Uninstall_Kvx.Bat. Pure byte work.
#pragma once

// Writes the whole script into `destination` (`size` bytes, terminated):
// the first line for the platform family (`ntFamily`), five attempt blocks
// and the end block; lines end in CR LF, the last one has no line end. The
// paths are written as given, each quoted, with every % doubled so that the
// interpreter reads the path back unchanged. Returns the script's length, or
// -1 when it does not fit (then nothing is to be written).
int BuildSelfRemovalScript(char* destination, int size, bool ntFamily, const char* program,
                           const char* folder, const char* script);
