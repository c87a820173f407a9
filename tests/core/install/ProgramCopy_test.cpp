// A self-update that an earlier run left half-way is carried through by the next start.
#include "install/ProgramCopy.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "InstallTestSupport.h"
#include "engine/PatchRun.h"
#include "platform/FileSystem.h"

using namespace morvo;

namespace {

// A program file as each platform knows one: runnable bits, and bytes that begin with "MZ".
// Windows has no file whose name holds a tab or a quote: none is written there.
void WriteProgram(const std::string& path, const std::string& bytes) {
  WriteFile(path, bytes);
  std::error_code noSuchName;
  std::filesystem::permissions(FsPath(path), std::filesystem::perms(0755), noSuchName);
}

}  // namespace

TEST(ResumeInterruptedSelfUpdate, ACopyLeftBehindIsStartedAgain) {
  GameFolder folder;
  WriteProgram(folder / "MorvoPatcher", "MZ old program");
  WriteProgram(folder / "MorvoTMP_MorvoPatcher", "MZ new program");

  EXPECT_TRUE(ResumeInterruptedSelfUpdate(folder.context));

  ASSERT_EQ(folder.window.started.size(), 1u);
  EXPECT_EQ(folder.window.started[0].program, folder / "MorvoTMP_MorvoPatcher");
  EXPECT_EQ(folder.window.started[0].parameters, "UPDATE_1 " + folder.game() + "MorvoPatcher");
  EXPECT_TRUE(folder.window.closed);
}

TEST(ResumeInterruptedSelfUpdate, ACopyOfTheRunningProgramIsDeleted) {
  GameFolder folder;
  WriteProgram(folder / "MorvoPatcher", "MZ new program");
  WriteProgram(folder / "MorvoTMP_MorvoPatcher", "MZ new program");

  EXPECT_FALSE(ResumeInterruptedSelfUpdate(folder.context));

  EXPECT_FALSE(FileExists(folder / "MorvoTMP_MorvoPatcher"));
  EXPECT_TRUE(folder.window.started.empty());
  EXPECT_FALSE(folder.window.closed);
}

TEST(ResumeInterruptedSelfUpdate, HalfWrittenOrNonRunnableFilesAreNotStarted) {
  GameFolder folder;
  WriteProgram(folder / "MorvoPatcher", "MZ old program");
  WriteProgram(folder / "MorvoTMP_MorvoPatcher.MorvoTMP", "MZ new pro");  // killed mid-write
  WriteFile(folder / "MorvoTMP_notes.txt", "not a program");
  WriteFile(folder / "MorvoTMPp0001.pak", "a container");

  EXPECT_FALSE(ResumeInterruptedSelfUpdate(folder.context));

  EXPECT_TRUE(folder.window.started.empty());
  EXPECT_TRUE(FileExists(folder / "MorvoTMP_notes.txt"));
}

// A copy that cannot finish the handoff must not close every later start: it is started again
// once, then deleted with a log line, and the launcher starts normally.
TEST(ResumeInterruptedSelfUpdate, ACopyIsStartedAgainOnceThenDeleted) {
  GameFolder folder;
  WriteProgram(folder / "MorvoPatcher", "MZ old program");
  WriteProgram(folder / "MorvoTMP_MorvoPatcher", "MZ broken new program");

  EXPECT_TRUE(ResumeInterruptedSelfUpdate(folder.context));
  EXPECT_EQ(folder.window.started.size(), 1u);

  folder.window = FakeWindow();  // the next start of the launcher
  EXPECT_FALSE(ResumeInterruptedSelfUpdate(folder.context));
  EXPECT_TRUE(folder.window.started.empty());
  EXPECT_FALSE(folder.window.closed);
  EXPECT_FALSE(FileExists(folder / "MorvoTMP_MorvoPatcher"));
  EXPECT_EQ(folder.LogText(),
            "Copie du programme MorvoTMP_MorvoPatcher :  Erreur > mise \xE0 jour impossible, "
            "copie supprim\xE9"
            "e.\r\n");

  // The record goes with the copy: a later self-update gets its own further try.
  folder.window = FakeWindow();  // the next start of the launcher
  WriteProgram(folder / "MorvoTMP_MorvoPatcher", "MZ next new program");
  EXPECT_TRUE(ResumeInterruptedSelfUpdate(folder.context));
}

TEST(ResumeInterruptedSelfUpdate, AProgramPathTheHandoffCannotCarryLeavesTheCopyForLater) {
  for (const char* name : {"Morvo  Patcher", "Morvo\tPatcher", "Morvo\"Patcher"}) {
    GameFolder folder;
    folder.context.ProgramPath = folder / name;
    WriteProgram(folder.context.ProgramPath, "MZ old program");
    WriteProgram(folder / "MorvoTMP_MorvoPatcher", "MZ new program");

    EXPECT_FALSE(ResumeInterruptedSelfUpdate(folder.context)) << name;
    EXPECT_TRUE(folder.window.started.empty());
    EXPECT_FALSE(folder.window.closed);
    EXPECT_TRUE(FileExists(folder / "MorvoTMP_MorvoPatcher"));
    EXPECT_TRUE(folder.state.SelfUpdateDeferred);
    EXPECT_NE(folder.LogText().find("Erreur > chemin du programme non transmissible"),
              std::string::npos);
  }
  EXPECT_TRUE(SurvivesHandoff("/jeux/Mon Jeu/MorvoPatcher"));
}

TEST(ResumeInterruptedSelfUpdate, ACopyThatCannotBeStartedKeepsTheWindowOpen) {
  GameFolder folder;
  folder.window.startSucceeds = false;
  WriteProgram(folder / "MorvoPatcher", "MZ old program");
  WriteProgram(folder / "MorvoTMP_MorvoPatcher", "MZ new program");

  EXPECT_FALSE(ResumeInterruptedSelfUpdate(folder.context));
  EXPECT_FALSE(folder.window.closed);
  EXPECT_EQ(folder.LogText(),
            "Copie du programme MorvoTMP_MorvoPatcher :  Erreur > lancement impossible.\r\n");
}

// Killed between writing the copy and deleting the container that carried it: the next start
// starts the copy once and leaves the container to the new program, instead of writing and
// starting the copy a second time while the first one replaces the program.
TEST(ResumeInterruptedSelfUpdate, TheContainerOfACopyStartedAgainIsLeftToTheNewProgram) {
  GameFolder folder;
  WriteProgram(folder / "MorvoPatcher", "MZ old program");
  WriteProgram(folder / "MorvoTMP_MorvoPatcher", "MZ new program");
  const std::string container = folder.AddDownloaded(
      "p.pak", ContainerBuilder().Add("MorvoPatcher", "MorvoPatcher", "MZ new program").Bytes());
  folder.state.InstallFiles.clear();  // what the next start finds, it finds by itself

  PatchRun run(folder.context, PatchRunServices{});
  run.RecoverUnfinishedPatches();

  ASSERT_EQ(folder.window.started.size(), 1u);
  EXPECT_EQ(folder.window.started[0].program, folder / "MorvoTMP_MorvoPatcher");
  EXPECT_TRUE(FileExists(container));
  EXPECT_EQ(ReadFile(folder / "MorvoTMP_MorvoPatcher"), "MZ new program");
}
