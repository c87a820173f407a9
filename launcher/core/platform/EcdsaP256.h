// ECDSA over the P-256 curve with SHA-256, by the platform's own cryptography (libcrypto on
// POSIX systems, CNG on Windows). Keys and signatures travel in the raw forms that both read:
// a public key is X then Y, a private key is d, a signature is r then s, each number 32 bytes
// big-endian.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>

namespace morvo {

using P256PublicKey = std::array<std::uint8_t, 64>;
using P256PrivateKey = std::array<std::uint8_t, 32>;
using P256Signature = std::array<std::uint8_t, 64>;

struct P256KeyPair {
  P256PrivateKey Private{};
  P256PublicKey Public{};
};

// True when publicKey is a point of the curve, the only keys that verify anything.
bool IsP256PublicKey(const P256PublicKey& publicKey);

// A new key pair from the platform's random source; nullopt when it failed.
std::optional<P256KeyPair> GenerateP256KeyPair();

// The signature of message's SHA-256; nullopt when the key is not a valid pair.
std::optional<P256Signature> SignP256(const P256KeyPair& key,
                                      std::span<const std::uint8_t> message);

// True only when signature is a valid signature of message's SHA-256 under publicKey; a key that
// is no point of the curve verifies nothing.
bool VerifyP256(const P256PublicKey& publicKey, std::span<const std::uint8_t> message,
                const P256Signature& signature);

}  // namespace morvo
