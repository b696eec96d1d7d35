// The switch scan over argument texts as the entry receives them.
#include <gtest/gtest.h>

#include <string>

#include "app/switches.h"

namespace {

class RecordingActions final : public SwitchActions {
 public:
  void Wait() override { log += "W"; }
  void Warning() override { log += "M"; }
  std::string log;
};

struct SwitchCase {
  const char* arguments;
  bool setup;
  bool silent;
  int count;
  const char* actions;  // W = wait, M = warning message, in order
};

TEST(ScanSwitches, TableOfArgumentTexts) {
  const SwitchCase cases[] = {
      // Uninstall runs when the count is 0.
      {"", false, false, 0, ""},
      {"/s", false, true, 0, ""},
      {"/S", false, true, 0, ""},
      {"-s", false, true, 0, ""},
      {"/s1", false, true, 0, ""},
      {"/s /s", false, true, 0, ""},
      {"-s\\dir", false, true, 0, ""},
      {"C:\\folder-s\\x", false, true, 0, ""},
      // Unrecognised switches count and stop both jobs.
      {"/sx", false, false, 1, ""},
      {"\"C:\\my-files\"", false, false, 1, ""},
      {"/", false, false, 1, ""},
      {"--s", false, true, 1, ""},
      {"/x /y", false, false, 2, ""},
      // Setup.
      {"-SETUP", true, false, 1, ""},
      {"/Setup", true, false, 1, ""},
      {"/setupfoo", true, false, 1, ""},
      {"/setup /s", true, true, 1, ""},
      {"/setu", false, false, 1, ""},
      // On-the-spot jobs, in the order they stand.
      {"/wait", false, false, 1, "W"},
      {"/WAITING", false, false, 1, "W"},
      {"/wait /warning", false, false, 2, "WM"},
      {"/warnings -wait", false, false, 2, "MW"},
      {"/warn", false, false, 1, ""},
      {"/wai", false, false, 1, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.arguments);
    RecordingActions actions;
    const SwitchScan scan = ScanSwitches(c.arguments, actions);
    EXPECT_EQ(c.setup, scan.setupRequested);
    EXPECT_EQ(c.silent, scan.silent);
    EXPECT_EQ(c.count, scan.switchCount);
    EXPECT_EQ(c.actions, actions.log);
  }
}

TEST(ScanSwitches, SwitchAtTheVeryEndReadsNothingPastTheText) {
  // A heap copy of exactly the text's size lets AddressSanitizer see any read
  // beyond the terminator.
  const char* texts[] = {"/", "-s", "/S", "/setu", "-wai", "/warnin"};
  for (const char* text : texts) {
    SCOPED_TRACE(text);
    std::string copy(text);
    char* exact = new char[copy.size() + 1];
    copy.copy(exact, copy.size());
    exact[copy.size()] = '\0';
    RecordingActions actions;
    const SwitchScan scan = ScanSwitches(exact, actions);
    EXPECT_EQ(1, scan.switchCount + (scan.silent ? 1 : 0));
    delete[] exact;
  }
}

}  // namespace
