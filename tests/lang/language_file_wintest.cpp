// Loading uninstall.lng from real files: the block-wise marker search and the
// right-to-left decision.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "common/wine_helpers.h"
#include "lang/language_file.h"
#include "lang/local_strings.h"

using namespace testing_support;

namespace {

const std::string kMarker = "***messages***";
const std::string kEntry = "0d87a053=\"Hallo\"\r\n";  // sHello

std::string Translate(const LanguageResources& language, const char* text) {
  char out[512];
  language.TranslateText(out, sizeof(out), text, nullptr, TextKind::String);
  return out;
}

struct MarkerCase {
  const char* name;
  std::string bytes;
  bool loaded;
  bool hasEntry;
};

TEST(LanguageFile, MarkerSearchOverBlocks) {
  const MarkerCase cases[] = {
      {"only the marker, 14 bytes", kMarker, false, false},
      {"marker and CR LF, 16 bytes", kMarker + "\r\n", true, false},
      {"marker then entry", kMarker + "\r\n" + kEntry, true, true},
      {"text before the marker", "; comment\r\n" + kMarker + "\r\n" + kEntry, true, true},
      {"marker in the last 15 bytes", std::string(100, 'x') + kMarker + "\r", false, false},
      {"marker across the first block edge", std::string(8180, 'x') + kMarker + "\r\n" + kEntry, true, true},
      {"last position examined", std::string(523264, 'x') + kMarker + "\r\n" + kEntry, true, true},
      {"one byte further", std::string(523265, 'x') + kMarker + "\r\n" + kEntry, false, false},
      {"two trailing asterisks", "***messages**\r\n" + kEntry, true, true},
      {"two leading asterisks", "**messages***\r\n" + kEntry, false, false},
  };
  ScratchFolder folder("lng-marker");
  const std::string path = folder / "uninstall.lng";
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    WriteFileBytes(path, c.bytes);
    LanguageResources language;
    language.Init(path.c_str());
    EXPECT_EQ(c.loaded, language.IsLoaded());
    EXPECT_EQ(c.hasEntry ? "Hallo" : "Hello", Translate(language, "Hello"));
    EXPECT_FALSE(language.RightToLeft);
  }
}

TEST(LanguageFile, MissingFileLoadsNothing) {
  ScratchFolder folder("lng-missing");
  LanguageResources language;
  language.Init((folder / "uninstall.lng").c_str());
  EXPECT_FALSE(language.IsLoaded());
  EXPECT_EQ("Hello", Translate(language, "Hello"));
}

TEST(LanguageFile, SectionIsAtMost65536BytesFromTheMarker) {
  ScratchFolder folder("lng-limit");
  const std::string head = kMarker + "\r\n";
  // The entry starts just inside the limit and is cut by it.
  std::string bytes = head + std::string(65536 - head.size() - 20, ';') + "\r\n";
  bytes += "0d87a053=\"Hallo there, this translation runs past the limit\"\r\n";
  WriteFileBytes(folder / "uninstall.lng", bytes);
  LanguageResources language;
  language.Init((folder / "uninstall.lng").c_str());
  ASSERT_TRUE(language.IsLoaded());
  EXPECT_EQ(65536, language.SectionLength());
  EXPECT_EQ("Hallo th", Translate(language, "Hello"));
}

TEST(LanguageFile, BareNameIsLookedForBesideTheProgram) {
  const std::string path = TestFolder() + "kvxtest-beside.lng";
  WriteFileBytes(path, kMarker + "\r\n" + kEntry);
  LanguageResources language;
  language.Init("kvxtest-beside.lng");
  DeleteFileA(path.c_str());
  EXPECT_EQ("Hallo", Translate(language, "Hello"));
}

TEST(RightToLeft, FromTheFileEntryExactly) {
  struct {
    const char* translation;
    bool rightToLeft;
  } const cases[] = {{"RTL", true}, {"rtl", false}, {"LTR", false}, {"RTL ", false}};
  ScratchFolder folder("lng-rtl");
  for (const auto& c : cases) {
    SCOPED_TRACE(c.translation);
    WriteFileBytes(folder / "uninstall.lng",
                   kMarker + "\r\n50a17ae8=\"" + c.translation + "\"\r\n");
    LanguageResources language;
    language.Init((folder / "uninstall.lng").c_str());
    EXPECT_EQ(c.rightToLeft, language.RightToLeft);
  }
}

TEST(RightToLeft, FromTheLanguageModuleWithoutAFile) {
  const std::string module = TestFolder() + "kvxlng.dll";
  ASSERT_TRUE(CopyFileA((TestFolder() + "kvxrtl.dll").c_str(), module.c_str(), FALSE));
  g_extResource.LoadModule(GetModuleHandleA(nullptr));
  ASSERT_TRUE(g_extResource.IsLoaded());
  LanguageResources withModule;
  withModule.Init("kvxtest-none.lng");
  g_extResource.Unload();
  DeleteFileA(module.c_str());
  EXPECT_TRUE(withModule.RightToLeft);

  LanguageResources withoutModule;
  withoutModule.Init("kvxtest-none.lng");
  EXPECT_FALSE(withoutModule.RightToLeft);
}

}  // namespace
