// Bytes as hexadecimal text and back: digests, keys and escapes in texts operators edit.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace morvo {

// The value of one hexadecimal digit (either case), or -1.
int HexDigitValue(char c);

// Two lower-case digits per byte.
std::string HexOfBytes(std::span<const std::uint8_t> bytes);

// Fills out from exactly 2 * out.size() digits (either case); false, out unspecified, on any
// other text.
bool ParseHexBytes(std::string_view text, std::span<std::uint8_t> out);

}  // namespace morvo
