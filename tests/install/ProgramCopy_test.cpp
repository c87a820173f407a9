// A self-update that an earlier run left half-way is carried through by the next start.
#include "patch/ProgramCopy.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "InstallTestSupport.h"

namespace {

void WriteProgram(const std::string& path, const std::string& bytes) {
  WriteFile(path, bytes);
  ::chmod(path.c_str(), 0755);
}

}  // namespace

TEST(ResumeInterruptedSelfUpdate, ACopyLeftBehindIsStartedAgain) {
  GameFolder folder;
  WriteProgram(folder / "MorvoPatcher", "#!old program");
  WriteProgram(folder / "MorvoTMP_MorvoPatcher", "#!new program");

  EXPECT_TRUE(ResumeInterruptedSelfUpdate(folder.context));

  ASSERT_EQ(folder.window.started.size(), 1u);
  EXPECT_EQ(folder.window.started[0].program, folder / "MorvoTMP_MorvoPatcher");
  EXPECT_EQ(folder.window.started[0].parameters, "UPDATE_1 " + folder.game() + "MorvoPatcher");
  EXPECT_TRUE(folder.window.closed);
}

TEST(ResumeInterruptedSelfUpdate, ACopyOfTheRunningProgramIsDeleted) {
  GameFolder folder;
  WriteProgram(folder / "MorvoPatcher", "#!new program");
  WriteProgram(folder / "MorvoTMP_MorvoPatcher", "#!new program");

  EXPECT_FALSE(ResumeInterruptedSelfUpdate(folder.context));

  EXPECT_FALSE(FileExists(folder / "MorvoTMP_MorvoPatcher"));
  EXPECT_TRUE(folder.window.started.empty());
  EXPECT_FALSE(folder.window.closed);
}

TEST(ResumeInterruptedSelfUpdate, HalfWrittenOrNonRunnableFilesAreNotStarted) {
  GameFolder folder;
  WriteProgram(folder / "MorvoPatcher", "#!old program");
  WriteProgram(folder / "MorvoTMP_MorvoPatcher.MorvoTMP", "#!new pro");  // killed mid-write
  WriteFile(folder / "MorvoTMP_notes.txt", "not a program");
  WriteFile(folder / "MorvoTMPp0001.pak", "a container");

  EXPECT_FALSE(ResumeInterruptedSelfUpdate(folder.context));

  EXPECT_TRUE(folder.window.started.empty());
  EXPECT_TRUE(FileExists(folder / "MorvoTMP_notes.txt"));
}
