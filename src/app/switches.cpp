#include "app/switches.h"

namespace {

char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool IsAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// Compares only as many characters as the word has, so /waiting is /wait.
bool StartsWithWord(const char* text, const char* word) {
  for (; *word; ++text, ++word) {
    if (AsciiLower(*text) != *word) return false;
  }
  return true;
}

const char* FindSwitchStart(const char* p) {
  for (; *p; ++p) {
    if (*p == '/' || *p == '-') return p;
  }
  return nullptr;
}

}  // namespace

SwitchScan ScanSwitches(const char* arguments, SwitchActions& actions) {
  SwitchScan scan;
  const char* position = arguments;
  while (const char* start = FindSwitchStart(position)) {
    const char* s = start + 1;
    // The next search starts right after the switch character, so a second
    // '-' directly after a first one is a switch of its own.
    position = s;
    if (StartsWithWord(s, "setup")) {
      scan.setupRequested = true;
      ++scan.switchCount;
    } else if (AsciiLower(s[0]) == 's' && !IsAsciiLetter(s[1])) {
      scan.silent = true;
    } else if (StartsWithWord(s, "wait")) {
      actions.Wait();
      ++scan.switchCount;
    } else if (StartsWithWord(s, "warning")) {
      actions.Warning();
      ++scan.switchCount;
    } else {
      ++scan.switchCount;
    }
  }
  return scan;
}
