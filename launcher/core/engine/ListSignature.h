// Whether a downloaded patch list is the one its publisher signed.
#pragma once

#include <cstdint>
#include <string>

#include "platform/EcdsaP256.h"

namespace morvo {

// True only when the file at signaturePath holds exactly a signature (64 bytes, r then s) of
// the exact bytes of the file at listPath under key. A file that cannot be read, a signature
// of another size and a list beyond kLargestSignedList bytes verify nothing.
bool ListSignatureVerifies(const std::string& listPath, const std::string& signaturePath,
                           const P256PublicKey& key);

inline constexpr std::int64_t kLargestSignedList = 64 << 20;

}  // namespace morvo
