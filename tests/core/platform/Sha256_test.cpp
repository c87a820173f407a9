#include "platform/Sha256.h"

#include <gtest/gtest.h>

#include <string>

using namespace morvo;

namespace {

std::string HexOf(const std::string& text) {
  const std::optional<Sha256Digest> digest = Sha256Of(text.data(), text.size());
  return digest ? HexOfDigest(*digest) : "none";
}

TEST(Sha256, KnownDigests) {
  EXPECT_EQ(HexOf(""), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
  EXPECT_EQ(HexOf("abc"), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
  EXPECT_EQ(HexOf(std::string(1000000, 'a')),
            "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0");
}

TEST(Sha256, PiecesGiveTheDigestOfTheWhole) {
  const std::string text = "a patch arrives in pieces of any size, empty ones too";
  Sha256 hash;
  hash.Update(text.data(), 7);
  hash.Update(text.data() + 7, 0);
  hash.Update(text.data() + 7, text.size() - 7);
  ASSERT_TRUE(hash.Ok());
  const std::optional<Sha256Digest> pieces = hash.Finish();
  ASSERT_TRUE(pieces.has_value());
  EXPECT_EQ(HexOfDigest(*pieces), HexOf(text));
  EXPECT_FALSE(hash.Ok());  // spent
  EXPECT_FALSE(hash.Finish().has_value());
}

TEST(Sha256, HexDigestsReadBackOnlyWhenWhole) {
  const std::string abc = HexOf("abc");
  const std::optional<Sha256Digest> read = ParseHexDigest(abc);
  ASSERT_TRUE(read.has_value());
  EXPECT_EQ(HexOfDigest(*read), abc);
  std::string upper = abc;
  for (char& c : upper) c = static_cast<char>(toupper(c));
  EXPECT_EQ(ParseHexDigest(upper), read);
  for (const std::string& bad : {std::string(), abc.substr(1), abc + "0", " " + abc.substr(1),
                                 abc.substr(0, 63) + "g", "0x" + abc.substr(2)}) {
    EXPECT_FALSE(ParseHexDigest(bad)) << bad;
  }
}

}  // namespace
