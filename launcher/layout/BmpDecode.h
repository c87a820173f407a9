// The skin picture: a Windows BMP file decoded from memory into opaque 32-bit pixels. Every
// field is checked against the data, so any bytes give a picture or a clear refusal.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "SkinPixels.h"

namespace morvo {

// Sides larger than this are refused: no skin needs them and the pixels would be unbounded.
inline constexpr int kMaxBmpSide = 16384;

// Uncompressed BMPs of 1, 4, 8, 16, 24 and 32 bits per pixel (with colour masks for 16 and 32),
// bottom-up or top-down, with an info header of 40 bytes or more (or the old 12-byte one).
// nullopt for anything else, for truncated pixel data and for sides above kMaxBmpSide.
std::optional<PixelImage> DecodeBmp(std::span<const std::uint8_t> data);

}  // namespace morvo
