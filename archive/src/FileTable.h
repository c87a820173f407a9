// The file table: the records of every entry, back to back, compressed as one zlib stream.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "ArchiveEntry.h"

namespace vka {

// Parses `count` records from the front of a decompressed table image. Names stay in
// `image`, which becomes the archive's name pool. Every record must fit in the image and
// every name must end with a NUL within 256 bytes, else the result is 4; every entry's data
// must lie within the first `fileSize` bytes, else the result is 3.
int parseTableImage(const std::string& image, std::uint32_t count, std::uint64_t fileSize,
                    std::vector<ArchiveEntry>& entries);

// The image of `entries`, whose names are in `names`. Stored offsets count from the end of
// the header.
std::string buildTableImage(const std::vector<ArchiveEntry>& entries, std::string_view names);

// zlib `compress` at the default level; false if zlib fails.
bool compressTable(const std::string& image, std::string& packed);

// zlib `uncompress` of `packed` into an image of at most `declaredSize` bytes; the image
// takes the length zlib actually produced. False if the stream is not valid zlib data.
bool uncompressTable(const std::string& packed, std::uint32_t declaredSize, std::string& image);

}  // namespace vka
