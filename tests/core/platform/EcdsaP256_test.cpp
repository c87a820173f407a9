#include "platform/EcdsaP256.h"

#include <gtest/gtest.h>

#include <string>

using namespace morvo;

namespace {

template <std::size_t N>
std::array<std::uint8_t, N> FromHex(const std::string& hex) {
  std::array<std::uint8_t, N> bytes{};
  for (std::size_t i = 0; i < N; ++i) {
    bytes[i] = static_cast<std::uint8_t>(std::stoi(hex.substr(2 * i, 2), nullptr, 16));
  }
  return bytes;
}

std::span<const std::uint8_t> Bytes(const std::string& text) {
  return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

// A published deterministic-signature example for P-256 with SHA-256, message "sample": made
// by neither platform's library, so each proves it reads the raw forms as the other writes them.
const P256PublicKey kSamplePublic = FromHex<64>(
    "60FED4BA255A9D31C961EB74C6356D68C049B8923B61FA6CE669622E60F29FB6"
    "7903FE1008B8BC99A41AE9E95628BC64F2F1B20C2D7E9F5177A3C294D4462299");
const P256Signature kSampleSignature = FromHex<64>(
    "EFD48B2AACB6A8FD1140DD9CD45E81D69D2C877B56AAF991C34D0EA84EAF3716"
    "F7CB1C942D657C41D436C7A1B6E29F65F3E900DBB9AFF4064DC4AB2F843ACDA8");

TEST(EcdsaP256, VerifiesAPublishedSignatureAndNothingChanged) {
  EXPECT_TRUE(VerifyP256(kSamplePublic, Bytes("sample"), kSampleSignature));
  EXPECT_FALSE(VerifyP256(kSamplePublic, Bytes("samplf"), kSampleSignature));
  P256Signature flipped = kSampleSignature;
  flipped[40] ^= 1;
  EXPECT_FALSE(VerifyP256(kSamplePublic, Bytes("sample"), flipped));
  P256PublicKey otherPoint = kSamplePublic;
  otherPoint[63] ^= 1;  // no longer a point of the curve
  EXPECT_FALSE(VerifyP256(otherPoint, Bytes("sample"), kSampleSignature));
  EXPECT_FALSE(VerifyP256(kSamplePublic, Bytes("sample"), P256Signature{}));
}

TEST(EcdsaP256, NewKeysSignAndOnlyTheirOwnSignaturesVerify) {
  const std::optional<P256KeyPair> first = GenerateP256KeyPair();
  const std::optional<P256KeyPair> second = GenerateP256KeyPair();
  ASSERT_TRUE(first && second);
  EXPECT_NE(first->Public, second->Public);
  const std::string list = "[patchs]\r\np0001.pak=http://127.0.0.1/p0001.pak\r\n";
  const std::optional<P256Signature> signature = SignP256(*first, Bytes(list));
  ASSERT_TRUE(signature.has_value());
  EXPECT_TRUE(VerifyP256(first->Public, Bytes(list), *signature));
  EXPECT_FALSE(VerifyP256(second->Public, Bytes(list), *signature));
  EXPECT_FALSE(VerifyP256(first->Public, Bytes(list + " "), *signature));
  // A private key that does not belong to its public one signs nothing.
  P256KeyPair mismatched = *first;
  mismatched.Public = second->Public;
  const std::optional<P256Signature> wrong = SignP256(mismatched, Bytes(list));
  EXPECT_TRUE(!wrong || !VerifyP256(second->Public, Bytes(list), *wrong));
}

}  // namespace
