// The file table: the records of every entry, back to back, compressed as one zlib stream.
#pragma once

#include <cstdint>
#include <string_view>

#include "ArchiveEntry.h"
#include "FileHandle.h"

namespace vka {

// Where a table lies in its archive, and what its header and prefix say of it.
struct StoredTable {
  std::uint64_t position = 0;  // of its compressed bytes
  std::uint32_t packedSize = 0;
  std::uint32_t declaredSize = 0;  // the image is at most this long
  std::uint32_t count = 0;         // records the image must hold
};

// Reads the compressed table in pieces and inflates it into `image`, parsing the records of
// each piece as it comes out, while it is still in the processor's cache. The names stay in
// `image`, which becomes the archive's name pool. The results are those of zlib `uncompress`
// of the whole stream followed by a parse of the whole image: 3 if the bytes cannot be read;
// 4 if they are not a zlib stream of at most declaredSize bytes, if `count` records cannot fit
// in the image, if a record is cut short or a name has no NUL within 256 bytes; 3 if an
// entry's data do not lie within the first `fileSize` bytes. The first record fault found
// counts.
int readTable(const FileHandle& file, const StoredTable& table, std::uint64_t fileSize,
              NamePool& image, EntryList& entries);

// The image of `entries`, whose names are in `names`. Stored offsets count from the end of
// the header.
NamePool buildTableImage(const EntryList& entries, std::string_view names);

// zlib `compress` at the default level; false if zlib fails.
bool compressTable(const NamePool& image, NamePool& packed);

}  // namespace vka
