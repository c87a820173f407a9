#include "platform/Sha256.h"

#include "text/HexText.h"

namespace morvo {

std::optional<Sha256Digest> Sha256Of(const void* data, std::size_t size) {
  Sha256 hash;
  hash.Update(data, size);
  return hash.Finish();
}

std::string HexOfDigest(const Sha256Digest& digest) { return HexOfBytes(digest); }

std::optional<Sha256Digest> ParseHexDigest(std::string_view text) {
  Sha256Digest digest{};
  if (!ParseHexBytes(text, digest)) return std::nullopt;
  return digest;
}

}  // namespace morvo
