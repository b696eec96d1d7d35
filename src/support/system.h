// Queries of the running system: code page, locale comparison, platform family.
#pragma once

#include "support/text.h"

// Fills the table from the system ANSI code page.
void BuildLeadByteTable(LeadByteTable& table);

// Locale-aware, case-insensitive comparison for the user's default locale:
// -1, 0 or +1; -2 when the system cannot compare (callers take it as unequal).
int CompareNoCase(const char* a, const char* b);

// The major version on the NT family, 0 on the 9x family; asked once.
unsigned NtMajorVersion();

// Forgets the cached answer, so a test can ask again under another version.
void ResetNtMajorVersionCache();
