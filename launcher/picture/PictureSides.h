// The sides a JPEG or PNG file announces in its header, read before any decoder opens it: a
// decoder that expands the whole picture as it opens would otherwise fill memory before the
// size could be refused.
#pragma once

#include <cstdint>
#include <span>

// True when the header announces a side longer than kMaxPictureSide. Data that is not of the
// kind, or too short to tell, is not too large: the decoder refuses it on its own.
bool JpegHeaderTooLarge(std::span<const std::uint8_t> data);
bool PngHeaderTooLarge(std::span<const std::uint8_t> data);
