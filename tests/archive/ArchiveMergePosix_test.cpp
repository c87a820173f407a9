// VKA_Fusion where POSIX systems differ: file systems mounted side by side.
#include <gtest/gtest.h>
#include <unistd.h>

#include "ArchiveTestSupport.h"
#include "vka/vka.h"

namespace vka::test {
namespace {

TEST(ArchiveMerge, SourceOnAnotherFileSystemIsCopiedThroughTheBuffer) {
  // The kernel copy refuses to cross file systems; the bytes must arrive all the same.
  const std::filesystem::path shm = "/dev/shm";
  if (!std::filesystem::is_directory(shm)) GTEST_SKIP() << "no /dev/shm";
  ScratchFolder folder;
  const std::string source = (shm / ("vka-merge-" + std::to_string(::getpid()))).string();
  const std::string destination = folder.path("game.vka");
  std::string big;
  for (int i = 0; big.size() < (3u << 20); ++i) big += std::to_string(i);
  writeArchive(source, {{"big", big, 0x01, true}, {"small", "s", 0x01, true}});
  writeArchive(destination, {{"Y", "y"}});
  const std::string expected = snapshot(destination) + snapshot(source);
  EXPECT_EQ(VKA_Fusion(source.c_str(), destination.c_str(), nullptr), VKA_OK);
  EXPECT_EQ(snapshot(destination), expected);
  std::filesystem::remove(source);
}

}  // namespace
}  // namespace vka::test
