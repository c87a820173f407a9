#include <gtest/gtest.h>
#include <sys/stat.h>

#include "InstallTestSupport.h"
#include "install/PatchContainer.h"

using namespace morvo;

TEST(PatchContainer, AFifoIsNoContainerAndDoesNotBlock) {
  ScratchDir dir;
  ASSERT_EQ(::mkfifo((dir.path() + "fifo").c_str(), 0600), 0);
  EXPECT_FALSE(ContainerReader::Open(dir.path() + "fifo"));
}
