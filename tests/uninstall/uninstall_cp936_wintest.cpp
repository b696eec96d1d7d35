// The uninstall job in the double-byte code page 936, where the ANSI and OEM
// code pages are the same: names whose trail bytes look like backslashes.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "common/wine_helpers.h"
#include "uninstall/uninstall_support.h"

using namespace testing_support;
using namespace uninstall_testing;

namespace {

// One character, 0xB1 0x5C: its trail byte has the value of a backslash.
const char kTrailBackslash[] = "\xB1\x5C";
// Two more characters of the code page.
const char kChinese[] = "\xD0\xB6\xD4\xD8";

TEST(UninstallCp936, RunsInTheDoubleByteCodePage) {
  ASSERT_EQ(936u, GetACP());
  ASSERT_EQ(936u, GetOEMCP());
}

TEST(UninstallCp936, ScriptKeepsTheAnsiBytes) {
  const std::string name = std::string("uninstall-") + kChinese + kTrailBackslash + " 100%";
  Installation installation(name.c_str(), false);
  installation.WriteList("");
  ASSERT_EQ(0, installation.Run(" /s"));
  const std::string m = "\"" + installation.Program() + "\"";
  std::string folder = installation.Folder();
  std::string doubled;
  for (char c : folder) doubled += c == '%' ? std::string("%%") : std::string(1, c);
  const std::string script = ReadFileBytes(installation.Script());
  EXPECT_NE(std::string::npos, script.find("\r\nrd \"" + doubled + "\"\r\n")) << script;
  EXPECT_NE(std::string::npos, script.find(std::string(kChinese) + kTrailBackslash + " 100%%"));
}

TEST(UninstallCp936, RemovesNamesWithTrailBackslashBytes) {
  const std::string name = std::string("uninstall-") + kTrailBackslash + kChinese;
  Installation installation(name.c_str(), true);
  const std::string sub = std::string(kChinese) + kTrailBackslash;
  installation.AddFile(sub + "\\" + kTrailBackslash + ".txt");
  installation.AddFile(std::string(kTrailBackslash) + ".dat");
  installation.WriteList(sub + "\r\n" + sub + "\\" + kTrailBackslash + ".txt\r\n" +
                         kTrailBackslash + ".dat\r\nuninstall.exe\r\n");
  ASSERT_EQ(0, installation.Run(" /s"));
  ASSERT_TRUE(installation.WaitForScript());
  EXPECT_FALSE(Exists(installation.Program()));
  EXPECT_FALSE(Exists(installation.Folder()));
}

}  // namespace
