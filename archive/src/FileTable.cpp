#include "FileTable.h"

#include <zlib.h>

#include <cstring>

namespace vka {

NamePool buildTableImage(const EntryList& entries, std::string_view names) {
  std::size_t size = 0;
  for (const ArchiveEntry& entry : entries) size += entry.nameLength + kRecordFixedSize;
  NamePool image(size);  // every byte is written below
  auto* out = reinterpret_cast<std::uint8_t*>(image.data());
  for (const ArchiveEntry& entry : entries) {
    std::memcpy(out, names.data() + entry.nameAt, entry.nameLength);
    out[entry.nameLength] = 0;
    out += entry.nameLength + 1;
    writeU32(out, entry.compressedSize);
    writeU32(out + 4, entry.alignedSize);
    writeU32(out + 8, entry.uncompressedSize);
    out[12] = entry.flags;
    writeU32(out + 13, entry.offset);
    out += kRecordFixedSize - 1;
  }
  return image;
}

bool compressTable(const NamePool& image, NamePool& packed) {
  uLongf packedSize = compressBound(image.size());
  packed.resize(packedSize);
  // zlib refuses a null pointer even for nothing to compress.
  Bytef nothing = 0;
  const Bytef* in = image.empty() ? &nothing : reinterpret_cast<const Bytef*>(image.data());
  if (compress(reinterpret_cast<Bytef*>(packed.data()), &packedSize, in, image.size()) != Z_OK) {
    return false;
  }
  packed.resize(packedSize);
  return true;
}

}  // namespace vka
