// The command-line switch scan. Every '/' or '-' anywhere in the argument
// text starts a switch, even inside a quoted path or a word.
#pragma once

// What the scan performs on the spot, in the order the switches stand.
class SwitchActions {
 public:
  virtual void Wait() = 0;
  virtual void Warning() = 0;

 protected:
  ~SwitchActions() = default;
};

struct SwitchScan {
  bool setupRequested = false;
  bool silent = false;
  // Every switch but /s counts; the uninstall job runs only when this is 0.
  int switchCount = 0;
};

SwitchScan ScanSwitches(const char* arguments, SwitchActions& actions);
