// One record of an archive's file table, as held in memory.
#pragma once

#include <cstdint>

#include "ArchiveFormat.h"
#include "LargeBlock.h"

namespace vka {

struct ArchiveEntry {
  // The name lives in the owning archive's name pool (ArchiveFile::name), which keeps a
  // million-entry table to a single allocation.
  std::uint32_t nameAt = 0;
  std::uint8_t nameLength = 0;
  std::uint8_t flags = 0;
  std::uint32_t compressedSize = 0;
  std::uint32_t alignedSize = 0;
  std::uint32_t uncompressedSize = 0;
  // Position of the stored bytes counted from the end of the header, as in the table, so
  // that a directory's record is carried bit for bit whatever it holds.
  std::uint32_t offset = 0;

  // Bit 0x02 makes a directory whatever the other bits say; it has no data in the archive.
  // Every other record, with bit 0x01 or with neither, has compressedSize stored bytes.
  bool hasData() const { return (flags & kDirectoryFlag) == 0; }
  std::uint64_t absoluteOffset() const { return std::uint64_t(offset) + kHeaderSize; }
};

// A table's records, and its names back to back, each NUL-terminated (its "name pool").
using EntryList = LargeVector<ArchiveEntry>;
using NamePool = LargeVector<char>;

}  // namespace vka
