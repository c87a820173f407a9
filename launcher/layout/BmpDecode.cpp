#include "BmpDecode.h"

#include <bit>
#include <vector>

namespace morvo {

namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::uint32_t kCoreHeaderSize = 12;
constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::uint32_t kUncompressed = 0;
constexpr std::uint32_t kBitFields = 3;

// Reads little-endian fields; any read past the end makes the whole picture refused.
class Reader {
 public:
  explicit Reader(std::span<const std::uint8_t> data) : data_(data) {}

  std::uint32_t U16(std::size_t at) { return Bytes(at, 2); }
  std::uint32_t U32(std::size_t at) { return Bytes(at, 4); }
  bool Failed() const { return failed_; }

 private:
  std::uint32_t Bytes(std::size_t at, std::size_t count) {
    if (at > data_.size() || data_.size() - at < count) {
      failed_ = true;
      return 0;
    }
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < count; ++i) value |= std::uint32_t{data_[at + i]} << (8 * i);
    return value;
  }

  std::span<const std::uint8_t> data_;
  bool failed_ = false;
};

// One colour channel taken out of a pixel by its mask and spread over 0 .. 255.
struct Channel {
  std::uint32_t mask = 0;
  int shift = 0;
  std::uint32_t top = 0;  // the largest value the mask holds

  explicit Channel(std::uint32_t bits) : mask(bits) {
    if (mask == 0) return;
    shift = std::countr_zero(mask);
    top = mask >> shift;
  }
  std::uint32_t Of(std::uint32_t pixel) const {
    if (top == 0) return 0;
    return static_cast<std::uint32_t>(std::uint64_t{(pixel & mask) >> shift} * 255 / top);
  }
};

struct Header {
  std::int64_t width = 0;
  std::int64_t height = 0;  // negative: top row first
  std::uint32_t bitCount = 0;
  std::uint32_t compression = kUncompressed;
  std::uint32_t colorsUsed = 0;
  std::uint32_t headerSize = 0;
};

std::uint32_t Opaque(std::uint32_t red, std::uint32_t green, std::uint32_t blue) {
  return 0xFF000000u | red << 16 | green << 8 | blue;
}

}  // namespace

std::optional<PixelImage> DecodeBmp(std::span<const std::uint8_t> data) {
  Reader read(data);
  if (data.size() < kFileHeaderSize || data[0] != 'B' || data[1] != 'M') return std::nullopt;
  const std::uint32_t pixelOffset = read.U32(10);
  Header header;
  header.headerSize = read.U32(kFileHeaderSize);
  const bool core = header.headerSize == kCoreHeaderSize;
  if (core) {
    header.width = read.U16(18);
    header.height = read.U16(20);
    header.bitCount = read.U16(24);
  } else if (header.headerSize >= kInfoHeaderSize) {
    header.width = static_cast<std::int32_t>(read.U32(18));
    header.height = static_cast<std::int32_t>(read.U32(22));
    header.bitCount = read.U16(28);
    header.compression = read.U32(30);
    header.colorsUsed = read.U32(46);
  } else {
    return std::nullopt;
  }
  if (read.Failed()) return std::nullopt;

  const std::int64_t width = header.width;
  const std::int64_t height = header.height < 0 ? -header.height : header.height;
  if (width < 1 || height < 1 || width > kMaxBmpSide || height > kMaxBmpSide) return std::nullopt;
  const std::uint32_t bits = header.bitCount;
  if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) {
    return std::nullopt;
  }
  const bool masked = header.compression == kBitFields && (bits == 16 || bits == 32) && !core;
  if (header.compression != kUncompressed && !masked) return std::nullopt;

  // Colour masks follow a 40-byte header, or sit inside a longer one at the same place.
  const std::size_t afterHeader = kFileHeaderSize + header.headerSize;
  Channel red(bits == 16 ? 0x7C00u : 0xFF0000u);
  Channel green(bits == 16 ? 0x03E0u : 0x00FF00u);
  Channel blue(bits == 16 ? 0x001Fu : 0x0000FFu);
  if (masked) {
    const std::size_t masks = kFileHeaderSize + kInfoHeaderSize;
    red = Channel(read.U32(masks));
    green = Channel(read.U32(masks + 4));
    blue = Channel(read.U32(masks + 8));
  }

  std::vector<std::uint32_t> palette;
  if (bits <= 8) {
    const std::uint32_t most = 1u << bits;
    const std::uint32_t count =
        header.colorsUsed == 0 || header.colorsUsed > most ? most : header.colorsUsed;
    const std::size_t entrySize = core ? 3 : 4;
    const std::size_t start = afterHeader + (masked ? 12 : 0);
    for (std::uint32_t i = 0; i < count; ++i) {
      const std::size_t at = start + i * entrySize;
      if (at + entrySize > data.size()) break;  // a short palette: missing entries are black
      palette.push_back(Opaque(data[at + 2], data[at + 1], data[at]));
    }
  }
  if (read.Failed()) return std::nullopt;

  const std::uint64_t stride = (static_cast<std::uint64_t>(width) * bits + 31) / 32 * 4;
  if (pixelOffset > data.size() || (data.size() - pixelOffset) / stride < std::uint64_t(height)) {
    return std::nullopt;
  }

  PixelImage image{static_cast<int>(width), static_cast<int>(height),
                   std::vector<std::uint32_t>(static_cast<std::size_t>(width * height))};
  for (std::int64_t row = 0; row < height; ++row) {
    const std::uint8_t* line = data.data() + pixelOffset + row * stride;
    const int y = static_cast<int>(header.height < 0 ? row : height - 1 - row);
    for (std::int64_t column = 0; column < width; ++column) {
      std::uint32_t pixel = 0;
      const std::size_t x = static_cast<std::size_t>(column);
      switch (bits) {
        case 1:
        case 4:
        case 8: {
          const std::size_t bit = x * bits;
          const std::uint32_t index = line[bit / 8] >> (8 - bits - bit % 8) & ((1u << bits) - 1);
          pixel = index < palette.size() ? palette[index] : Opaque(0, 0, 0);
          break;
        }
        case 16:
        case 32: {
          const std::uint32_t value =
              bits == 16
                  ? std::uint32_t{line[2 * x]} | std::uint32_t{line[2 * x + 1]} << 8
                  : std::uint32_t{line[4 * x]} | std::uint32_t{line[4 * x + 1]} << 8 |
                        std::uint32_t{line[4 * x + 2]} << 16 | std::uint32_t{line[4 * x + 3]} << 24;
          pixel = Opaque(red.Of(value), green.Of(value), blue.Of(value));
          break;
        }
        default:  // 24
          pixel = Opaque(line[3 * x + 2], line[3 * x + 1], line[3 * x]);
      }
      image.At(static_cast<int>(column), y) = pixel;
    }
  }
  return image;
}

}  // namespace morvo
