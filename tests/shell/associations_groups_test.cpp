// The extension groups, the class-name test and the new-file templates.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "shell/associations_groups.h"
#include "support/config.h"

namespace {

using namespace associations;

std::vector<std::string> Split(const char* group) {
  std::vector<std::string> out;
  const char* rest = group;
  while (rest != nullptr) {
    char extension[config::kExtensionSize + 1];
    std::memset(extension, 'G', sizeof(extension));
    rest = NextExtension(rest, extension, config::kExtensionSize);
    EXPECT_EQ('G', extension[config::kExtensionSize]);
    out.push_back(extension);
    if (out.size() > 10) break;
  }
  return out;
}

TEST(ExtensionGroups, SplitIntoSingleExtensionsInOrder) {
  struct Case {
    int group;
    std::vector<std::string> extensions;
  };
  const Case cases[] = {
      {0, {".kvx"}},
      {1, {".zip"}},
      {4, {".lzh", ".lha"}},
      {6, {".7z"}},
      {8, {".gz", ".tgz"}},
      {9, {".uue", ".xxe", ".uu"}},
      {10, {".bz2", ".tbz2", ".bz", ".tbz"}},
      {13, {".z", ".taz"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(kGroupTexts[c.group]);
    EXPECT_EQ(c.extensions, Split(kGroupTexts[c.group]));
  }
  const char* const expected[kGroupCount] = {
      ".kvx", ".zip", ".cab", ".arj", ".lzh.lha", ".ace", ".7z", ".tar",
      ".gz.tgz", ".uue.xxe.uu", ".bz2.tbz2.bz.tbz", ".jar", ".iso", ".z.taz"};
  for (int i = 0; i < kGroupCount; ++i) EXPECT_STREQ(expected[i], kGroupTexts[i]) << i;
}

TEST(ExtensionGroups, ATextLongerThanTheBufferIsCutSafely) {
  const std::string text = "." + std::string(80, 'x') + ".y";
  char extension[16];
  std::memset(extension, 'G', sizeof(extension));
  const char* rest = NextExtension(text.c_str(), extension, 10);
  EXPECT_EQ(std::string(".xxxxxxxx"), extension);
  EXPECT_EQ('G', extension[10]);
  ASSERT_NE(nullptr, rest);
  EXPECT_STREQ(".y", rest);
}

TEST(ProductClassName, IgnoresTheCaseOfAsciiLettersOnly) {
  struct Case {
    const char* text;
    bool product;
  };
  const Case cases[] = {
      {"Kelvox", true},      {"KELVOX", true},          {"kelvox.zip", true},
      {"Kelvox.ZIP", true},  {"kElVoX.ZiP", true},      {"Kelvox.REV", false},
      {"Kelvox ", false},    {"Kelvo", false},          {"", false},
      {"Kelvox.ZIPx", false}, {"WinOther.zip", false},  {"K\xC9LVOX", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(c.product, IsProductClassName(c.text));
  }
}

TEST(VolumeExtensions, HaveTwoDigits) {
  char out[6];
  std::memset(out, 'G', sizeof(out));
  FormatVolumeExtension(0, out);
  EXPECT_STREQ(".k00", out);
  EXPECT_EQ('G', out[5]);
  FormatVolumeExtension(7, out);
  EXPECT_STREQ(".k07", out);
  FormatVolumeExtension(29, out);
  EXPECT_STREQ(".k29", out);
  FormatVolumeExtension(99, out);
  EXPECT_STREQ(".k99", out);
}

// Nothing else in this program arms the templates, so the unarmed state is
// still there when this runs.
TEST(NewFileTemplates, CarryNoSignatureUntilArmedThenTheExactBytes) {
  const unsigned char own[kOwnTemplateSize] = {0x4B, 0x76, 0x78, 0x21, 0x1A, 0x07, 0x00,
                                               0xCF, 0x90, 0x73, 0x00, 0x00, 0x0D, 0x00,
                                               0x00, 0x00, 0x00, 0x00, 0x00, 0x00};
  const unsigned char zip[kZipTemplateSize] = {0x50, 0x4B, 0x05, 0x06};
  EXPECT_EQ(0, g_ownTemplate[0]);
  EXPECT_EQ(0, g_zipTemplate[0]);
  EXPECT_EQ(0, std::memcmp(own + 1, g_ownTemplate + 1, kOwnTemplateSize - 1));
  EXPECT_EQ(0, std::memcmp(zip + 1, g_zipTemplate + 1, kZipTemplateSize - 1));
  ArmTemplates();
  EXPECT_EQ(0, std::memcmp(own, g_ownTemplate, kOwnTemplateSize));
  EXPECT_EQ(0, std::memcmp(zip, g_zipTemplate, kZipTemplateSize));
  static_assert(kOwnTemplateSize == 20 && kZipTemplateSize == 22, "template sizes");
}

}  // namespace
