// 32-bit integers as every file of the patcher stores them: four bytes, lowest first, whatever
// the byte order of the machine that reads or writes them.
#pragma once

#include <cstdint>
#include <span>

namespace morvo {

inline std::int32_t DecodeInt32LE(std::span<const std::uint8_t, 4> bytes) {
  return static_cast<std::int32_t>(
      static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
      static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24);
}

// Appends the four bytes of value to out, a std::string or a std::vector of bytes.
template <typename ByteContainer>
void AppendInt32LE(ByteContainer& out, std::int32_t value) {
  const auto bits = static_cast<std::uint32_t>(value);
  for (int shift = 0; shift < 32; shift += 8) {
    out.push_back(static_cast<typename ByteContainer::value_type>(bits >> shift & 0xFF));
  }
}

}  // namespace morvo
