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

// A new name first has the folder listed; the files updated after it are still found there, in
// any letter case, and keep their bits, while the new file gets the usual ones.
TEST(InstallPatches, UpdatesAfterNewFilesKeepThePermissionsOfTheReplacedFiles) {
  GameFolder folder;
  WriteFile(folder / "run.sh", "old");
  fs::permissions(folder / "run.sh", fs::perms(0700));
  folder.AddDownloaded("p.pak", ContainerBuilder()
                                    .Add("new.txt", "new.txt", "n")
                                    .Add("run.sh", "RUN.SH", "new")
                                    .Add("again.sh", "run.sh", "newer")
                                    .Bytes());
  EXPECT_EQ(InstallPatches(folder.context), 0);
  EXPECT_EQ(ReadFile(folder / "run.sh"), "newer");
  EXPECT_EQ(fs::status(folder / "run.sh").permissions(), fs::perms(0700));
  EXPECT_EQ(fs::status(folder / "new.txt").permissions(), fs::perms(0644));
}

// What a killed attempt left under a file's temporary name is replaced, and a link planted there
// is never written through.
TEST(InstallPatches, LeftoversUnderTemporaryNamesAreReplacedNotWrittenThrough) {
  GameFolder folder;
  WriteFile(folder / "a.txt.MorvoTMP", "half of a");
  WriteFile(folder.outside() + "canary", "canary");
  fs::create_symlink(folder.outside() + "canary", folder / "b.txt.MorvoTMP");
  folder.AddDownloaded(
      "p.pak", ContainerBuilder().Add("a.txt", "a.txt", "a").Add("b.txt", "b.txt", "b").Bytes());
  EXPECT_EQ(InstallPatches(folder.context), 0);
  EXPECT_EQ(ReadFile(folder / "a.txt"), "a");
  EXPECT_EQ(ReadFile(folder / "b.txt"), "b");
  EXPECT_EQ(ReadFile(folder.outside() + "canary"), "canary");
  EXPECT_FALSE(fs::exists(fs::symlink_status(folder / "a.txt.MorvoTMP")));
  EXPECT_FALSE(fs::exists(fs::symlink_status(folder / "b.txt.MorvoTMP")));
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
