// Symbolic links and letter case, as a POSIX file system has them.
#include <gtest/gtest.h>

#include <filesystem>

#include "InstallTestSupport.h"
#include "platform/GamePath.h"

namespace fs = std::filesystem;

namespace {

TEST(GamePath, LinksLeadingOutsideAreRefused) {
  GameFolder folder;
  fs::create_symlink(folder.outside(), folder / "link");
  fs::create_symlink(folder.outside() + "missing/", folder / "deadlink");
  WriteFile(folder.outside() + "canary", "canary");
  fs::create_symlink(folder.outside() + "canary", folder / "outlink");
  for (const char* name : {"link\\escaped.txt", "deadlink\\x", "outlink", "LINK\\x"}) {
    EXPECT_EQ(ResolveGamePath(folder.game(), name), std::nullopt) << name;
  }
}

TEST(GamePath, SafeNamesResolveUnderTheRoot) {
  GameFolder folder;
  fs::create_directories(folder / "Data/Maps");
  WriteFile(folder / "Data/Maps/World.map", "w");
  fs::create_directory(folder / "inner");
  fs::create_symlink("inner", folder / "innerlink");  // a link that stays inside is fine
  const std::pair<const char*, std::string> cases[] = {
      {"readme.txt", "readme.txt"},
      {"DATA\\maps\\world.MAP", "Data/Maps/World.map"},  // existing names, any ASCII case
      {"data/MAPS/new.map", "Data/Maps/new.map"},
      {"data\\New\\deep\\x.bin", "Data/New/deep/x.bin"},
      {".\\data\\.\\x", "Data/x"},
      {"innerlink\\f", "innerlink/f"},
      {"\xE9t\xE9.txt", "\xC3\xA9t\xC3\xA9.txt"},  // Windows-1252 becomes UTF-8
      {"a..b", "a..b"},
      {"...", "..."},
  };
  for (const auto& [name, expected] : cases) {
    EXPECT_EQ(ResolveGamePath(folder.game(), name), folder.game() + expected) << name;
  }
}

TEST(GamePath, CaseFoldingIsAsciiOnlyAndDeterministic) {
  GameFolder folder;
  WriteFile(folder / "\xC3\xA9t\xC3\xA9.txt", "lower");  // "été" in UTF-8
  WriteFile(folder / "readme.TXT", "a");
  WriteFile(folder / "README.txt", "b");
  // É (0xC9) is not an ASCII letter: no match with é.
  EXPECT_EQ(ResolveGamePath(folder.game(), "\xC9T\xC9.TXT"), folder / "\xC3\x89T\xC3\x89.TXT");
  EXPECT_EQ(ResolveGamePath(folder.game(), "Readme.txt"), folder / "README.txt");
}

}  // namespace
