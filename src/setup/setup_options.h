// The user's integration choices: 26 one-byte flags, 0 off and 1 on.
#pragma once

struct SetupOptions {
  // 0-13: the archive extension groups (".kvx", ".zip", ".cab", ".arj", ".lzh",
  // ".ace", ".7z", ".tar", ".gz", ".uue", ".bz2", ".jar", ".iso", ".z");
  // 14-19 reserved, always 0; then the named flags below.
  unsigned char flags[26];
};

namespace setup_option {
constexpr int kExtensionGroupCount = 14;
constexpr int kDesktopLink = 20;
constexpr int kStartMenuLink = 21;
constexpr int kProgramGroup = 22;
constexpr int kShellIntegration = 23;
constexpr int kCascadedMenu = 24;
constexpr int kMenuIcons = 25;
}  // namespace setup_option

static_assert(sizeof(SetupOptions) == 26, "one byte a flag");
