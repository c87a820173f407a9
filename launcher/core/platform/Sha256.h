// SHA-256 of data given piece by piece, by the platform's own cryptography (libcrypto on POSIX
// systems, CNG on Windows).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace morvo {

using Sha256Digest = std::array<std::uint8_t, 32>;

class Sha256 {
 public:
  Sha256();
  ~Sha256();
  Sha256(Sha256&&) noexcept;
  Sha256& operator=(Sha256&&) noexcept;

  // False once the platform refused anything; Finish then gives nothing.
  bool Ok() const { return state_ != nullptr && !failed_; }
  void Update(const void* data, std::size_t size);
  // The digest of everything given; the object is spent afterwards.
  std::optional<Sha256Digest> Finish();

 private:
  struct State;
  std::unique_ptr<State> state_;
  bool failed_ = false;
};

// The digest of bytes at once.
std::optional<Sha256Digest> Sha256Of(const void* data, std::size_t size);

// Lower-case hexadecimal, 64 characters.
std::string HexOfDigest(const Sha256Digest& digest);

// The digest of exactly 64 hexadecimal digits (either case); nullopt for any other text.
std::optional<Sha256Digest> ParseHexDigest(std::string_view text);

}  // namespace morvo
