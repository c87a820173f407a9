#include "log/Logger.h"

#include <gtest/gtest.h>

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
  {
    // Its own open file stands for the other process: the lock belongs to the open file.
    Logger other(dir.path());
    other.LogOpen();
    other.LogLine("intruder");
    EXPECT_FALSE(other.LogIsOpen());
  }
  holder.LogLine("still mine");
  EXPECT_EQ(ReadFileBytes(holder.LogPath()), "holder\r\nstill mine\r\n");
}
