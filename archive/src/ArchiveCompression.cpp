// Entries whose content the library compresses itself: one zlib stream at the default level,
// produced piece by piece so that memory does not grow with the content's size.
#include <zlib.h>

#include <memory>

#include "ArchiveFile.h"
#include "vka/vka.h"

namespace vka {

namespace {

struct DeflateStream {
  z_stream stream{};
  bool ready = deflateInit(&stream, Z_DEFAULT_COMPRESSION) == Z_OK;
  ~DeflateStream() {
    if (ready) deflateEnd(&stream);
  }
};

}  // namespace

int ArchiveFile::addCompressed(std::string_view entryName, std::uint8_t flags,
                               const ContentSource& next) {
  if (entryName.size() > kMaxNameLength) return VKA_ERR_ZLIB;
  auto deflater = std::make_unique<DeflateStream>();
  if (!deflater->ready) return VKA_ERR_ZLIB;
  z_stream& z = deflater->stream;
  ArchiveEntry entry;
  entry.flags = flags;
  entry.offset = static_cast<std::uint32_t>(writer_.end() - kHeaderSize);
  const std::uint64_t startedAt = writer_.end();
  std::uint64_t contentSize = 0;
  bool atEnd = false;
  int status = Z_OK;
  while (status != Z_STREAM_END) {
    if (z.avail_in == 0 && !atEnd) {
      const std::uint8_t* piece = nullptr;
      const std::int64_t length = next(piece);
      if (length < 0) return VKA_ERR_OPEN;
      atEnd = length == 0;
      contentSize += static_cast<std::uint64_t>(length);
      if (contentSize > UINT32_MAX) return VKA_ERR_ZLIB;
      z.next_in = const_cast<Bytef*>(piece);
      z.avail_in = static_cast<uInt>(length);
    }
    std::size_t room = 0;
    std::uint8_t* into = writer_.space(room);
    if (into == nullptr) return failWrite();
    z.next_out = into;
    z.avail_out = static_cast<uInt>(room);
    status = deflate(&z, atEnd ? Z_FINISH : Z_NO_FLUSH);
    if (status == Z_STREAM_ERROR) return VKA_ERR_ZLIB;
    writer_.commitSpace(room - z.avail_out);
    if (writer_.failed()) return failWrite();
  }
  entry.uncompressedSize = static_cast<std::uint32_t>(contentSize);
  entry.compressedSize = entry.alignedSize = static_cast<std::uint32_t>(writer_.end() - startedAt);
  return appendRecord(entry, entryName);
}

}  // namespace vka
