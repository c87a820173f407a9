#include "signing/SigningKeyText.h"

#include "text/AsciiText.h"
#include "text/HexText.h"

namespace morvo {

namespace {

constexpr std::string_view kKeyPrefix = "P256:";

}  // namespace

std::string PublicKeyText(const P256PublicKey& key) {
  return std::string(kKeyPrefix) + HexOfBytes(key);
}

std::optional<P256PublicKey> ParsePublicKeyText(std::string_view text) {
  text = TrimControlAndBlanks(text);
  if (!text.starts_with(kKeyPrefix)) return std::nullopt;
  P256PublicKey key{};
  if (!ParseHexBytes(text.substr(kKeyPrefix.size()), key) || !IsP256PublicKey(key)) {
    return std::nullopt;
  }
  return key;
}

}  // namespace morvo
