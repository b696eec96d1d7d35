// Native tests: the program-wide lead-byte table set for one test, a
// single-byte one restored afterwards.
#pragma once

#include "support/text.h"

class CodePage {
 public:
  // Double-byte: lead bytes 0x81 to 0xFE, as in code page 936.
  explicit CodePage(bool doubleByte) {
    if (doubleByte) FillLeadByteRange(g_leadBytes, 0x81, 0xFE);
    else ClearLeadByteTable(g_leadBytes);
  }
  ~CodePage() { ClearLeadByteTable(g_leadBytes); }
  CodePage(const CodePage&) = delete;
  CodePage& operator=(const CodePage&) = delete;
};
