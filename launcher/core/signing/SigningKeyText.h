// The one text form of a signing public key: "P256:" and the 128 lower-case hexadecimal digits
// of X then Y. It is the content of a NAME.pub file and the value of the configuration's
// SigningKey field.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/EcdsaP256.h"

namespace morvo {

// "P256:" + 128 lower-case hex digits, without a line end.
std::string PublicKeyText(const P256PublicKey& key);

// The key of a text in the form above (hex digits of either case); blanks and line ends around
// it are tolerated. nullopt for any other text, and for a point that is not on the curve.
std::optional<P256PublicKey> ParsePublicKeyText(std::string_view text);

}  // namespace morvo
