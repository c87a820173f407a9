// On-disk layout of a data archive: a 46-byte header, the entries' stored bytes, then the
// zlib-compressed file table. Integers are 32-bit little-endian.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace vka {

inline constexpr std::size_t kHeaderSize = 46;
inline constexpr char kMagic[16] = "Master of Magic";  // 15 characters and the NUL
inline constexpr std::size_t kFillBytesAt = 16;
inline constexpr std::size_t kFillBytesCount = 14;
inline constexpr std::size_t kTableOffsetAt = 30;
inline constexpr std::size_t kSpareWordAt = 34;
inline constexpr std::size_t kCountFieldAt = 38;
inline constexpr std::size_t kVersionAt = 42;
inline constexpr std::uint32_t kFormatVersion = 0x200;
// countField holds the number of table entries plus this.
inline constexpr std::uint32_t kCountBias = 7;

inline constexpr std::size_t kTablePrefixSize = 8;  // tablePackedSize, tableSize
// A record is its name, a NUL, three sizes, the flags byte and the offset.
inline constexpr std::size_t kRecordFixedSize = 18;
inline constexpr std::size_t kMaxNameLength = 255;

inline constexpr std::uint8_t kFileFlag = 0x01;
inline constexpr std::uint8_t kDirectoryFlag = 0x02;

// Every new archive starts with this directory entry; its values are part of the format.
inline constexpr char kDataDirectoryName[] = "data";
inline constexpr std::uint32_t kDataDirectoryCompressedSize = 1097;
inline constexpr std::uint32_t kDataDirectoryAlignedSize = 1812;
inline constexpr std::uint32_t kDataDirectoryUncompressedSize = 1372;
inline constexpr std::uint32_t kDataDirectoryOffset = 1326;  // stored; absolute 1372

// Positions are used as signed 32-bit file positions, so an archive stays below 2 GiB.
inline constexpr std::uint64_t kMaxArchiveSize = 0x7FFFFFFF;
// No archive of 2 GiB can need a larger table image than this (about 20 million records);
// a header claiming more is damaged, and nothing is allocated for it.
inline constexpr std::uint64_t kMaxTableSize = 512ull << 20;
// Deflate cannot expand data by more than this factor when inflating.
inline constexpr std::uint64_t kMaxInflateRatio = 1032;

// Entry data move through one buffer of this size, whatever an entry's size.
inline constexpr std::size_t kCopyBufferSize = 1u << 20;

inline std::uint32_t readU32(const std::uint8_t* at) {
  return std::uint32_t(at[0]) | std::uint32_t(at[1]) << 8 | std::uint32_t(at[2]) << 16 |
         std::uint32_t(at[3]) << 24;
}

inline void writeU32(std::uint8_t* at, std::uint32_t value) {
  at[0] = std::uint8_t(value);
  at[1] = std::uint8_t(value >> 8);
  at[2] = std::uint8_t(value >> 16);
  at[3] = std::uint8_t(value >> 24);
}

}  // namespace vka
