#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "InstallTestSupport.h"
#include "install/InstallPatches.h"
#include "text/AsciiText.h"

using namespace morvo;

namespace fs = std::filesystem;

TEST(InstallPatches, UpdateKeepsThePermissionsOfTheReplacedFile) {
  GameFolder folder;
  WriteFile(folder / "tool.sh", "old");
  fs::permissions(folder / "tool.sh", fs::perms(0750));
  folder.AddDownloaded("p.pak", ContainerBuilder().Add("tool.sh", "tool.sh", "new").Bytes());
  InstallPatches(folder.context);
  EXPECT_EQ(ReadFile(folder / "tool.sh"), "new");
  EXPECT_EQ(fs::status(folder / "tool.sh").permissions(), fs::perms(0750));
}

// The folders listed once per container must still see what the container itself created, and
// what an earlier container left, in whatever letter case the names come.
TEST(InstallPatches, NamesInAnyCaseMeetTheEntriesEarlierEntriesCreated) {
  GameFolder folder;
  fs::create_directory(folder / "Maps");
  folder.AddDownloaded("p1.pak", ContainerBuilder()
                                     .Add("a.txt", "Data\\a.txt", "a")
                                     .Add("b.txt", "DATA\\b.txt", "b")
                                     .Add("c.txt", "data\\Sub\\c.txt", "c")
                                     .Add("d.txt", "DATA\\SUB\\d.txt", "d")
                                     .Add("x.map", "maps\\x.map", "x")
                                     .Add("a2.txt", "data\\A.TXT", "a2")
                                     .Bytes());
  folder.AddDownloaded("p2.pak", ContainerBuilder().Add("e.txt", "dAtA\\sUb\\E.txt", "e").Bytes());
  EXPECT_EQ(InstallPatches(folder.context), 0);
  EXPECT_EQ(ReadFile(folder / "Data/a.txt"), "a2");
  EXPECT_EQ(ReadFile(folder / "Data/b.txt"), "b");
  EXPECT_EQ(ReadFile(folder / "Data/Sub/c.txt"), "c");
  EXPECT_EQ(ReadFile(folder / "Data/Sub/d.txt"), "d");
  EXPECT_EQ(ReadFile(folder / "Data/Sub/E.txt"), "e");
  EXPECT_EQ(ReadFile(folder / "Maps/x.map"), "x");
  // One folder, however many spellings of it the containers used.
  const auto spellings =
      std::count_if(fs::directory_iterator(folder.game()), fs::directory_iterator(),
                    [](const fs::directory_entry& entry) {
                      return EqualsIgnoringAsciiCase(entry.path().filename().string(), "data");
                    });
  EXPECT_EQ(spellings, 1);
}
