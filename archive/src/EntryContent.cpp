#include "EntryContent.h"

#include <zlib.h>

#include <memory>

namespace vka {

namespace {

constexpr std::size_t kInflateBufferSize = 256 * 1024;

struct InflateStream {
  z_stream stream{};
  bool ready = inflateInit(&stream) == Z_OK;
  ~InflateStream() {
    if (ready) inflateEnd(&stream);
  }
};

}  // namespace

bool inflateEntry(const ArchiveFile& archive, const ArchiveEntry& entry, const ByteSink& sink) {
  if (!entry.hasData()) return false;
  auto inflater = std::make_unique<InflateStream>();
  if (!inflater->ready) return false;
  z_stream& z = inflater->stream;
  std::vector<std::uint8_t> out(kInflateBufferSize);
  std::uint64_t produced = 0;
  int status = Z_OK;
  const bool read = archive.readStored(entry, [&](const std::uint8_t* piece, std::size_t length) {
    z.next_in = const_cast<Bytef*>(piece);
    z.avail_in = static_cast<uInt>(length);
    while (z.avail_in > 0) {
      if (status == Z_STREAM_END) return false;  // bytes after the end of the stream
      z.next_out = out.data();
      z.avail_out = static_cast<uInt>(out.size());
      status = inflate(&z, Z_NO_FLUSH);
      if (status != Z_OK && status != Z_STREAM_END) return false;
      const std::size_t got = out.size() - z.avail_out;
      produced += got;
      if (produced > entry.uncompressedSize || (got > 0 && !sink(out.data(), got))) return false;
    }
    return true;
  });
  // The stream may still hold output once all input is in.
  while (read && status == Z_OK) {
    z.next_out = out.data();
    z.avail_out = static_cast<uInt>(out.size());
    status = inflate(&z, Z_FINISH);
    const std::size_t got = out.size() - z.avail_out;
    produced += got;
    if (got == 0 || produced > entry.uncompressedSize || !sink(out.data(), got)) break;
  }
  return read && status == Z_STREAM_END && produced == entry.uncompressedSize;
}

}  // namespace vka
