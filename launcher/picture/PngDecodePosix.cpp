// PNG decoding from memory. libpng reports fatal errors by jumping back to the setjmp in
// DecodeInto, whose frame holds no C++ objects.
#include <png.h>

#include <algorithm>
#include <cstring>

#include "PictureDecode.h"

namespace {

struct MemoryReader {
  std::span<const std::uint8_t> data;
  std::size_t position = 0;
};

void ReadFromMemory(png_structp png, png_bytep target, png_size_t length) {
  auto* reader = static_cast<MemoryReader*>(png_get_io_ptr(png));
  if (length > reader->data.size() - reader->position) png_error(png, "truncated");
  std::memcpy(target, reader->data.data() + reader->position, length);
  reader->position += length;
}

[[noreturn]] void JumpOut(png_structp png, png_const_charp) { png_longjmp(png, 1); }

void Quiet(png_structp, png_const_charp) {}

// Fills out with the kept corner; false on any libpng error. band holds the full-width rows that
// are kept (an interlaced picture adds each pass into them), scratch one row below them. All
// three vectors belong to the caller so that a long jump skips no destructor.
bool DecodeInto(MemoryReader& reader, int maxWidth, int maxHeight, DecodedPicture& out,
                std::vector<png_byte>& band, std::vector<png_byte>& scratch) {
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, JumpOut, Quiet);
  if (png == nullptr) return false;
  png_infop info = png_create_info_struct(png);
  if (info == nullptr) {
    png_destroy_read_struct(&png, nullptr, nullptr);
    return false;
  }
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_read_struct(&png, &info, nullptr);
    return false;
  }
  png_set_read_fn(png, &reader, ReadFromMemory);
  png_set_user_limits(png, kMaxPictureSide, kMaxPictureSide);
  png_read_info(png, info);

  // Every colour type and depth becomes 8-bit RGBA.
  png_set_expand(png);
  png_set_strip_16(png);
  png_set_gray_to_rgb(png);
  png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
  const int passes = png_set_interlace_handling(png);
  png_read_update_info(png, info);

  const int width = static_cast<int>(png_get_image_width(png, info));
  const int height = static_cast<int>(png_get_image_height(png, info));
  const std::size_t rowBytes = png_get_rowbytes(png, info);
  const int kept = std::min(height, maxHeight);
  band.assign(rowBytes * kept, 0);
  scratch.resize(rowBytes);
  // Without interlacing the rows below the kept corner are never read.
  const int rowsToRead = passes > 1 ? height : kept;
  for (int pass = 0; pass < passes; ++pass) {
    for (int y = 0; y < rowsToRead; ++y) {
      png_read_row(png, y < kept ? band.data() + rowBytes * y : scratch.data(), nullptr);
    }
  }
  png_destroy_read_struct(&png, &info, nullptr);

  out.width = std::min(width, maxWidth);
  out.height = kept;
  out.channels = 4;
  out.pixels.resize(static_cast<std::size_t>(out.width) * 4 * kept);
  for (int y = 0; y < kept; ++y) {
    std::copy_n(band.data() + rowBytes * y, static_cast<std::size_t>(out.width) * 4,
                out.pixels.data() + static_cast<std::size_t>(y) * out.width * 4);
  }
  return true;
}

}  // namespace

std::optional<DecodedPicture> DecodePngTopLeft(std::span<const std::uint8_t> data, int maxWidth,
                                               int maxHeight) {
  if (data.size() < 8 || png_sig_cmp(data.data(), 0, 8) != 0) return std::nullopt;
  if (maxWidth <= 0 || maxHeight <= 0) return std::nullopt;
  MemoryReader reader{data};
  DecodedPicture picture;
  std::vector<png_byte> band;
  std::vector<png_byte> scratch;
  if (!DecodeInto(reader, maxWidth, maxHeight, picture, band, scratch)) return std::nullopt;
  return picture;
}
