#include "platform/GamePath.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "InstallTestSupport.h"

using namespace morvo;

namespace fs = std::filesystem;

namespace {

// Names that could lead out of the game folder, as a hostile or broken container carries them.
const char* const kHostileNames[] = {
    "",
    "\\",
    "/etc/passwd",
    "\\Windows\\win.ini",
    "C:\\boot.ini",
    "C:game.dat",
    "c:/x",
    "\\\\server\\share\\x",
    "..",
    "..\\x",
    "a\\..\\..\\x",
    "a/../../x",
    "a\\..",
    "data\\",
    "a\\\\b",
    "file.txt:stream",
    "tab\tname",
    "line\nbreak",
    "nul\x01",
    "del\x7F",
    ".",
    ".\\",
    "link\\escaped.txt",
    "link\\..\\x",
    "deadlink\\x",
    "outlink",
};

TEST(GamePath, HostileNamesAreRefused) {
  GameFolder folder;
  fs::create_symlink(folder.outside(), folder / "link");
  fs::create_symlink(folder.outside() + "missing/", folder / "deadlink");
  WriteFile(folder.outside() + "canary", "canary");
  fs::create_symlink(folder.outside() + "canary", folder / "outlink");
  for (const char* name : kHostileNames) {
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

TEST(GamePath, FileNamesOfPaths) {
  EXPECT_EQ(WindowsFileName("a\\b/c.vka"), "c.vka");
  EXPECT_EQ(WindowsFileName("c.vka"), "c.vka");
  EXPECT_EQ(WindowsFileName("dir\\"), "");
  EXPECT_EQ(ShownFileName("/g/\xC3\xA9t\xC3\xA9.vka"), "\xE9t\xE9.vka");
  EXPECT_EQ(ShownFileName("/g/\xE6\x97\xA5.vka"), "\xE6\x97\xA5.vka");  // no Windows-1252 form
  EXPECT_EQ(WithoutControls("a\r\nb"), "a??b");
}

}  // namespace
