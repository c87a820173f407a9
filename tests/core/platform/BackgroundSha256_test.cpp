#include "platform/BackgroundSha256.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <vector>

using namespace morvo;

namespace {

std::vector<char> Pattern(std::size_t size) {
  std::vector<char> bytes(size);
  std::uint32_t state = 12345;
  for (char& byte : bytes) {
    state = state * 1103515245u + 12345u;
    byte = static_cast<char>(state >> 24);
  }
  return bytes;
}

// Pieces that end inside blocks, span several and fill them exactly, in numbers that make the
// caller wait for the worker: the digest is the one of the bytes in one piece.
TEST(BackgroundSha256, DigestOfAnyPiecingIsTheDigestOfTheWhole) {
  const std::vector<char> bytes = Pattern(11 * 1024 * 1024 + 77);
  const auto whole = Sha256Of(bytes.data(), bytes.size());
  ASSERT_TRUE(whole);
  for (std::size_t piece : {std::size_t{1} << 20, std::size_t{4093}, std::size_t{3} << 20}) {
    BackgroundSha256 hash;
    for (std::size_t at = 0; at < bytes.size(); at += piece) {
      hash.Update(bytes.data() + at, std::min(piece, bytes.size() - at));
    }
    EXPECT_EQ(hash.Finish(), whole) << "pieces of " << piece;
  }
  BackgroundSha256 empty;
  EXPECT_EQ(empty.Finish(), Sha256Of("", 0));
}

// A download that fails or starts over drops its hash midway: the thread stops without
// hashing the rest and without waiting for more.
TEST(BackgroundSha256, DroppedUnfinishedEndsWithoutWaiting) {
  const std::vector<char> bytes = Pattern(9 * 1024 * 1024);
  auto hash = std::make_unique<BackgroundSha256>();
  hash->Update(bytes.data(), bytes.size());
  hash.reset();  // a thread left waiting would hang the test here
}

}  // namespace
