// Path and text helpers over NUL-terminated ANSI texts. Every walk steps over
// double-byte characters with the lead-byte table, so a trail byte with the
// value of a separator is never taken for one. Nothing here allocates.
#pragma once

struct LeadByteTable {
  // Entries 0-255: the byte is a lead byte of the system ANSI code page.
  // Entry 256: the code page has characters longer than one byte.
  unsigned char flags[257];
};

// The program-wide table, built before anything else (BuildLeadByteTable).
extern LeadByteTable g_leadBytes;

// Fills the table for a double-byte code page whose lead bytes run from
// `first` to `last`; a table for tests and for hosts without code pages.
void FillLeadByteRange(LeadByteTable& table, unsigned char first, unsigned char last);
void ClearLeadByteTable(LeadByteTable& table);

// One byte further, or two after a lead byte. A lead byte directly before the
// terminator steps onto the terminator, never past it.
const char* NextChar(const LeadByteTable& table, const char* position);
char* NextChar(const LeadByteTable& table, char* position);

inline bool IsPathSeparator(char c) { return c == '\\' || c == '/'; }

// Start of the name part: after the last separator, after "X:" of a drive
// relative name, else the start of the path.
const char* NamePosition(const char* path);
char* NamePosition(char* path);

// Start of the last character; the start (the terminator) for an empty text.
const char* LastCharPosition(const char* text);
char* LastCharPosition(char* text);

// Appends a backslash unless the path is empty or already ends in one.
// Returns false, changing nothing, when the buffer of `size` bytes is full.
bool AppendBackslash(char* path, int size);

// Cuts the name part off: C:\dir\name -> C:\dir, C:\name -> C:\, name -> "".
void CutToFolder(char* path);

// Removes trailing tabs, line feeds, carriage returns and spaces.
char* TrimTrailingBlanks(char* text);

// Copies at most size - 1 bytes and always terminates; never cuts a
// double-byte character in half. Returns false when the text was cut.
bool CopyText(char* destination, int size, const char* source);

// Appends with the same rule as CopyText; on false the destination holds as
// much as fits.
bool AppendText(char* destination, int size, const char* source);

// Appends, or changes nothing and returns false when the whole text does not fit.
bool AppendWhole(char* destination, int size, const char* source);
