// Starting programs on Windows: the command line as the started program splits it, and a real
// start of a program file copied into a folder whose name holds characters outside Windows-1252.
#include <windows.h>
// After windows.h, whose types it uses.
#include <gtest/gtest.h>
#include <shellapi.h>

#include <chrono>
#include <thread>

#include "ProcessTestSupport.h"
#include "TempDir.h"
#include "platform/FileSystem.h"
#include "platform/ProgramDir.h"
#include "platform/Shell.h"
#include "platform/WideText.h"

using namespace morvo;

namespace {

std::vector<std::string> SplitAsWindowsDoes(const std::string& line) {
  int count = 0;
  LPWSTR* words = ::CommandLineToArgvW(Widen(line).c_str(), &count);
  std::vector<std::string> result;
  for (int i = 0; i < count; ++i) result.push_back(Utf8OfWide(words[i]));
  ::LocalFree(words);
  return result;
}

TEST(StartupShell, QuotedWordsSurviveTheSystemsOwnSplit) {
  const std::vector<std::string> words = {"prog.exe",
                                          "UPDATE_2",
                                          "C:\\My Game\\",
                                          "",
                                          "say \"hi\"",
                                          "a\\\"b",
                                          "\xD0\x98\xD0\xB3\xD1\x80\xD0\xB0 \xE6\xB8\xB8"};
  std::string line;
  for (const auto& word : words) line += (line.empty() ? "" : " ") + QuoteCommandLineWord(word);
  EXPECT_EQ(SplitAsWindowsDoes(line), words) << line;
}

TEST(StartupShell, StartsAProgramFileInAUnicodeFolder) {
  TempDir dir;
  const std::string folder = dir / "\xD0\x98\xD0\xB3\xD1\x80\xD0\xB0 \xE6\xB8\xB8\xE6\x88\xB2/";
  ASSERT_TRUE(EnsureFolderOf(folder + "x"));
  const std::string actor = folder + ProgramFileName("actor");
  WriteFileBytes(actor, ReadFileBytes(ProgramDir() + ProgramFileName("startup_handoff_actor")));
  SystemShell shell;
  ASSERT_TRUE(shell.Start(actor, "-x \"two words\"", folder));
  // The actor starts normally for any other first word and says so beside itself.
  std::string events;
  for (int i = 0; i < 1000 && events.empty(); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    events = ReadFileBytes(folder + "events.txt");
  }
  EXPECT_EQ(events, "NormalStart\n");

  EXPECT_FALSE(shell.Start(folder + "missing.exe", "", ""));
  EXPECT_FALSE(shell.Start(actor, "", folder + "no-such-folder"));
  EXPECT_FALSE(shell.Start(folder + "missing.txt", "", ""));  // no document to open
}

}  // namespace
