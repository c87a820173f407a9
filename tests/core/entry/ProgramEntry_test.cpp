#include "entry/ProgramEntry.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "TempDir.h"
#include "entry/CommandTail.h"

using namespace morvo;

using Params = std::vector<std::string>;

TEST(StartupCommandTail, RebuildsTheUnquotedPath) {
  struct Case {
    Params parameters;
    const char* tail;
  };
  const Case cases[] = {
      {{}, ""},
      {{"prog"}, ""},
      {{"prog", "UPDATE_2"}, ""},
      {{"prog", "UPDATE_2", "/games/My", "Game/New"}, "/games/My Game/New"},
      {{"prog", "UPDATE_2", "/games/My Game/New"}, "/games/My Game/New"},  // quoted
      {{"prog", "UPDATE_1", " \t/a", "b\r\n "}, "/a b"},
      {{"prog", "x", "", ""}, ""},
      {{"prog", "x", "caf\xE9\xA0"}, "caf\xE9\xA0"},  // bytes above 0x7F are not blanks
  };
  for (const auto& c : cases) EXPECT_EQ(GetCommandTail(c.parameters), c.tail);
}

TEST(StartupCommandTail, ModeWordsAreExactAndCaseSensitive) {
  struct Case {
    Params parameters;
    EntryMode mode;
  };
  const Case cases[] = {
      {{"prog"}, EntryMode::Normal},
      {{"prog", "-x", "UPDATE_1"}, EntryMode::Normal},
      {{"prog", "update_1", "/a"}, EntryMode::Normal},
      {{"prog", "UPDATE_1 "}, EntryMode::Normal},
      {{"prog", "UPDATE_3"}, EntryMode::Normal},
      {{"prog", "UPDATE_1"}, EntryMode::HandoffStep1},
      {{"prog", "UPDATE_2", "/a"}, EntryMode::HandoffStep2},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ModeOfParameters(c.parameters), c.mode) << c.parameters[1 % c.parameters.size()];
}

namespace {

struct RecordingShell : Shell {
  struct Call {
    std::string program, parameters, workingDir;
  };
  std::vector<Call> calls;
  bool Start(const std::string& program, std::string_view parameters,
             const std::string& workingDir) override {
    calls.push_back({program, std::string(parameters), workingDir});
    return true;
  }
};

}  // namespace

TEST(StartupProgramEntry, StepTwoDeletesOnlyTheCopyBesideTheProgram) {
  TempDir dir;
  TempDir elsewhere;
  const std::string self = dir / "Launcher";
  WriteFileBytes(self, "program");
  struct Case {
    std::string copy;
    bool deleted;
  };
  const Case cases[] = {
      {dir / "MorvoTMP_Launcher", true},
      {dir / "MorvoTMP_My Game", true},
      {dir / "Launcher.bak", false},             // not one of our temporary files
      {elsewhere / "MorvoTMP_Launcher", false},  // another folder
  };
  for (const auto& c : cases) {
    WriteFileBytes(c.copy, "copy");
    RecordingShell shell;
    Params parameters{"Launcher", "UPDATE_2"};
    for (const auto& piece : SplitCommandLine(c.copy)) parameters.push_back(piece);
    EXPECT_TRUE(RunEntry(parameters, self, shell)) << c.copy;
    EXPECT_EQ(std::filesystem::exists(c.copy), !c.deleted) << c.copy;
    EXPECT_TRUE(shell.calls.empty());
  }
  EXPECT_EQ(ReadFileBytes(self), "program");
}

TEST(StartupProgramEntry, StepOneReplacesTargetAndStartsItWithStepTwo) {
  TempDir dir;
  const std::string self = dir / "MorvoTMP_Launcher";
  WriteFileBytes(self, "new program");
  WriteFileBytes(dir / "Launcher", "old program");
  RecordingShell shell;
  EXPECT_FALSE(RunEntry({"x", "UPDATE_1", dir / "Launcher"}, self, shell));
  EXPECT_EQ(ReadFileBytes(dir / "Launcher"), "new program");
  ASSERT_EQ(shell.calls.size(), 1u);
  EXPECT_EQ(shell.calls[0].program, dir / "Launcher");
  EXPECT_EQ(shell.calls[0].parameters, "UPDATE_2 " + self);
  EXPECT_EQ(shell.calls[0].workingDir, "");
}

TEST(StartupProgramEntry, NormalStartsTouchNothing) {
  TempDir dir;
  const std::string self = dir / "Launcher";
  WriteFileBytes(self, "program");
  WriteFileBytes(dir / "MorvoTMP_Launcher", "copy");
  const Params cases[] = {{"Launcher"},
                          {"Launcher", "-x", dir / "MorvoTMP_Launcher"},
                          {"Launcher", "update_2", dir / "MorvoTMP_Launcher"},
                          {"Launcher", "UPDATE_2"}};
  for (const auto& parameters : cases) {
    RecordingShell shell;
    EXPECT_TRUE(RunEntry(parameters, self, shell));
    EXPECT_TRUE(shell.calls.empty());
    EXPECT_TRUE(std::filesystem::exists(dir / "MorvoTMP_Launcher"));
  }
  RecordingShell shell;
  EXPECT_FALSE(RunEntry({"Launcher", "UPDATE_1"}, self, shell));
  EXPECT_TRUE(shell.calls.empty());
  EXPECT_EQ(ReadFileBytes(self), "program");
}
