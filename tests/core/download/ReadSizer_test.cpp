#include "download/ReadSizer.h"

#include <gtest/gtest.h>

using namespace morvo;
using namespace std::chrono_literals;

namespace {

TEST(ReadSizer, FullQuickReadsGrowToTheCeilingAndStayThere) {
  ReadSizer sizer;
  std::uint32_t previous = sizer.Next();
  for (int i = 0; i < 10; ++i) {
    sizer.Completed(sizer.Next(), 1ms);
    EXPECT_GE(sizer.Next(), previous);
    previous = sizer.Next();
  }
  EXPECT_EQ(sizer.Next(), ReadSizer::kMostBytes);
}

// A client that returns what has arrived gives short reads: nothing says a bigger buffer would
// fill, so the size stays; a quick but partial read is no reason to grow.
TEST(ReadSizer, ShortOrMiddlingReadsKeepTheSize) {
  ReadSizer sizer;
  sizer.Completed(sizer.Next() / 2, 1ms);
  EXPECT_EQ(sizer.Next(), ReadSizer::kFirstBytes);
  sizer.Completed(sizer.Next(), 500ms);
  EXPECT_EQ(sizer.Next(), ReadSizer::kFirstBytes);
}

TEST(ReadSizer, SlowReadsShrinkToTheFloorAndAFastLinkWinsItBack) {
  ReadSizer sizer;
  for (int i = 0; i < 10; ++i) sizer.Completed(sizer.Next(), 3s);
  EXPECT_EQ(sizer.Next(), ReadSizer::kLeastBytes);
  for (int i = 0; i < 10; ++i) sizer.Completed(sizer.Next(), 10ms);
  EXPECT_EQ(sizer.Next(), ReadSizer::kMostBytes);
}

}  // namespace
