#include "FileTable.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>

#include "vka/vka.h"

namespace vka {

int parseTableImage(const std::string& image, std::uint32_t count, std::uint64_t fileSize,
                    std::vector<ArchiveEntry>& entries) {
  entries.clear();
  // Every record takes at least kRecordFixedSize bytes: a count that cannot fit is refused
  // before anything is reserved for it.
  if (count > image.size() / kRecordFixedSize) return VKA_ERR_ZLIB;
  entries.reserve(count);
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(image.data());
  const std::size_t size = image.size();
  std::size_t at = 0;
  for (std::uint32_t i = 0; i < count; ++i) {
    const std::size_t nameSpan = std::min(size - at, kMaxNameLength + 1);
    const void* nul = std::memchr(bytes + at, 0, nameSpan);
    if (nul == nullptr) return VKA_ERR_ZLIB;
    const std::size_t nameLength = static_cast<const std::uint8_t*>(nul) - (bytes + at);
    const std::size_t fields = at + nameLength + 1;
    if (size - fields < kRecordFixedSize - 1) return VKA_ERR_ZLIB;
    ArchiveEntry entry;
    entry.nameAt = static_cast<std::uint32_t>(at);
    entry.nameLength = static_cast<std::uint8_t>(nameLength);
    entry.compressedSize = readU32(bytes + fields);
    entry.alignedSize = readU32(bytes + fields + 4);
    entry.uncompressedSize = readU32(bytes + fields + 8);
    entry.flags = bytes[fields + 12];
    entry.offset = readU32(bytes + fields + 13);
    if (entry.hasData() && entry.absoluteOffset() + entry.compressedSize > fileSize) {
      return VKA_ERR_NOT_ARCHIVE;
    }
    entries.push_back(entry);
    at = fields + kRecordFixedSize - 1;
  }
  return VKA_OK;
}

std::string buildTableImage(const std::vector<ArchiveEntry>& entries, std::string_view names) {
  std::size_t size = 0;
  for (const ArchiveEntry& entry : entries) size += entry.nameLength + kRecordFixedSize;
  std::string image(size, '\0');
  auto* out = reinterpret_cast<std::uint8_t*>(image.data());
  for (const ArchiveEntry& entry : entries) {
    std::memcpy(out, names.data() + entry.nameAt, entry.nameLength);
    out += entry.nameLength + 1;  // the NUL is already there
    writeU32(out, entry.compressedSize);
    writeU32(out + 4, entry.alignedSize);
    writeU32(out + 8, entry.uncompressedSize);
    out[12] = entry.flags;
    writeU32(out + 13, entry.offset);
    out += kRecordFixedSize - 1;
  }
  return image;
}

bool compressTable(const std::string& image, std::string& packed) {
  uLongf packedSize = compressBound(image.size());
  packed.resize(packedSize);
  if (compress(reinterpret_cast<Bytef*>(packed.data()), &packedSize,
               reinterpret_cast<const Bytef*>(image.data()), image.size()) != Z_OK) {
    return false;
  }
  packed.resize(packedSize);
  return true;
}

bool uncompressTable(const std::string& packed, std::uint32_t declaredSize, std::string& image) {
  image.resize(declaredSize);
  uLongf imageSize = declaredSize;
  // zlib refuses a null output pointer even for an empty table.
  Bytef empty = 0;
  Bytef* out = declaredSize == 0 ? &empty : reinterpret_cast<Bytef*>(image.data());
  if (uncompress(out, &imageSize, reinterpret_cast<const Bytef*>(packed.data()), packed.size()) !=
      Z_OK) {
    return false;
  }
  image.resize(imageSize);
  return true;
}

}  // namespace vka
