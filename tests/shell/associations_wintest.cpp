// Taking the archive extensions over and giving them back, against Wine's real
// HKEY_CLASSES_ROOT. Every extension key the operations may touch is captured
// first, cleared for the test and put back exactly afterwards; the product
// settings key lives in a private stand-in for HKEY_CURRENT_USER.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "common/wine_helpers.h"
#include "registry/registry.h"
#include "registry/registry_test_support.h"
#include "setup/setup_options.h"
#include "shell/associations.h"

using namespace registry_test;
using testing_support::Exists;
using testing_support::ReadFileBytes;
using testing_support::WriteFileBytes;

namespace {

const char* const kExtensions[] = {".kvx", ".zip", ".cab", ".arj", ".lzh", ".lha",
                                   ".ace", ".7z",  ".tar", ".gz",  ".tgz", ".uue",
                                   ".xxe", ".uu",  ".bz2", ".tbz2", ".bz", ".tbz",
                                   ".jar", ".iso", ".z",   ".taz"};

const std::string kOwnTemplate("Kvx!\x1A\x07\x00\xCF\x90\x73\x00\x00\x0D\0\0\0\0\0\0\0", 20);
const std::string kZipTemplate = std::string("PK\x05\x06", 4) + std::string(18, '\0');

std::string Volume(int n) {
  char text[8];
  std::snprintf(text, sizeof(text), ".k%02d", n);
  return text;
}

std::string ModuleFolder() {
  char path[MAX_PATH];
  GetModuleFileNameA(nullptr, path, sizeof(path));
  std::string folder = path;
  return folder.substr(0, folder.rfind('\\') + 1);
}

SetupOptions Options(bool groupsOn, bool shellIntegration) {
  SetupOptions options;
  std::memset(&options, 0, sizeof(options));
  for (int i = 0; i < setup_option::kExtensionGroupCount; ++i) options.flags[i] = groupsOn;
  options.flags[setup_option::kShellIntegration] = shellIntegration;
  return options;
}

std::string Text(const RawValue& value) {
  if (!value.present) return "<missing>";
  return std::string(value.bytes.c_str());
}

class Associations : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* extension : kExtensions) Save(extension);
    for (int n = 0; n < 100; ++n) Save(Volume(n));
    RemoveTemplateFiles();
  }
  void TearDown() override {
    saved_.clear();  // Restores every captured key.
    RemoveTemplateFiles();
  }
  void Save(const std::string& key) {
    saved_.push_back(std::make_unique<SavedTree>(HKEY_CLASSES_ROOT, key));
    RawDeleteTree(HKEY_CLASSES_ROOT, key);
  }
  static void RemoveTemplateFiles() {
    DeleteFileA((ModuleFolder() + "kvxnew.dat").c_str());
    DeleteFileA((ModuleFolder() + "zipnew.dat").c_str());
  }
  static std::string Saved(const char* extension, const char* value) {
    return Text(ReadRaw(HKEY_CURRENT_USER, std::string("Software\\Kelvox\\Setup\\") + extension,
                        value));
  }
  static std::string Hkcr(const std::string& key, const char* value) {
    return Text(ReadRaw(HKEY_CLASSES_ROOT, key, value));
  }

  ScratchUserRoot user_{"associations"};
  std::vector<std::unique_ptr<SavedTree>> saved_;
};

TEST_F(Associations, TakeOverAndGiveBackRestoreEveryKindOfPreviousOwner) {
  // .kvx, .7z and the rest: no key at all.
  WriteRawString(HKEY_CLASSES_ROOT, ".zip", "", "OtherZip");
  WriteRawString(HKEY_CLASSES_ROOT, ".zip\\ShellNew", "FileName", "C:\\other\\empty.zip");
  WriteRawString(HKEY_CLASSES_ROOT, ".cab", "", "CabFolder");
  WriteRawString(HKEY_CLASSES_ROOT, ".cab", "Content Type", "application/vnd.ms-cab-compressed");
  WriteRawString(HKEY_CLASSES_ROOT, ".arj", "", "ArjFile");
  WriteRawString(HKEY_CLASSES_ROOT, ".arj\\ShellNew", "NullFile", "");
  WriteRawString(HKEY_CLASSES_ROOT, ".lzh", "", "LzhFile");
  WriteRawString(HKEY_CLASSES_ROOT, ".lzh\\ShellNew", "FileName", "lzh.tpl");
  WriteRawString(HKEY_CLASSES_ROOT, ".lha", "", "LhaFile");
  WriteRawString(HKEY_CLASSES_ROOT, ".tar", "Content Type", "application/x-tar");
  WriteRawString(HKEY_CLASSES_ROOT, ".tar\\ShellNew", "NullFile", "");
  // .ace is owned by an earlier installation whose record names our own class.
  WriteRawString(HKEY_CLASSES_ROOT, ".ace", "", "Kelvox");
  WriteRawString(HKEY_CLASSES_ROOT, ".ace", "Content Type", "application/x-ace");
  WriteRawString(HKEY_CURRENT_USER, "Software\\Kelvox\\Setup\\.ace", "Type", "kELVOX.zip");
  WriteRawString(HKEY_CURRENT_USER, "Software\\Kelvox\\Setup\\.ace", "Content", "");
  WriteRaw(HKEY_CURRENT_USER, "Software\\Kelvox\\Setup\\.ace", "Exist", REG_DWORD,
           std::string("\1\0\0\0", 4));

  std::vector<std::string> before;
  for (const char* extension : kExtensions) before.push_back(Export(HKEY_CLASSES_ROOT, extension));

  SetAssociations(Options(true, true));

  for (const char* extension : kExtensions) {
    SCOPED_TRACE(extension);
    EXPECT_EQ(std::strcmp(extension, ".zip") == 0 ? "Kelvox.ZIP" : "Kelvox", Hkcr(extension, ""));
    EXPECT_EQ("<missing>", Hkcr(extension, "Content Type"));
  }
  struct Record {
    const char* extension;
    const char* exist;
    const char* type;
    const char* content;
    const char* shellNew;
  };
  const Record records[] = {
      {".kvx", "\x00", "", "", ""},
      {".zip", "\x01", "OtherZip", "", "C:\\other\\empty.zip"},
      {".cab", "\x01", "CabFolder", "application/vnd.ms-cab-compressed", ""},
      {".arj", "\x01", "ArjFile", "", "*"},
      {".lzh", "\x01", "LzhFile", "", "lzh.tpl"},
      {".tar", "\x01", "", "application/x-tar", "*"},
      {".ace", "\x01", "kELVOX.zip", "", "<missing>"},
  };
  for (const Record& r : records) {
    SCOPED_TRACE(r.extension);
    const RawValue exist =
        ReadRaw(HKEY_CURRENT_USER, std::string("Software\\Kelvox\\Setup\\") + r.extension, "Exist");
    EXPECT_EQ(static_cast<DWORD>(REG_DWORD), exist.type);
    EXPECT_EQ(std::string(r.exist, 1) + std::string(3, '\0'), exist.bytes);
    EXPECT_EQ(r.type, Saved(r.extension, "Type"));
    EXPECT_EQ(r.content, Saved(r.extension, "Content"));
    EXPECT_EQ(r.shellNew, Saved(r.extension, "ShellNew"));
  }
  // Volume extensions on the NT family: .k00 to .k29.
  for (int n = 0; n < 100; ++n) {
    SCOPED_TRACE(Volume(n));
    EXPECT_EQ(n < 30 ? "Kelvox" : "<missing>", Hkcr(Volume(n), ""));
  }
  // New-file templates as files beside the program.
  EXPECT_EQ(ModuleFolder() + "kvxnew.dat", Hkcr(".kvx\\ShellNew", "FileName"));
  EXPECT_EQ(ModuleFolder() + "zipnew.dat", Hkcr(".zip\\ShellNew", "FileName"));
  EXPECT_EQ(kOwnTemplate, ReadFileBytes(ModuleFolder() + "kvxnew.dat"));
  EXPECT_EQ(kZipTemplate, ReadFileBytes(ModuleFolder() + "zipnew.dat"));
  EXPECT_FALSE(ReadRaw(HKEY_CLASSES_ROOT, ".cab\\ShellNew", "FileName").present);

  // A second setup keeps the record of the first take-over.
  const std::string records1 = Export(HKEY_CURRENT_USER, "Software\\Kelvox\\Setup");
  SetAssociations(Options(true, true));
  EXPECT_EQ(records1, Export(HKEY_CURRENT_USER, "Software\\Kelvox\\Setup"));

  // Meanwhile another program takes .lha.
  WriteRawString(HKEY_CLASSES_ROOT, ".lha", "", "OtherLha");
  WriteRawString(HKEY_CLASSES_ROOT, ".lha", "Content Type", "application/x-lha");
  const std::string lhaMeddled = Export(HKEY_CLASSES_ROOT, ".lha");

  SetAssociations(Options(false, true));

  for (size_t i = 0; i < sizeof(kExtensions) / sizeof(kExtensions[0]); ++i) {
    const std::string extension = kExtensions[i];
    SCOPED_TRACE(extension);
    const std::string after = Export(HKEY_CLASSES_ROOT, extension);
    if (extension == ".lha") {
      EXPECT_EQ(lhaMeddled, after);
    } else if (extension == ".tar") {
      // The record keeps no difference between a missing and an empty class
      // name: both come back as the empty text, the same "no class" to the shell.
      EXPECT_EQ("[.tar]\n\"\"=1:00\n" + before[i].substr(7), after);
    } else if (extension == ".ace") {
      // A saved type naming our own class is given back as the empty text.
      EXPECT_EQ("[.ace]\n\"\"=1:00\n", after);
    } else {
      EXPECT_EQ(before[i], after);
    }
  }
  for (int n = 0; n < 100; ++n) EXPECT_EQ("-", Export(HKEY_CLASSES_ROOT, Volume(n))) << n;
}

TEST_F(Associations, GiveBackWithoutARecordEmptiesTheOwnedExtension) {
  WriteRawString(HKEY_CLASSES_ROOT, ".kvx", "", "KELVOX");
  WriteRawString(HKEY_CLASSES_ROOT, ".kvx", "Content Type", "x/y");
  WriteRawString(HKEY_CLASSES_ROOT, ".kvx\\ShellNew", "FileName", "C:\\x\\kvxnew.dat");
  for (int n = 0; n < 100; n += 7) WriteRawString(HKEY_CLASSES_ROOT, Volume(n), "", "Kelvox");
  AssociateExtension(".kvx", false, true, true, false);
  EXPECT_EQ("[.kvx]\n\"\"=1:00\n", Export(HKEY_CLASSES_ROOT, ".kvx"));
  for (int n = 0; n < 100; ++n) EXPECT_FALSE(RawKeyExists(HKEY_CLASSES_ROOT, Volume(n))) << n;
}

TEST_F(Associations, GiveBackLeavesAnotherOwnerAndItsVolumesAlone) {
  WriteRawString(HKEY_CLASSES_ROOT, ".kvx", "", "SomeoneElse");
  WriteRawString(HKEY_CLASSES_ROOT, Volume(3), "", "Kelvox");
  WriteRawString(HKEY_CURRENT_USER, "Software\\Kelvox\\Setup\\.kvx", "Type", "Old");
  const std::string kvx = Export(HKEY_CLASSES_ROOT, ".kvx");
  AssociateExtension(".kvx", false, true, true, false);
  EXPECT_EQ(kvx, Export(HKEY_CLASSES_ROOT, ".kvx"));
  EXPECT_EQ("Kelvox", Hkcr(Volume(3), ""));
}

TEST_F(Associations, GiveBackPointsTheVolumesAtThePreviousType) {
  WriteRawString(HKEY_CLASSES_ROOT, ".kvx", "", "OldKvx");
  WriteRawString(HKEY_CLASSES_ROOT, ".kvx", "Content Type", "application/x-kvx");
  AssociateExtension(".kvx", true, false, true, false);
  AssociateExtension(".kvx", false, false, true, false);
  EXPECT_EQ("OldKvx", Hkcr(".kvx", ""));
  EXPECT_EQ("application/x-kvx", Hkcr(".kvx", "Content Type"));
  for (int n = 0; n < 100; ++n) {
    SCOPED_TRACE(n);
    EXPECT_EQ("OldKvx", Hkcr(Volume(n), ""));
    EXPECT_EQ("application/x-kvx", Hkcr(Volume(n), "Content Type"));
  }
}

TEST_F(Associations, WithoutShellIntegrationTheNewFileKeyIsUntouched) {
  WriteRawString(HKEY_CLASSES_ROOT, ".zip\\ShellNew", "Command", "other.exe /new");
  const std::string shellNew = Export(HKEY_CLASSES_ROOT, ".zip\\ShellNew");
  SetAssociations(Options(true, false));
  EXPECT_EQ("Kelvox.ZIP", Hkcr(".zip", ""));
  EXPECT_EQ(shellNew, Export(HKEY_CLASSES_ROOT, ".zip\\ShellNew"));
  EXPECT_EQ("-", Export(HKEY_CLASSES_ROOT, ".kvx\\ShellNew"));
  EXPECT_FALSE(Exists(ModuleFolder() + "kvxnew.dat"));
  SetAssociations(Options(false, false));
  EXPECT_EQ(shellNew, Export(HKEY_CLASSES_ROOT, ".zip\\ShellNew"));
}

TEST_F(Associations, AnExistingTemplateFileIsNeverRewritten) {
  WriteFileBytes(ModuleFolder() + "kvxnew.dat", "mine");
  AssociateExtension(".kvx", true, true, true, false);
  EXPECT_EQ("mine", ReadFileBytes(ModuleFolder() + "kvxnew.dat"));
  EXPECT_EQ(ModuleFolder() + "kvxnew.dat", Hkcr(".kvx\\ShellNew", "FileName"));
  AssociateExtension(".kvx", false, true, true, false);
}

TEST_F(Associations, AGroupGivesBackEachExtensionOnItsOwn) {
  SetAssociations(Options(true, false));
  WriteRawString(HKEY_CLASSES_ROOT, ".lha", "", "OtherLha");
  SetupOptions options = Options(true, false);
  options.flags[4] = 0;  // .lzh.lha
  SetAssociations(options);
  EXPECT_EQ("-", Export(HKEY_CLASSES_ROOT, ".lzh"));
  EXPECT_EQ("OtherLha", Hkcr(".lha", ""));
  EXPECT_EQ("Kelvox", Hkcr(".z", ""));
  EXPECT_EQ("Kelvox", Hkcr(".taz", ""));
  EXPECT_TRUE(IsOwnedExtension(".taz"));
  EXPECT_FALSE(IsOwnedExtension(".lha"));
  SetAssociations(Options(false, false));
}

// Runs in a copy of this program under another Windows version, from a
// scratch folder: takes .kvx and .zip over with the new-file templates.
TEST(VersionDriver, Associations) {
  const std::string task = DriverEnv(kDriverTask);
  if (task.empty()) GTEST_SKIP() << "runs only as a driver";
  DriverUserRoot user;
  const OSVERSIONINFOA info = SeenVersion();
  SetRegDword(kReportKey, "Platform", info.dwPlatformId);
  SetRegDword(kReportKey, "Version", info.dwMajorVersion * 100 + info.dwMinorVersion);
  SetAssociations([] {
    SetupOptions options;
    std::memset(&options, 0, sizeof(options));
    options.flags[0] = options.flags[1] = options.flags[setup_option::kShellIntegration] = 1;
    return options;
  }());
}

TEST_F(Associations, VolumesAndTemplatesFollowTheWindowsVersion) {
  struct Case {
    const char* version;
    DWORD reported;  // major * 100 + minor
    int volumes;
    bool templateFile;
  };
  const Case cases[] = {
      {"win95", 400, 100, false},
      {"win98", 410, 100, false},
      {"winme", 490, 100, true},
      {"win2k", 500, 30, true},
      {"winxp", 501, 30, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.version);
    testing_support::ScratchFolder folder("associations-versions");
    ASSERT_EQ(0, RunUnderVersion(c.version, folder.Path(), "VersionDriver.Associations",
                                 "takeover", user_));
    EXPECT_EQ(c.reported, GetRegDword(kReportKey, "Version", 0));
    EXPECT_EQ("Kelvox", Hkcr(".kvx", ""));
    EXPECT_EQ("Kelvox.ZIP", Hkcr(".zip", ""));
    for (int n = 0; n < 100; ++n) {
      EXPECT_EQ(n < c.volumes ? "Kelvox" : "<missing>", Hkcr(Volume(n), "")) << n;
    }
    const std::string kvxFile = folder / "kvxnew.dat";
    const std::string zipFile = folder / "zipnew.dat";
    if (c.templateFile) {
      EXPECT_EQ(kvxFile, Hkcr(".kvx\\ShellNew", "FileName"));
      EXPECT_EQ(zipFile, Hkcr(".zip\\ShellNew", "FileName"));
      EXPECT_EQ(kOwnTemplate, ReadFileBytes(kvxFile));
      EXPECT_EQ(kZipTemplate, ReadFileBytes(zipFile));
      EXPECT_FALSE(ReadRaw(HKEY_CLASSES_ROOT, ".kvx\\ShellNew", "Data").present);
    } else {
      const RawValue own = ReadRaw(HKEY_CLASSES_ROOT, ".kvx\\ShellNew", "Data");
      const RawValue zip = ReadRaw(HKEY_CLASSES_ROOT, ".zip\\ShellNew", "Data");
      EXPECT_EQ(static_cast<DWORD>(REG_BINARY), own.type);
      EXPECT_EQ(kOwnTemplate, own.bytes);
      EXPECT_EQ(static_cast<DWORD>(REG_BINARY), zip.type);
      EXPECT_EQ(kZipTemplate, zip.bytes);
      EXPECT_FALSE(Exists(kvxFile));
      EXPECT_FALSE(ReadRaw(HKEY_CLASSES_ROOT, ".kvx\\ShellNew", "FileName").present);
    }
    // Giving back, here on the NT family, handles all 100 volume extensions.
    SetAssociations(Options(false, true));
    EXPECT_EQ("-", Export(HKEY_CLASSES_ROOT, ".kvx"));
    EXPECT_EQ("-", Export(HKEY_CLASSES_ROOT, ".zip"));
    for (int n = 0; n < 100; ++n) EXPECT_FALSE(RawKeyExists(HKEY_CLASSES_ROOT, Volume(n))) << n;
    RawDeleteTree(HKEY_CURRENT_USER, "Software\\Kelvox");
  }
}

}  // namespace
