// On Windows the file system itself ignores letter case: names are joined as given, with '\'.
#include <gtest/gtest.h>

#include <filesystem>

#include "InstallTestSupport.h"
#include "platform/FileSystem.h"
#include "platform/GamePath.h"

using namespace morvo;

namespace {

TEST(GamePath, SafeNamesResolveUnderTheRootAsGiven) {
  GameFolder folder;
  std::filesystem::create_directories(FsPath(folder / "Data/Maps"));
  WriteFile(folder / "Data/Maps/World.map", "w");
  const std::pair<const char*, std::string> cases[] = {
      {"readme.txt", "readme.txt"},
      {"DATA\\maps\\world.MAP", "DATA\\maps\\world.MAP"},
      {"data/MAPS/new.map", "data\\MAPS\\new.map"},
      {".\\data\\.\\x", "data\\x"},
      {"\xE9t\xE9.txt", "\xC3\xA9t\xC3\xA9.txt"},  // Windows-1252 becomes UTF-8
      {"a..b", "a..b"},
  };
  for (const auto& [name, expected] : cases) {
    EXPECT_EQ(ResolveGamePath(folder.game(), name), folder.game() + expected) << name;
  }
  // The name in another case reaches the existing file, not a twin of it.
  EXPECT_EQ(ReadFile(*ResolveGamePath(folder.game(), "DATA\\maps\\world.MAP")), "w");
}

// Names Windows would not store as given: a device (any case, any extension) would be opened
// instead of a file, and a trailing dot or blank would be dropped.
TEST(GamePath, NamesWindowsAltersAreRefused) {
  GameFolder folder;
  for (const char* name : {"CON", "nul.txt", "data\\Com1.dat", "LPT9", "aux\\x", "conout$", "name.",
                           "data.\\x", "trailing ", "..."}) {
    EXPECT_EQ(ResolveGamePath(folder.game(), name), std::nullopt) << name;
  }
  for (const char* name : {"console.txt", "com10", "nullable.dat", "lpt"}) {
    EXPECT_NE(ResolveGamePath(folder.game(), name), std::nullopt) << name;
  }
}

}  // namespace
