// Mapping of key paths onto the product settings key.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "registry/reg_path.h"
#include "support/config.h"

namespace {

struct PathCase {
  const char* name;
  RegRootKind root;
  std::string path;
  bool accepted;
  std::string expected;
};

TEST(MakeRegPath, MapsOntoTheProductKeyOnlyUnderTheCurrentUser) {
  const std::string long236(236, 'a');
  const std::string long237(237, 'a');
  const PathCase cases[] = {
      {"empty path is the product key", RegRootKind::CurrentUser, "", true, "Software\\Kelvox"},
      {"relative path", RegRootKind::CurrentUser, "Setup\\Links", true,
       "Software\\Kelvox\\Setup\\Links"},
      {"leading backslash addresses the root", RegRootKind::CurrentUser,
       "\\Software\\Wine\\X", true, "Software\\Wine\\X"},
      {"only one backslash is taken off", RegRootKind::CurrentUser, "\\\\Odd", true, "\\Odd"},
      {"lone backslash is the root itself", RegRootKind::CurrentUser, "\\", true, ""},
      {"other roots take the path unchanged", RegRootKind::Other, ".zip", true, ".zip"},
      {"other roots keep a leading backslash", RegRootKind::Other, "\\.zip", true, "\\.zip"},
      {"other roots keep the empty path", RegRootKind::Other, "", true, ""},
      {"236 characters under the user", RegRootKind::CurrentUser, long236, true,
       "Software\\Kelvox\\" + long236},
      {"236 characters elsewhere", RegRootKind::Other, long236, true, long236},
      {"237 characters under the user", RegRootKind::CurrentUser, long237, false, ""},
      {"237 characters elsewhere", RegRootKind::Other, long237, false, ""},
      {"237 characters with a backslash", RegRootKind::CurrentUser, "\\" + long236, false, ""},
  };
  for (const PathCase& c : cases) {
    SCOPED_TRACE(c.name);
    char out[config::kRegPathSize + 1];
    std::memset(out, 'G', sizeof(out));
    EXPECT_EQ(c.accepted, MakeRegPath(c.root, c.path.c_str(), out, config::kRegPathSize));
    if (c.accepted) {
      EXPECT_EQ(c.expected, std::string(out));
    } else {
      EXPECT_EQ('G', out[0]) << "a refused path leaves the output unwritten";
    }
    EXPECT_EQ('G', out[config::kRegPathSize]) << "guard byte after the buffer";
  }
}

TEST(MakeRegPath, TheLimitFollowsTheCapacity) {
  char out[64];
  std::memset(out, 'G', sizeof(out));
  const std::string fits(44, 'b');
  EXPECT_TRUE(MakeRegPath(RegRootKind::CurrentUser, fits.c_str(), out, sizeof(out)));
  EXPECT_EQ("Software\\Kelvox\\" + fits, std::string(out));
  EXPECT_FALSE(MakeRegPath(RegRootKind::Other, (fits + "b").c_str(), out, sizeof(out)));
  EXPECT_FALSE(MakeRegPath(RegRootKind::Other, "", out, config::kRegPathSpare));
  EXPECT_FALSE(MakeRegPath(RegRootKind::Other, nullptr, out, sizeof(out)));
}

}  // namespace
