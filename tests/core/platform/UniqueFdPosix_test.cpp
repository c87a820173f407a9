#include <fcntl.h>
#include <gtest/gtest.h>

#include <utility>

#include "platform/UniqueFd.h"

using namespace morvo;

namespace {

bool IsOpenDescriptor(int fd) { return ::fcntl(fd, F_GETFD) != -1; }

int OpenDevNull() { return ::open("/dev/null", O_RDONLY | O_CLOEXEC); }

TEST(UniqueFd, ClosesWhatItOwnsExactlyOnce) {
  int raw = -1;
  {
    UniqueFd owner(OpenDevNull());
    raw = owner.Get();
    ASSERT_TRUE(owner.IsOpen());
    UniqueFd moved(std::move(owner));
    EXPECT_FALSE(owner.IsOpen());
    EXPECT_EQ(moved.Get(), raw);
    UniqueFd assigned;
    assigned = std::move(moved);
    EXPECT_EQ(assigned.Get(), raw);
    EXPECT_TRUE(IsOpenDescriptor(raw));
  }
  EXPECT_FALSE(IsOpenDescriptor(raw));
}

TEST(UniqueFd, AssignmentAndResetCloseTheOldDescriptor) {
  UniqueFd owner(OpenDevNull());
  const int first = owner.Get();
  owner = UniqueFd(OpenDevNull());
  EXPECT_FALSE(IsOpenDescriptor(first));
  const int second = owner.Get();
  EXPECT_TRUE(owner.Reset());
  EXPECT_FALSE(IsOpenDescriptor(second));
  EXPECT_FALSE(owner.IsOpen());
  EXPECT_TRUE(owner.Reset());  // nothing held: nothing to fail
}

TEST(UniqueFd, ReleaseHandsTheDescriptorOver) {
  int raw = -1;
  {
    UniqueFd owner(OpenDevNull());
    raw = owner.Release();
    EXPECT_FALSE(owner.IsOpen());
  }
  EXPECT_TRUE(IsOpenDescriptor(raw));
  UniqueFd again(raw);
}

TEST(UniqueFd, ResetReportsAFailedClose) {
  // A descriptor closed behind the owner's back: the close fails and says so.
  UniqueFd owner(OpenDevNull());
  ::close(owner.Get());
  EXPECT_FALSE(owner.Reset());
  EXPECT_FALSE(owner.IsOpen());
}

}  // namespace
