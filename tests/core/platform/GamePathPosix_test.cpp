// Symbolic links and letter case, as a POSIX file system has them.
#include <gtest/gtest.h>

#include <filesystem>

#include "InstallTestSupport.h"
#include "platform/GamePath.h"

using namespace morvo;

namespace fs = std::filesystem;

namespace {

TEST(GamePath, LinksLeadingOutsideAreRefused) {
  GameFolder folder;
  fs::create_symlink(folder.outside(), folder / "link");
  fs::create_symlink(folder.outside() + "missing/", folder / "deadlink");
  WriteFile(folder.outside() + "canary", "canary");
  fs::create_symlink(folder.outside() + "canary", folder / "outlink");
  fs::create_symlink(".", folder / "rootlink");  // back to the root: not to the launcher's files
  for (const char* name : {"link\\escaped.txt", "deadlink\\x", "outlink", "LINK\\x",
                           "rootlink\\MorvoPatchsList.ini", "ROOTLINK\\morvotmpvka.vka"}) {
    EXPECT_EQ(ResolveGamePath(folder.game(), name), std::nullopt) << name;
  }
}

TEST(GamePath, SafeNamesResolveUnderTheRoot) {
  GameFolder folder;
  fs::create_directories(folder / "Data/Maps");
  WriteFile(folder / "Data/Maps/World.map", "w");
  fs::create_directory(folder / "inner");
  fs::create_symlink("inner", folder / "innerlink");  // a link that stays inside is fine
  fs::create_symlink(".", folder / "rootlink");
  const std::pair<const char*, std::string> cases[] = {
      {"readme.txt", "readme.txt"},
      {"DATA\\maps\\world.MAP", "Data/Maps/World.map"},  // existing names, any ASCII case
      {"data/MAPS/new.map", "Data/Maps/new.map"},
      {"data\\New\\deep\\x.bin", "Data/New/deep/x.bin"},
      {".\\data\\.\\x", "Data/x"},
      {"innerlink\\f", "innerlink/f"},
      {"\xE9t\xE9.txt", "\xC3\xA9t\xC3\xA9.txt"},  // Windows-1252 becomes UTF-8
      {"a..b", "a..b"},
      {"console.txt", "console.txt"},
      {"com10.txt", "com10.txt"},
      {"Data\\MorvoPatchsList.ini", "Data/MorvoPatchsList.ini"},  // not the register
      {"Morvo.txt", "Morvo.txt"},
      {"rootlink\\readme.txt", "rootlink/readme.txt"},
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

TEST(GamePath, LiesDirectlyInFollowsLinks) {
  GameFolder folder;
  fs::create_directory(folder / "sub");
  WriteFile(folder.outside() + "canary", "canary");
  fs::create_symlink(folder.outside() + "canary", folder / "MorvoTMPout.pak");
  fs::create_symlink(folder.outside() + "missing", folder / "MorvoTMPdangling.pak");
  fs::create_symlink("kept.txt", folder / "MorvoTMPrenamed.pak");
  fs::create_symlink(".", folder / "self");
  WriteFile(folder / "kept.txt", "k");

  EXPECT_TRUE(LiesDirectlyIn(folder / "MorvoTMPnew.pak", folder.game()));
  EXPECT_TRUE(LiesDirectlyIn(folder / "kept.txt", folder.game()));
  EXPECT_TRUE(LiesDirectlyIn(folder / "self/x.pak", folder.game()));  // the same folder
  EXPECT_FALSE(LiesDirectlyIn(folder / "sub/x.pak", folder.game()));
  EXPECT_FALSE(LiesDirectlyIn(folder / "MorvoTMPout.pak", folder.game()));
  EXPECT_FALSE(LiesDirectlyIn(folder / "MorvoTMPdangling.pak", folder.game()));
  EXPECT_FALSE(LiesDirectlyIn(folder / "MorvoTMPrenamed.pak", folder.game()));
  EXPECT_FALSE(LiesDirectlyIn(folder / "x.pak", folder.outside() + "missing/"));
}

}  // namespace

// Listings kept from one name to the next: what is recorded as created is found in any case,
// the first in name order wins, and an entry gone since the listing sends the search to the disk.
TEST(GamePath, KeptListingsFollowTheFolder) {
  GameFolder folder;
  WriteFile(folder / "b.txt", "b");
  FolderListings listings;
  EXPECT_EQ(ResolveGamePath(folder.game(), "New\\x", &listings), folder / "New/x");
  fs::create_directory(folder / "New");
  WriteFile(folder / "New/x", "x");
  WriteFile(folder / "B.txt", "B");
  listings.Added(folder.game(), folder / "New/x");
  listings.Added(folder.game(), folder / "B.txt");
  EXPECT_EQ(ResolveGamePath(folder.game(), "NEW\\X", &listings), folder / "New/x");
  EXPECT_EQ(ResolveGamePath(folder.game(), "b.TXT", &listings), folder / "B.txt");

  fs::remove(folder / "B.txt");
  fs::remove(folder / "b.txt");
  WriteFile(folder / "b.Txt", "t");
  EXPECT_EQ(ResolveGamePath(folder.game(), "B.TXT", &listings), folder / "b.Txt");
}

// Whether the entry is there decides whether an update keeps its permission bits: a listed
// folder answers for new names, and must never call an existing entry new.
TEST(GamePath, TellsWhetherTheEntryIsThere) {
  GameFolder folder;
  WriteFile(folder / "Old.txt", "o");
  fs::create_directory(folder / "Sub");
  FolderListings listings;
  bool exists = false;
  EXPECT_EQ(ResolveGamePath(folder.game(), "old.TXT", &listings, &exists), folder / "Old.txt");
  EXPECT_TRUE(exists);
  EXPECT_EQ(ResolveGamePath(folder.game(), "new.txt", &listings, &exists), folder / "new.txt");
  EXPECT_FALSE(exists);
  ASSERT_NE(listings.Find(folder.game()), nullptr);
  for (const char* name : {"Old.txt", "OLD.TXT", "sub"}) {
    exists = false;
    EXPECT_TRUE(ResolveGamePath(folder.game(), name, &listings, &exists).has_value()) << name;
    EXPECT_TRUE(exists) << name;
  }
  EXPECT_EQ(ResolveGamePath(folder.game(), "SUB\\x\\y.txt", &listings, &exists),
            folder / "Sub/x/y.txt");
  EXPECT_FALSE(exists);
}
