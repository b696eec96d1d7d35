// The bytes of the self-removal script.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "support/config.h"
#include "uninstall/script_text.h"

namespace {

std::string Attempts(const std::string& m, const std::string& d) {
  std::string block = "del \"" + m + "\"\r\nrd \"" + d + "\"\r\nif not exist \"" + m +
                      "\" goto done\r\n";
  return block + block + block + block + block;
}

std::string Build(bool nt, const char* m, const char* d, const char* p) {
  static char text[config::kScriptSize];
  const int length = BuildSelfRemovalScript(text, sizeof(text), nt, m, d, p);
  EXPECT_GE(length, 0);
  EXPECT_EQ(static_cast<size_t>(length), std::strlen(text));
  return std::string(text, length < 0 ? 0 : length);
}

TEST(SelfRemovalScript, LinesOfBothFamilies) {
  const char* m = "C:\\Program Files\\Kelvox\\uninstall.exe";
  const char* d = "C:\\Program Files\\Kelvox";
  const char* p = "C:\\TEMP\\Uninstall_Kvx.Bat";
  const std::string tail = ":done\r\nif exist \"" + std::string(m) + "\" \"" + m +
                           "\" /warning\r\ndel \"" + p + "\"";
  EXPECT_EQ("\"" + std::string(m) + "\" /wait\r\n" + Attempts(m, d) + tail, Build(true, m, d, p));
  EXPECT_EQ("start /wait \"" + std::string(m) + "\" /wait\r\n" + Attempts(m, d) + tail,
            Build(false, m, d, p));
}

TEST(SelfRemovalScript, PercentSignsAreDoubledAndNothingElseChanges) {
  const std::string m = "C:\\100%\\%TEMP%\\un^&!.exe";
  const std::string d = "C:\\100%\\%TEMP%";
  const std::string p = "C:\\t%x\\Uninstall_Kvx.Bat";
  const std::string script = Build(true, m.c_str(), d.c_str(), p.c_str());
  EXPECT_EQ(0u, script.find("\"C:\\100%%\\%%TEMP%%\\un^&!.exe\" /wait\r\n"));
  EXPECT_NE(std::string::npos, script.find("\r\nrd \"C:\\100%%\\%%TEMP%%\"\r\n"));
  // Read back as the interpreter does (%% gives %), it is the plain script.
  std::string readBack;
  for (size_t i = 0; i < script.size(); ++i) {
    readBack += script[i];
    if (script[i] == '%') {
      ASSERT_LT(i + 1, script.size());
      EXPECT_EQ('%', script[i + 1]) << "lone % at " << i;
      ++i;
    }
  }
  EXPECT_EQ("\"" + m + "\" /wait\r\n" + Attempts(m, d) + ":done\r\nif exist \"" + m + "\" \"" + m +
                "\" /warning\r\ndel \"" + p + "\"",
            readBack);
}

TEST(SelfRemovalScript, BytesAboveAsciiPassUnchanged) {
  // OEM or double-byte bytes are the caller's; the builder copies them.
  const std::string m = "C:\\caf\x82\\\xB1\x5C\\u.exe";
  const std::string script = Build(true, m.c_str(), "C:\\caf\x82\\\xB1\x5C", "C:\\T\\s.bat");
  EXPECT_EQ(0u, script.find("\"" + m + "\" /wait\r\n"));
}

TEST(SelfRemovalScript, LongestPathsFitTheScriptBuffer) {
  // Paths of 1023 bytes made of % only: the largest script there can be.
  const std::string longest(1023, '%');
  static char text[config::kScriptSize];
  EXPECT_GT(BuildSelfRemovalScript(text, sizeof(text), false, longest.c_str(), longest.c_str(),
                                   longest.c_str()),
            19 * 2046);
}

TEST(SelfRemovalScript, TooSmallBufferGivesNothingAndStaysInside) {
  const char* m = "C:\\K\\uninstall.exe";
  const int full = static_cast<int>(Build(true, m, "C:\\K", "C:\\T\\s.bat").size());
  for (int size : {1, 10, full, full + 1}) {
    SCOPED_TRACE(size);
    std::string buffer(size + 8, '#');
    const int length = BuildSelfRemovalScript(&buffer[0], size, true, m, "C:\\K", "C:\\T\\s.bat");
    EXPECT_EQ(size == full + 1 ? full : -1, length);
    if (length < 0) {
      EXPECT_EQ('\0', buffer[0]);
    }
    EXPECT_EQ(std::string(8, '#'), buffer.substr(size));
  }
}

}  // namespace
