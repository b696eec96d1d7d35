// GetLocalString in this process: the module layer and the rotating buffers.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "common/wine_helpers.h"
#include "lang/local_strings.h"

using namespace testing_support;

namespace {

// The program's own strings come from the real uninstall.exe, loaded as data.
class LocalStrings : public ::testing::Test {
 protected:
  void SetUp() override {
    program_ = LoadLibraryExA(ProgramUnderTest().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(nullptr, program_);
    char text[512];
    LoadStringA(program_, 5104, text, sizeof(text));
    ownCaption_ = text;
    LoadStringA(program_, 5105, text, sizeof(text));
    ownDone_ = text;
  }
  void TearDown() override {
    g_extResource.Unload();
    DeleteFileA(module_.c_str());
    FreeLibrary(program_);
  }
  void LoadWithModule(const char* moduleFile) {
    if (moduleFile) {
      ASSERT_TRUE(CopyFileA((TestFolder() + moduleFile).c_str(), module_.c_str(), FALSE));
    }
    g_extResource.LoadModule(program_);
  }

  HMODULE program_ = nullptr;
  std::string ownCaption_;
  std::string ownDone_;
  const std::string module_ = TestFolder() + "kvxlng.dll";
};

TEST_F(LocalStrings, WithoutModuleTheProgramsOwn) {
  LoadWithModule(nullptr);
  EXPECT_FALSE(g_extResource.IsLoaded());
  EXPECT_EQ(program_, ResourceModule);
  EXPECT_EQ(ownCaption_, GetLocalString(5104));
  EXPECT_STREQ("https://www.kelvox.example/", GetLocalString(5112));
  EXPECT_STREQ("", GetLocalString(4242)) << "an id that exists nowhere";
}

TEST_F(LocalStrings, ModuleFirstThenOwnForMissingIds) {
  LoadWithModule("kvxrtl.dll");
  ASSERT_TRUE(g_extResource.IsLoaded());
  EXPECT_NE(program_, ResourceModule);
  EXPECT_STREQ("RTL caption", GetLocalString(5104));
  EXPECT_EQ(ownDone_, GetLocalString(5105)) << "the module lacks 5105";

  g_extResource.Unload();
  EXPECT_EQ(program_, ResourceModule);
  EXPECT_EQ(ownCaption_, GetLocalString(5104));
  g_extResource.Unload();
  EXPECT_EQ(program_, ResourceModule);
  EXPECT_EQ(ownCaption_, GetLocalString(5104));
  // Unloaded for real: the file can be deleted now.
  EXPECT_TRUE(DeleteFileA(module_.c_str())) << GetLastError();
}

TEST_F(LocalStrings, EnglishModuleCarriesEveryString) {
  LoadWithModule("..\\kvxlng.dll");
  ASSERT_TRUE(g_extResource.IsLoaded());
  EXPECT_STREQ("Uninstall Kelvox", GetLocalString(5104));
  for (UINT id = 5101; id <= 5114; ++id) {
    SCOPED_TRACE(id);
    char own[512];
    LoadStringA(ResourceModule, id, own, sizeof(own));
    EXPECT_STRNE("", own);
  }
  EXPECT_TRUE(LoadIconA(ResourceModule, "KVXICON") != nullptr);
}

TEST_F(LocalStrings, EightBuffersRotate) {
  LoadWithModule(nullptr);
  const char* results[9];
  for (int i = 0; i < 9; ++i) results[i] = GetLocalString(5101 + i);
  EXPECT_EQ(results[0], results[8]) << "the ninth call reuses the first buffer";
  char expected[512];
  for (int i = 1; i < 8; ++i) {
    SCOPED_TRACE(i);
    EXPECT_NE(results[0], results[i]);
    LoadStringA(program_, 5101 + i, expected, sizeof(expected));
    EXPECT_STREQ(expected, results[i]) << "calls two to eight stay intact";
  }
  LoadStringA(program_, 5109, expected, sizeof(expected));
  EXPECT_STREQ(expected, results[0]);
}

}  // namespace
