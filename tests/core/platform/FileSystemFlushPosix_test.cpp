#include <gtest/gtest.h>
#include <sys/stat.h>

#include "InstallTestSupport.h"
#include "platform/FileSystemFlush.h"

using namespace morvo;

namespace {

TEST(FileSystemFlush, CoversTheFoldersOfItsOwnFileSystemOnly) {
  const ScratchDir scratch;
  const std::string sub = scratch.path() + "sub/";
  ASSERT_EQ(::mkdir(sub.c_str(), 0755), 0);
  const FileSystemFlush flush(scratch.path());
  if (!flush.Covers(scratch.path())) {
    GTEST_SKIP() << "the scratch folder's file system is flushed file by file";
  }
  EXPECT_TRUE(flush.Covers(sub));
  EXPECT_TRUE(flush.Flush());
  // Another file system's files would not be flushed by it, nor would a folder not there.
  EXPECT_FALSE(flush.Covers("/proc/"));
  EXPECT_FALSE(flush.Covers(scratch.path() + "missing/"));
}

TEST(FileSystemFlush, AFileSystemNotKnownToFlushWholeIsNotCovered) {
  // The process file system stands for any that a flush of the whole would not bring to a disk.
  const FileSystemFlush flush("/proc/");
  EXPECT_FALSE(flush.Covers("/proc/"));
  EXPECT_FALSE(flush.Flush());

  const ScratchDir scratch;
  const FileSystemFlush missing(scratch.path() + "missing/");
  EXPECT_FALSE(missing.Covers(scratch.path()));
  EXPECT_FALSE(missing.Flush());
}

}  // namespace
