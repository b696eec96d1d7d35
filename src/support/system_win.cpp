#include "support/system.h"

#include <windows.h>

void BuildLeadByteTable(LeadByteTable& table) {
  ClearLeadByteTable(table);
  CPINFO info;
  // A failed query leaves a single-byte table: every byte is its own character.
  if (!GetCPInfo(CP_ACP, &info)) return;
  table.flags[256] = info.MaxCharSize > 1 ? 1 : 0;
  for (int b = 0; b < 256; ++b) {
    table.flags[b] = IsDBCSLeadByte(static_cast<BYTE>(b)) ? 1 : 0;
  }
}

int CompareNoCase(const char* a, const char* b) {
  const int result = CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE | SORT_STRINGSORT,
                                    a, -1, b, -1);
  if (result == 0) return -2;
  return result - 2;
}

namespace {
int g_platformId = -1;
unsigned g_majorVersion = 0;
}  // namespace

unsigned NtMajorVersion() {
  if (g_platformId == -1) {
    OSVERSIONINFOA info;
    ZeroMemory(&info, sizeof(info));
    info.dwOSVersionInfoSize = sizeof(info);
    // A failed query counts as the NT family of the oldest supported version,
    // whose code paths are the ones every later system also accepts.
    if (GetVersionExA(&info)) {
      g_platformId = static_cast<int>(info.dwPlatformId);
      g_majorVersion = info.dwMajorVersion;
    } else {
      g_platformId = VER_PLATFORM_WIN32_NT;
      g_majorVersion = 4;
    }
  }
  return g_platformId == VER_PLATFORM_WIN32_NT ? g_majorVersion : 0;
}

void ResetNtMajorVersionCache() { g_platformId = -1; }
