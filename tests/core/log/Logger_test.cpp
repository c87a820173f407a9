#include "log/Logger.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "TempDir.h"
#include "log/LogLines.h"

using namespace morvo;

TEST(StartupLogger, WritesWindows1252LinesWithCrLf) {
  TempDir dir;
  Logger log(dir.path());
  EXPECT_EQ(log.LogPath(), dir / "MorvoPatcherLog.txt");
  log.LogOpen();
  ASSERT_TRUE(log.LogIsOpen());
  log.LogLine(loglines::kHeaderTitle);
  log.LogBlankLine();
  log.LogLine("");
  log.LogFormat(loglines::kEntryRead, {"data.vka", 1024});
  log.LogFormat("plain text", {});
  log.LogLine(loglines::kInstallDone);
  EXPECT_EQ(ReadFileBytes(log.LogPath()),
            "Morvo Patcher Log\r\n\r\n\r\n"
            "      Lecture du fichier data.vka -> 1024 octets.\r\n"
            "plain text\r\n"
            "Installation termin\xE9"
            "e.\r\n");
}

TEST(StartupLogger, LongLinesAreWrittenWhole) {
  TempDir dir;
  Logger log(dir.path());
  log.LogOpen();
  const std::string path(5000, 'p');
  log.LogFormat(loglines::kArchiveCopy, {path, path});
  log.LogLine("after");
  const std::string expected =
      "        Copie du fichier " + path + " vers " + path + ".\r\nafter\r\n";
  EXPECT_EQ(ReadFileBytes(log.LogPath()), expected);
}

TEST(StartupLogger, ClosedLogWritesNothingAndIsNeverReopened) {
  TempDir dir;
  Logger log(dir.path());
  log.LogLine("before open");
  log.LogBlankLine();
  log.LogClose();  // never opened: harmless
  EXPECT_FALSE(std::filesystem::exists(log.LogPath()));

  Logger second(dir.path());
  second.LogOpen();
  second.LogLine(loglines::kEnd);
  second.LogClose();
  second.LogLine("dropped");
  second.LogOpen();
  second.LogLine("dropped too");
  EXPECT_FALSE(second.LogIsOpen());
  EXPECT_EQ(ReadFileBytes(second.LogPath()), "Fin du log.\r\n");
}

TEST(StartupLogger, LeftoverLogIsReplacedNotAppended) {
  TempDir dir;
  WriteFileBytes(dir / "MorvoPatcherLog.txt", "old run\r\nold line\r\n");
  Logger log(dir.path());
  log.LogOpen();
  log.LogLine("new");
  EXPECT_EQ(ReadFileBytes(log.LogPath()), "new\r\n");
}

TEST(StartupLogger, UncreatableLogStaysClosedSilently) {
  Logger log("/nonexistent-folder-of-morvo/");
  log.LogOpen();
  EXPECT_FALSE(log.LogIsOpen());
  log.LogLine("nothing happens");
}

// While one process holds the log, another one neither opens it nor replaces it.
TEST(StartupLogger, OpenLogIsExclusiveToItsProcess) {
  TempDir dir;
  Logger holder(dir.path());
  holder.LogOpen();
  holder.LogLine("holder");
  const pid_t child = ::fork();
  if (child == 0) {
    Logger other(dir.path());
    other.LogOpen();
    other.LogLine("intruder");
    ::_exit(other.LogIsOpen() ? 1 : 0);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  holder.LogLine("still mine");
  EXPECT_EQ(ReadFileBytes(holder.LogPath()), "holder\r\nstill mine\r\n");
}

// The descriptor does not leak into programs the launcher starts.
TEST(StartupLogger, DescriptorIsCloseOnExec) {
  TempDir dir;
  Logger log(dir.path());
  log.LogOpen();
  int flagsOfOpenLog = -1;
  for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) {
    std::error_code error;
    if (std::filesystem::read_symlink(entry.path(), error) == log.LogPath()) {
      flagsOfOpenLog = ::fcntl(std::stoi(entry.path().filename().string()), F_GETFD);
    }
  }
  ASSERT_GE(flagsOfOpenLog, 0);
  EXPECT_TRUE(flagsOfOpenLog & FD_CLOEXEC);
}
