// A progress line redrawn in place: what reaches the stream, byte for byte.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "ToolConsole.h"

namespace {

class InPlaceLineTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_NE(stream_, nullptr); }
  void TearDown() override {
    if (stream_ != nullptr) std::fclose(stream_);
  }

  std::string written() {
    std::fflush(stream_);
    std::rewind(stream_);
    std::string bytes;
    char buffer[256];
    for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, stream_)) > 0;) {
      bytes.append(buffer, got);
    }
    return bytes;
  }

  std::FILE* stream_ = std::tmpfile();
};

TEST_F(InPlaceLineTest, AShorterTextCoversWhatTheLongerOneShowed) {
  InPlaceLine line(stream_);
  EXPECT_FALSE(line.IsDrawn());
  line.Draw("merging 10/200");
  line.Draw("merging 11/200");
  line.Draw("done");
  EXPECT_TRUE(line.IsDrawn());
  EXPECT_EQ(written(), "\rmerging 10/200\rmerging 11/200\rdone          \rdone");
}

TEST_F(InPlaceLineTest, WidthCountsCharactersNotUtf8Bytes) {
  InPlaceLine line(stream_);
  line.Draw("t\xC3\xA9l\xC3\xA9");  // "télé": 4 characters in 6 bytes
  line.Draw("ab");
  line.Draw("\xD0\xB4\xD0\xB0\xD0\xB4");  // 3 Cyrillic characters: wider than "ab", no blanks
  EXPECT_EQ(written(), "\rt\xC3\xA9l\xC3\xA9\rab  \rab\r\xD0\xB4\xD0\xB0\xD0\xB4");
}

TEST_F(InPlaceLineTest, KeepEndsTheLineAndEraseBlanksIt) {
  InPlaceLine line(stream_);
  line.Erase();
  line.Keep();  // nothing drawn: nothing to end or blank
  line.Draw("first one");
  line.Keep();
  EXPECT_FALSE(line.IsDrawn());
  line.Draw("x");  // a new line: nothing of the kept one to cover
  line.Erase();
  EXPECT_FALSE(line.IsDrawn());
  EXPECT_EQ(written(), "\rfirst one\n\rx\r \r");
}

TEST_F(InPlaceLineTest, PrintTextFormatsTextsOfAnyLength) {
  const std::string longName(5000, 'n');
  PrintText(stream_, "%s: %d entries, %s\n", "game.vka", 42, longName.c_str());
  PrintText(stream_, "%s", "");
  // Sizes and 64-bit counts, as on every platform (not the Windows C runtime's old formats).
  PrintText(stream_, "%zu/%llu", std::size_t{7}, 1ULL << 40);
  EXPECT_EQ(written(), "game.vka: 42 entries, " + longName + "\n7/1099511627776");
}

}  // namespace
