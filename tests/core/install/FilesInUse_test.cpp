// A file in use is renamed aside for its replacement, and the next start deletes the old copy;
// after a crash between the two renames it puts the old copy back. Nothing is in use on POSIX,
// so the renames are driven directly here; Windows tests hold real files.
#include "install/FilesInUse.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "InstallTestSupport.h"
#include "engine/OwnFiles.h"
#include "engine/PatchRun.h"
#include "engine/TemporaryNames.h"
#include "platform/FileSystem.h"
#include "platform/ProgramDir.h"

using namespace morvo;

namespace {

std::string Record(const GameFolder& folder) { return folder / kInUseRecordFileName; }

TEST(FilesInUse, OldFileGoesAsideInItsFolderAndTheNextStartDeletesIt) {
  GameFolder folder;
  std::filesystem::create_directories(FsPath(folder / "bin"));
  WriteFile(folder / "bin/Lib.dll", "old");
  WriteFile(folder / "bin/Lib.dll.MorvoTMP", "new");

  const auto aside =
      ReplaceMovingAside(folder.game(), folder / "bin/Lib.dll.MorvoTMP", folder / "bin/Lib.dll");

  ASSERT_TRUE(aside);
  EXPECT_EQ(FolderOfPath(*aside), folder / "bin/");
  EXPECT_TRUE(IsOwnFileName(FileNameOfPath(*aside)));  // no container can name it
  EXPECT_EQ(ReadFile(folder / "bin/Lib.dll"), "new");
  EXPECT_EQ(ReadFile(*aside), "old");
  EXPECT_FALSE(FileExists(folder / "bin/Lib.dll.MorvoTMP"));

  ClearFilesPutAside(folder.game());
  EXPECT_FALSE(FileExists(*aside));
  EXPECT_FALSE(FileExists(Record(folder)));
  EXPECT_EQ(ReadFile(folder / "bin/Lib.dll"), "new");
}

// A copy put aside by an earlier run and still held when the next one replaces the file again.
TEST(FilesInUse, EachFilePutAsideGetsANameOfItsOwn) {
  GameFolder folder;
  WriteFile(folder / "Game.exe", "v1");
  WriteFile(folder / "new2", "v2");
  WriteFile(folder / "new3", "v3");

  const auto first = ReplaceMovingAside(folder.game(), folder / "new2", folder / "Game.exe");
  const auto second = ReplaceMovingAside(folder.game(), folder / "new3", folder / "Game.exe");

  ASSERT_TRUE(first && second);
  EXPECT_NE(*first, *second);
  EXPECT_EQ(ReadFile(*first), "v1");
  EXPECT_EQ(ReadFile(*second), "v2");
  EXPECT_EQ(ReadFile(folder / "Game.exe"), "v3");
  ClearFilesPutAside(folder.game());
  EXPECT_FALSE(FileExists(*first));
  EXPECT_FALSE(FileExists(*second));
}

TEST(FilesInUse, AReplacementThatCannotBeRenamedLeavesTheOldFileInPlace) {
  GameFolder folder;
  WriteFile(folder / "Lib.dll", "old");

  EXPECT_FALSE(ReplaceMovingAside(folder.game(), folder / "missing.MorvoTMP", folder / "Lib.dll"));

  EXPECT_EQ(ReadFile(folder / "Lib.dll"), "old");
  EXPECT_FALSE(FileExists(Record(folder)));
  EXPECT_FALSE(FileExists(folder / (std::string(kInUseAsidePrefix) + "1")));
}

// The states a kill can leave between writing the record and the second rename.
TEST(FilesInUse, AStartAfterACrashNeverLeavesTheFileMissing) {
  GameFolder folder;
  const std::string aside = folder / (std::string(kInUseAsidePrefix) + "1");
  // Killed after the first rename: the place is empty, the old file aside.
  WriteFile(aside, "old");
  WriteFile(Record(folder), std::string(kInUseAsidePrefix) + "1\tLib.dll\n");
  ClearFilesPutAside(folder.game());
  EXPECT_EQ(ReadFile(folder / "Lib.dll"), "old");
  EXPECT_FALSE(FileExists(aside));
  EXPECT_FALSE(FileExists(Record(folder)));

  // Killed after the record was written, before any rename: nothing to do but forget it.
  WriteFile(Record(folder), std::string(kInUseAsidePrefix) + "1\tLib.dll\n");
  ClearFilesPutAside(folder.game());
  EXPECT_EQ(ReadFile(folder / "Lib.dll"), "old");
  EXPECT_FALSE(FileExists(Record(folder)));
}

// The whole next start after a kill between the renames: the old file is back before the
// container left behind is installed again, and nothing stays aside.
TEST(FilesInUse, TheNextStartRestoresThenInstallsTheContainerAgain) {
  GameFolder folder;
  const std::string aside = folder / (std::string(kInUseAsidePrefix) + "1");
  WriteFile(aside, "old");
  WriteFile(Record(folder), std::string(kInUseAsidePrefix) + "1\tLib.dll\n");
  ContainerBuilder container;
  container.Add("Lib.dll", "Lib.dll", "new");
  folder.AddDownloaded("p.pak", container.Bytes());
  PatchRunServices services;
  services.ProgramRunning = [](const std::string&) { return false; };

  PatchRun(folder.context, services).RecoverUnfinishedPatches();

  EXPECT_EQ(ReadFile(folder / "Lib.dll"), "new");
  EXPECT_FALSE(FileExists(aside));
  EXPECT_FALSE(FileExists(Record(folder)));
}

// The record is the launcher's, but whatever it says, only files of the game folder named as
// the launcher names the files it puts aside are touched.
TEST(FilesInUse, RecordLinesReachingOtherFilesAreIgnored) {
  GameFolder folder;
  WriteFile(folder.outside() + "canary", "canary");
  WriteFile(folder / "Game.exe", "game");
  WriteFile(folder / "data.vka", "data");
  WriteFile(Record(folder),
            "../canary\tGame.exe\n"
            "data.vka\tGame.exe\n"
            "MorvoTMPInUse1\t../canary2\n"
            "no tab here\n");
  WriteFile(folder / "MorvoTMPInUse1", "aside");

  ClearFilesPutAside(folder.game());

  EXPECT_EQ(ReadFile(folder.outside() + "canary"), "canary");
  EXPECT_EQ(ReadFile(folder / "data.vka"), "data");
  EXPECT_EQ(ReadFile(folder / "Game.exe"), "game");
  EXPECT_FALSE(FileExists(folder.outside() + "canary2"));
  EXPECT_EQ(ReadFile(folder / "MorvoTMPInUse1"), "aside");
}

// A patch named like the record or like a file put aside would be downloaded over it.
TEST(FilesInUse, PatchesCannotTakeTheirNames) {
  EXPECT_TRUE(IsOtherTemporaryOfTheRun("InUse.lst"));
  EXPECT_TRUE(IsOtherTemporaryOfTheRun("InUse1"));
  EXPECT_FALSE(IsOtherTemporaryOfTheRun("p0001.pak"));
}

}  // namespace
