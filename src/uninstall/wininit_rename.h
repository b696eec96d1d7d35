// The [Rename] section of wininit.ini, which the 9x family works through at
// the next start. Pure byte work.
#pragma once

// Adds the line "NUL=<value>" to the [Rename] section of the profile text
// `text` (`length` bytes, in a buffer of `capacity` bytes), after the lines
// already there; the section is added at the end when it is missing. Every
// other byte stays as it was, so no entry of this or another program is lost
// (the profile-writing call keeps only one value per key). False, with the
// text unchanged, when the result would not fit.
bool AddRenameEntry(char* text, int* length, int capacity, const char* value);
