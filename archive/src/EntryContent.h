// The content of an entry the library compressed: its stored bytes inflated piece by piece.
#pragma once

#include "ArchiveFile.h"

namespace vka {

// Passes the entry's content to `sink` in pieces. True when the stored bytes are exactly
// one zlib stream of uncompressedSize bytes and the sink took every piece.
bool inflateEntry(const ArchiveFile& archive, const ArchiveEntry& entry, const ByteSink& sink);

}  // namespace vka
