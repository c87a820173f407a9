#include "text/LittleEndian.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

using namespace morvo;

namespace {

TEST(LittleEndian, DecodesLowestByteFirstWithTheSignInTheLast) {
  const std::uint8_t ordered[4] = {0x78, 0x56, 0x34, 0x12};
  EXPECT_EQ(DecodeInt32LE(ordered), 0x12345678);
  const std::uint8_t minusOne[4] = {0xFF, 0xFF, 0xFF, 0xFF};
  EXPECT_EQ(DecodeInt32LE(minusOne), -1);
  const std::uint8_t lowest[4] = {0x00, 0x00, 0x00, 0x80};
  EXPECT_EQ(DecodeInt32LE(lowest), std::numeric_limits<std::int32_t>::min());
  const std::uint8_t highBitsInEveryByte[4] = {0x80, 0x80, 0x80, 0x00};
  EXPECT_EQ(DecodeInt32LE(highBitsInEveryByte), 0x00808080);
}

TEST(LittleEndian, AppendsTheSameBytesToStringsAndByteVectors) {
  std::string text = "x";
  AppendInt32LE(text, static_cast<std::int32_t>(0x8000000F));
  EXPECT_EQ(text, std::string("x\x0F\x00\x00\x80", 5));

  std::vector<std::uint8_t> bytes;
  for (const std::int32_t value : {0, -1, 0x12345678, std::numeric_limits<std::int32_t>::min(),
                                   std::numeric_limits<std::int32_t>::max()}) {
    bytes.clear();
    AppendInt32LE(bytes, value);
    ASSERT_EQ(bytes.size(), 4u);
    EXPECT_EQ(DecodeInt32LE(std::span<const std::uint8_t, 4>(bytes.data(), 4)), value);
  }
}

}  // namespace
