// Reads served from a window of the source file, and copies appended from a source in any
// order, arrive with exactly the source's bytes.
#include "ReadWindow.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "AppendWriter.h"
#include "ArchiveTestSupport.h"

namespace vka::test {
namespace {

// Bytes that differ from their neighbours, so that a piece from the wrong place shows.
Bytes patternOf(std::size_t size, std::uint32_t seed) {
  Bytes bytes(size);
  std::uint32_t state = seed;
  for (auto& byte : bytes) {
    state = state * 1664525u + 1013904223u;
    byte = static_cast<std::uint8_t>(state >> 24);
  }
  return bytes;
}

struct Range {
  std::uint64_t at;
  std::size_t length;
};

// Back to back ranges of 1 byte to 40 KiB over the whole of `size` bytes.
std::vector<Range> rangesCovering(std::size_t size, std::mt19937& random) {
  std::vector<Range> ranges;
  for (std::uint64_t at = 0; at < size;) {
    const std::size_t length = std::min<std::size_t>(size - at, 1 + random() % (40u << 10));
    ranges.push_back({at, length});
    at += length;
  }
  return ranges;
}

class ReadWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    writeBytes(path_, content_);
    ASSERT_TRUE(source_.open(path_.c_str(), "r"));
  }
  // Reads every range through `window` and checks its bytes.
  void expectReads(ReadWindow& window, const std::vector<Range>& ranges) {
    for (const Range& range : ranges) {
      Bytes got(range.length);
      ASSERT_TRUE(window.read(source_, range.at, got.data(), got.size())) << range.at;
      ASSERT_TRUE(std::equal(got.begin(), got.end(), content_.begin() + range.at)) << range.at;
    }
  }

  ScratchFolder folder_;
  std::string path_ = folder_.path("source.bin");
  // Larger than the largest window, and no multiple of a window.
  Bytes content_ = patternOf(3 * kReadWindowMaximum + 12345, 7);
  FileHandle source_;
  std::mt19937 random_{42};
};

TEST_F(ReadWindowTest, RangesArriveWholeInEveryOrder) {
  std::vector<Range> ranges = rangesCovering(content_.size(), random_);
  ReadWindow forwards, backwards, shuffled;
  expectReads(forwards, ranges);
  std::reverse(ranges.begin(), ranges.end());
  expectReads(backwards, ranges);
  // Scattered reads shrink the window; dense ones afterwards grow it again.
  std::shuffle(ranges.begin(), ranges.end(), random_);
  expectReads(shuffled, ranges);
  std::sort(ranges.begin(), ranges.end(), [](Range a, Range b) { return a.at > b.at; });
  expectReads(shuffled, ranges);
}

TEST_F(ReadWindowTest, RangesAtTheEdgesAndLargerThanTheWindow) {
  ReadWindow window;
  const std::uint64_t size = content_.size();
  // Ranges one byte past either end of the window just read.
  expectReads(window, {{0, 1}, {kReadWindowMaximum - 1, 2}, {kReadWindowMaximum - 2, 2}});
  expectReads(window, {{size - 1, 1},
                       {0, 1},
                       {size - 100, 100},
                       {1000, kReadWindowMaximum + 3},
                       {size - kReadWindowMaximum, kReadWindowMaximum},
                       {0, 0}});
  std::uint8_t byte = 0;
  Bytes many(kReadWindowMaximum + 1);
  EXPECT_FALSE(window.read(source_, size, &byte, 1));
  EXPECT_FALSE(window.read(source_, size - 1, many.data(), 2));
  EXPECT_FALSE(window.read(source_, size - 10, many.data(), many.size()));
  // A failed read leaves the window usable.
  expectReads(window, {{size - 2, 2}, {5, 17}});
}

TEST_F(ReadWindowTest, AppendedCopiesInAnyOrderGiveTheSourceBytesInThatOrder) {
  // Short and long ranges, some adjacent to the one before in either direction, some far.
  std::vector<Range> ranges = rangesCovering(content_.size(), random_);
  ranges.push_back({kReadWindowMaximum / 2, 600u << 10});  // long enough for a kernel copy
  std::reverse(ranges.begin(), ranges.end());
  std::shuffle(ranges.begin() + ranges.size() / 2, ranges.end(), random_);
  const std::string outPath = folder_.path("out.bin");
  FileHandle out;
  ASSERT_TRUE(out.open(outPath.c_str(), "w+"));
  Bytes expected(kHeaderSize, 0);
  ASSERT_TRUE(out.writeAt(0, expected.data(), expected.size()));
  {
    AppendWriter writer(out);
    for (const Range& range : ranges) {
      ASSERT_TRUE(writer.copyFrom(source_, range.at, range.length));
      expected.insert(expected.end(), content_.begin() + range.at,
                      content_.begin() + range.at + range.length);
    }
    ASSERT_TRUE(writer.flush());
    EXPECT_EQ(writer.end(), expected.size());
  }
  out.close();
  EXPECT_TRUE(readBytes(outPath) == expected);
}

TEST_F(ReadWindowTest, WriterForgetsTheSourceAtEachFlush) {
  // As when one archive takes two merges in turn: the second source must not be served
  // from what was read of the first, even where the same handle holds it.
  const std::string outPath = folder_.path("out.bin");
  FileHandle out;
  ASSERT_TRUE(out.open(outPath.c_str(), "w+"));
  AppendWriter writer(out);
  ASSERT_TRUE(writer.copyFrom(source_, 1000, 100));
  ASSERT_TRUE(writer.flush());
  const Bytes first(content_.begin() + 1000, content_.begin() + 1100);
  content_ = patternOf(content_.size() + 5000, 10);
  writeBytes(path_, content_);
  ASSERT_TRUE(writer.copyFrom(source_, 2000, 100));
  ASSERT_TRUE(writer.copyFrom(source_, content_.size() - 100, 100));
  ASSERT_TRUE(writer.flush());
  out.close();
  Bytes expected(kHeaderSize, 0);
  expected.insert(expected.end(), first.begin(), first.end());
  expected.insert(expected.end(), content_.begin() + 2000, content_.begin() + 2100);
  expected.insert(expected.end(), content_.end() - 100, content_.end());
  const Bytes written = readBytes(outPath);
  ASSERT_EQ(written.size(), expected.size());
  EXPECT_TRUE(
      std::equal(written.begin() + kHeaderSize, written.end(), expected.begin() + kHeaderSize));
}

}  // namespace
}  // namespace vka::test
