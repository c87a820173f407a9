#include "platform/Shell.h"

#include <gtest/gtest.h>

#include "ProcessTestSupport.h"
#include "platform/ProgramDir.h"

using namespace morvo;

using Words = std::vector<std::string>;

TEST(StartupShell, ParameterTextSplitsLikeAWindowsCommandLine) {
  struct Case {
    const char* text;
    Words expected;
  };
  const Case cases[] = {
      {"", {}},
      {"   \t ", {}},
      {"UPDATE_2 /games/My Game/New", {"UPDATE_2", "/games/My", "Game/New"}},
      {"UPDATE_2 \"/games/My Game/New\"", {"UPDATE_2", "/games/My Game/New"}},
      {"  a   b  ", {"a", "b"}},
      {"-x \"\" y", {"-x", "", "y"}},
      {"pre\"fix part\"post", {"prefix partpost"}},
      {"\"unclosed quote here", {"unclosed quote here"}},
      {"tab\tseparated", {"tab", "separated"}},
  };
  for (const auto& c : cases) EXPECT_EQ(SplitCommandLine(c.text), c.expected) << c.text;
}

TEST(StartupProgramDir, NamesTheRunningProgramsFolder) {
  const std::string path = ProgramPath();
  ASSERT_FALSE(path.empty());
  EXPECT_EQ(FileNameOfPath(path), ProgramFileName("core_tests"));
  EXPECT_EQ(ProgramDir() + ProgramFileName("core_tests"), path);
  EXPECT_EQ(ProgramDir().back(), kFolderSeparators[0]);
  EXPECT_EQ(FileNameOfPath("/a/b/c.exe"), "c.exe");
  EXPECT_EQ(FileNameOfPath("bare"), "bare");
  EXPECT_EQ(FileNameOfPath("/a/b/"), "");
  EXPECT_EQ(FolderOfPath("/a/b/c.exe"), "/a/b/");
  EXPECT_EQ(FolderOfPath("bare"), "");
}

// Each word comes back whole from a Windows program's own split of its command line.
TEST(StartupShell, WordsAreQuotedAsWindowsProgramsSplitThem) {
  const std::pair<const char*, const char*> cases[] = {
      {"plain", "plain"},
      {"", "\"\""},
      {"two words", "\"two words\""},
      {"C:\\My Game\\", "\"C:\\My Game\\\\\""},  // a closing backslash is doubled
      {"C:\\Games\\x.exe", "C:\\Games\\x.exe"},  // backslashes alone stay as they are
      {"say \"hi\"", "\"say \\\"hi\\\"\""},
      {"a\\\"b", "\"a\\\\\\\"b\""},  // backslashes before a quote are doubled, plus one
      {"tab\there", "\"tab\there\""},
  };
  for (const auto& [word, quoted] : cases) EXPECT_EQ(QuoteCommandLineWord(word), quoted) << word;
}
