#include "signing/SigningKeyText.h"

#include <gtest/gtest.h>

#include "ProcessTestSupport.h"

using namespace morvo;

namespace {

// A point of the curve: the public key of a published P-256 example.
constexpr char kHex[] =
    "60fed4ba255a9d31c961eb74c6356d68c049b8923b61fa6ce669622e60f29fb6"
    "7903fe1008b8bc99a41ae9e95628bc64f2f1b20c2d7e9f5177a3c294d4462299";

TEST(SigningKeyText, WritesOneLineThatReadsBack) {
  const std::optional<P256PublicKey> key = ParsePublicKeyText(std::string("P256:") + kHex);
  ASSERT_TRUE(key.has_value());
  EXPECT_EQ((*key)[0], 0x60);
  EXPECT_EQ((*key)[63], 0x99);
  EXPECT_EQ(PublicKeyText(*key), std::string("P256:") + kHex);

  const std::optional<P256KeyPair> fresh = GenerateP256KeyPair();
  ASSERT_TRUE(fresh.has_value());
  EXPECT_EQ(ParsePublicKeyText(PublicKeyText(fresh->Public)), fresh->Public);
}

TEST(SigningKeyText, ToleratesLineEndsAndCaseOfDigitsOnly) {
  const std::string text = std::string("P256:") + kHex;
  std::string upper = text;
  for (std::size_t i = 5; i < upper.size(); ++i) upper[i] = static_cast<char>(toupper(upper[i]));
  for (const std::string& accepted : {text + "\n", text + "\r\n", "  " + text + " \n\n", upper}) {
    EXPECT_TRUE(ParsePublicKeyText(accepted).has_value()) << accepted;
  }
  std::string offCurve = text;
  offCurve.back() = '8';
  const std::string refused[] = {
      "",
      kHex,                                        // no prefix
      "p256:" + std::string(kHex),                 // prefix is exact
      "P384:" + std::string(kHex),                 // another curve
      text.substr(0, text.size() - 2),             // a byte short
      text + "00",                                 // a byte long
      text.substr(0, 20) + "g" + text.substr(21),  // not a digit
      text.substr(0, 20) + " " + text.substr(21),  // a blank inside
  };
  for (const std::string& bad : refused) EXPECT_FALSE(ParsePublicKeyText(bad)) << bad;
  // A point off the curve: Windows' CNG refuses it on import, Wine's takes it (and then
  // verifies nothing with it).
  if (!RunsUnderWine()) EXPECT_FALSE(ParsePublicKeyText(offCurve));
}

}  // namespace
