// Reading a file table: its compressed bytes in pieces, inflated into the name pool, and the
// records parsed a piece at a time right behind the inflating.
#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <memory>
#include <vector>

#include "FileTable.h"
#include "vka/vka.h"

namespace vka {

namespace {

// Compressed bytes read at a time, and image bytes inflated before the records in them are
// parsed: small enough to stay in the cache between the two.
constexpr std::size_t kPackedPiece = 64 * 1024;
constexpr std::size_t kImageStep = 256 * 1024;

struct InflateStream {
  z_stream stream{};
  bool ready = inflateInit(&stream) == Z_OK;
  ~InflateStream() {
    if (ready) inflateEnd(&stream);
  }
};

// Parses the records of a table image that grows at its end.
class RecordParser {
 public:
  RecordParser(std::uint32_t count, std::uint64_t fileSize, EntryList& entries)
      : left_(count), fileSize_(fileSize), entries_(entries) {}

  // Parses the whole records among the image's first `available` bytes. With `complete`,
  // the image ends there, and a record cut short is a fault. VKA_OK or the first fault.
  int parse(const std::uint8_t* image, std::size_t available, bool complete) {
    for (; left_ > 0; --left_) {
      const std::size_t rest = available - at_;
      const void* nul = std::memchr(image + at_, 0, std::min(rest, kMaxNameLength + 1));
      if (nul == nullptr) return complete || rest > kMaxNameLength ? VKA_ERR_ZLIB : VKA_OK;
      const std::size_t nameLength = static_cast<const std::uint8_t*>(nul) - (image + at_);
      const std::size_t fields = at_ + nameLength + 1;
      if (available - fields < kRecordFixedSize - 1) return complete ? VKA_ERR_ZLIB : VKA_OK;
      const std::uint8_t* field = image + fields;
      ArchiveEntry entry;
      entry.nameAt = static_cast<std::uint32_t>(at_);
      entry.nameLength = static_cast<std::uint8_t>(nameLength);
      entry.compressedSize = readU32(field);
      entry.alignedSize = readU32(field + 4);
      entry.uncompressedSize = readU32(field + 8);
      entry.flags = field[12];
      entry.offset = readU32(field + 13);
      if (entry.hasData() && entry.absoluteOffset() + entry.compressedSize > fileSize_) {
        return VKA_ERR_NOT_ARCHIVE;
      }
      entries_.push_back(entry);
      at_ = fields + kRecordFixedSize - 1;
    }
    return VKA_OK;
  }

 private:
  std::size_t at_ = 0;
  std::uint32_t left_;
  std::uint64_t fileSize_;
  EntryList& entries_;
};

// Inflates the whole stream into `image` as `uncompress` would, telling `parsed` after each
// piece of output how much of the image is ready. 4 if the stream is not valid zlib data of
// at most image.size() bytes, 3 if the file cannot be read; `produced` then says nothing.
int inflateTable(const FileHandle& file, const StoredTable& table, NamePool& image,
                 std::size_t& produced, const std::function<void(std::size_t)>& parsed) {
  auto inflater = std::make_unique<InflateStream>();
  if (!inflater->ready) return VKA_ERR_ZLIB;
  z_stream& z = inflater->stream;
  std::vector<std::uint8_t> packed(std::min<std::size_t>(kPackedPiece, table.packedSize));
  // zlib refuses a null output pointer even for an empty table.
  Bytef nothing = 0;
  Bytef* out = image.empty() ? &nothing : reinterpret_cast<Bytef*>(image.data());
  std::uint64_t read = 0;
  produced = 0;
  for (;;) {
    if (z.avail_in == 0 && read < table.packedSize) {
      const auto piece =
          static_cast<std::size_t>(std::min<std::uint64_t>(packed.size(), table.packedSize - read));
      if (!file.readAt(table.position + read, packed.data(), piece)) return VKA_ERR_NOT_ARCHIVE;
      read += piece;
      z.next_in = packed.data();
      z.avail_in = static_cast<uInt>(piece);
    }
    z.next_out = out + produced;
    z.avail_out = static_cast<uInt>(std::min(kImageStep, image.size() - produced));
    const int status = inflate(&z, Z_NO_FLUSH);
    produced = z.next_out - out;
    if (status == Z_STREAM_END) return VKA_OK;
    const bool wantsInput = z.avail_in == 0 && read < table.packedSize;
    if (status != Z_OK && !(status == Z_BUF_ERROR && wantsInput)) return VKA_ERR_ZLIB;
    parsed(produced);
  }
}

}  // namespace

int readTable(const FileHandle& file, const StoredTable& table, std::uint64_t fileSize,
              NamePool& image, EntryList& entries) {
  entries.clear();
  image.resize(table.declaredSize);
  // Never more records than the declared image can hold, whatever the count claims.
  entries.reserve(std::min<std::size_t>(table.count, table.declaredSize / kRecordFixedSize));
  RecordParser parser(table.count, fileSize, entries);
  int recordFault = VKA_OK;
  std::size_t parsedUpTo = 0;
  std::size_t produced = 0;
  const int inflated = inflateTable(file, table, image, produced, [&](std::size_t available) {
    if (recordFault != VKA_OK || available - parsedUpTo < kImageStep) return;
    recordFault =
        parser.parse(reinterpret_cast<const std::uint8_t*>(image.data()), available, false);
    parsedUpTo = available;
  });
  if (inflated != VKA_OK) return inflated;
  image.resize(produced);
  // A count that cannot fit in the image is refused before any record is looked at.
  if (table.count > produced / kRecordFixedSize) return VKA_ERR_ZLIB;
  if (recordFault != VKA_OK) return recordFault;
  return parser.parse(reinterpret_cast<const std::uint8_t*>(image.data()), produced, true);
}

}  // namespace vka
