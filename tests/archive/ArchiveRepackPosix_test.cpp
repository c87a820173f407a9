// VKA_Repack where POSIX systems differ: file systems side by side, per-file modes.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "ArchiveTestSupport.h"
#include "vka/vka.h"

namespace vka::test {
namespace {

TEST(ArchiveRepack, RenameFailureKeepsTheArchiveAndRemovesTheTemporaryFile) {
  ScratchFolder folder;
  // Across file systems a rename fails, as it does whenever the swap cannot be atomic.
  const std::filesystem::path shm = "/dev/shm";
  if (!std::filesystem::is_directory(shm)) GTEST_SKIP() << "no /dev/shm";
  const std::string temp = (shm / ("vka-repack-" + std::to_string(::getpid()))).string();
  const std::string path = folder.path("game.vka");
  writeArchive(path, {{"X", "x"}, {"X", "x2"}});
  struct stat a {
  }, b{};
  ASSERT_EQ(::stat(folder.root().c_str(), &a), 0);
  ASSERT_EQ(::stat(shm.c_str(), &b), 0);
  if (a.st_dev == b.st_dev) GTEST_SKIP() << "temporary folder is on /dev/shm";
  const Bytes before = readBytes(path);
  EXPECT_EQ(VKA_Repack(path.c_str(), temp.c_str(), nullptr), VKA_ERR_OPEN);
  EXPECT_EQ(readBytes(path), before);
  EXPECT_FALSE(std::filesystem::exists(temp));
}

TEST(ArchiveRepack, KeepsTheArchiveFilePermissions) {
  ScratchFolder folder;
  const std::string path = folder.path("game.vka");
  writeArchive(path, {{"X", "x"}});
  ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
  ASSERT_EQ(VKA_Repack(path.c_str(), folder.path("temp").c_str(), nullptr), VKA_OK);
  struct stat status {};
  ASSERT_EQ(::stat(path.c_str(), &status), 0);
  EXPECT_EQ(status.st_mode & 0777, 0640u);
}

}  // namespace
}  // namespace vka::test
