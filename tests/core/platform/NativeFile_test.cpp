// The core's file owner and whole-file calls behave alike on every platform.
#include "platform/NativeFile.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "TempDir.h"
#include "platform/FileSystem.h"

using namespace morvo;

namespace {

TEST(NativeFile, CreateNewRefusesAnyExistingNameAndAppendWritesAtTheEnd) {
  TempDir dir;
  NativeFile created = NativeFile::CreateNew(dir / "f");
  ASSERT_TRUE(created.IsOpen());
  EXPECT_TRUE(created.WriteAll("abc", 3));
  EXPECT_TRUE(created.Close());
  EXPECT_FALSE(NativeFile::CreateNew(dir / "f").IsOpen());
  NativeFile appended = NativeFile::OpenToAppend(dir / "f");
  ASSERT_TRUE(appended.IsOpen());
  EXPECT_TRUE(appended.WriteAll("de", 2));
  appended.Close();
  EXPECT_EQ(ReadFileBytes(dir / "f"), "abcde");

  NativeFile read = NativeFile::OpenToRead(dir / "f");
  EXPECT_EQ(read.RegularFileSize(), 5);
  ASSERT_TRUE(read.SeekTo(3));
  char rest[8] = {};
  EXPECT_EQ(read.Read(rest, sizeof rest), 2);
  EXPECT_EQ(std::string(rest), "de");
  EXPECT_EQ(read.Read(rest, sizeof rest), 0);  // the end
  EXPECT_FALSE(NativeFile::OpenToRead(dir / "missing").IsOpen());
}

TEST(NativeFile, AFolderIsNoRegularFile) {
  TempDir dir;
  const NativeFile folder = NativeFile::OpenToRead(dir.path());
  EXPECT_FALSE(folder.IsOpen() && folder.RegularFileSize());
}

TEST(NativeFile, OneLockPerFileAcrossOpenFilesAndFreedByTheClose) {
  TempDir dir;
  NativeFile first = NativeFile::OpenOrCreate(dir / "lock");
  NativeFile second = NativeFile::OpenOrCreate(dir / "lock");
  ASSERT_EQ(first.TryLock(), LockResult::Locked);
  EXPECT_EQ(second.TryLock(), LockResult::HeldElsewhere);
  // The lock keeps nobody from reading what the file holds.
  WriteFileBytes(dir / "lock", "readable");
  EXPECT_EQ(ReadFileBytes(dir / "lock"), "readable");
  first.Close();
  EXPECT_EQ(second.TryLock(), LockResult::Locked);
}

TEST(FileSystem, RemoveRenameAndIdentity) {
  TempDir dir;
  EXPECT_TRUE(RemoveFile(dir / "missing"));  // nothing there afterwards either way
  WriteFileBytes(dir / "a", "new");
  WriteFileBytes(dir / "b", "old");
  std::filesystem::permissions(FsPath(dir / "b"), std::filesystem::perms::owner_read);
  EXPECT_TRUE(IsRegularFile(dir / "a"));
  EXPECT_FALSE(IsRegularFile(dir.path()));
  EXPECT_FALSE(SameFile(dir / "a", dir / "b"));
  EXPECT_TRUE(SameFile(dir / "a", dir / "a"));
  EXPECT_FALSE(SameFile(dir / "missing", dir / "missing"));

  ASSERT_TRUE(RenameFile(dir / "a", dir / "b", true));  // replaces, read-only or not
  EXPECT_EQ(ReadFileBytes(dir / "b"), "new");
  EXPECT_FALSE(IsRegularFile(dir / "a"));
  std::filesystem::permissions(FsPath(dir / "b"), std::filesystem::perms::owner_read);
  EXPECT_TRUE(RemoveFile(dir / "b"));  // a read-only file too
  EXPECT_FALSE(IsRegularFile(dir / "b"));
}

TEST(FileSystem, Utf8PathsRoundTripThroughTheStandardLibrary) {
  TempDir dir;
  const std::string name = "\xD0\x98\xD0\xB3\xD1\x80\xD0\xB0 \xE6\xB8\xB8\xE6\x88\xB2.txt";
  WriteFileBytes(dir / name, "x");
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(FsPath(dir.path()))) {
    names.push_back(Utf8Path(entry.path().filename()));
  }
  EXPECT_EQ(names, std::vector<std::string>{name});
  EXPECT_TRUE(IsRegularFile(dir / name));
}

}  // namespace
