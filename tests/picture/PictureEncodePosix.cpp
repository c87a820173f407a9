#include <png.h>

#include <cstdlib>

#include "PictureEncode.h"
// clang-format off
#include <cstdio>  // jpeglib.h needs FILE before it
#include <jpeglib.h>
// clang-format on

std::vector<std::uint8_t> EncodeJpeg(int width, int height, const PixelSource& pixel,
                                     JpegMode mode) {
  jpeg_compress_struct info;
  jpeg_error_mgr errors;
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &buffer, &size);
  const bool gray = mode == JpegMode::Grayscale;
  info.image_width = width;
  info.image_height = height;
  info.input_components = gray ? 1 : 3;
  info.in_color_space = gray ? JCS_GRAYSCALE : JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, 100, TRUE);
  if (mode == JpegMode::Progressive) jpeg_simple_progression(&info);
  jpeg_start_compress(&info, TRUE);
  std::vector<JSAMPLE> row(static_cast<std::size_t>(width) * info.input_components);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const Rgb c = pixel(x, y);
      if (gray) {
        row[x] = c.g;
      } else {
        row[x * 3] = c.r;
        row[x * 3 + 1] = c.g;
        row[x * 3 + 2] = c.b;
      }
    }
    JSAMPROW pointer = row.data();
    jpeg_write_scanlines(&info, &pointer, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  std::vector<std::uint8_t> bytes(buffer, buffer + size);
  std::free(buffer);
  return bytes;
}

bool CanEncodeJpeg(JpegMode) { return true; }

bool CanEncodePng(PngLayout) { return true; }

namespace {

int ColorType(PngColor color) {
  switch (color) {
    case PngColor::Gray:
      return PNG_COLOR_TYPE_GRAY;
    case PngColor::GrayAlpha:
      return PNG_COLOR_TYPE_GRAY_ALPHA;
    case PngColor::Rgb:
      return PNG_COLOR_TYPE_RGB;
    case PngColor::RgbAlpha:
      return PNG_COLOR_TYPE_RGB_ALPHA;
    case PngColor::Palette:
      return PNG_COLOR_TYPE_PALETTE;
  }
  return PNG_COLOR_TYPE_RGB;
}

void Append(png_structp png, png_bytep data, png_size_t length) {
  auto* out = static_cast<std::vector<std::uint8_t>*>(png_get_io_ptr(png));
  out->insert(out->end(), data, data + length);
}

void NoFlush(png_structp) {}

// One sample of the given depth, scaled from 8 bits, written big-endian as PNG wants.
void PutSample(std::vector<png_byte>& row, std::size_t& bit, int depth, unsigned value8) {
  const unsigned value = depth == 16 ? value8 * 257 : value8 >> (8 - depth);
  for (int i = depth - 1; i >= 0; --i, ++bit) {
    if (value >> i & 1) row[bit / 8] |= static_cast<png_byte>(0x80 >> (bit % 8));
  }
}

}  // namespace

std::vector<std::uint8_t> EncodePng(int width, int height, const PixelSource& pixel,
                                    PngLayout layout) {
  std::vector<std::uint8_t> bytes;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  png_set_write_fn(png, &bytes, Append, NoFlush);
  png_set_IHDR(png, info, width, height, layout.bitDepth, ColorType(layout.color),
               layout.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  const bool palette = layout.color == PngColor::Palette;
  if (palette) {
    std::vector<png_color> colours(256);
    for (int i = 0; i < 256; ++i) {
      colours[i] = {static_cast<png_byte>(i), static_cast<png_byte>(255 - i), 7};
    }
    png_set_PLTE(png, info, colours.data(), 256);
  }
  png_write_info(png, info);
  const int channels = png_get_channels(png, info);
  std::vector<std::vector<png_byte>> rows(height);
  for (int y = 0; y < height; ++y) {
    rows[y].assign((static_cast<std::size_t>(width) * channels * layout.bitDepth + 7) / 8, 0);
    std::size_t bit = 0;
    for (int x = 0; x < width; ++x) {
      const Rgb c = pixel(x, y);
      if (palette) {
        PutSample(rows[y], bit, 8, c.r);
        continue;
      }
      if (channels <= 2) {
        PutSample(rows[y], bit, layout.bitDepth, c.g);
      } else {
        PutSample(rows[y], bit, layout.bitDepth, c.r);
        PutSample(rows[y], bit, layout.bitDepth, c.g);
        PutSample(rows[y], bit, layout.bitDepth, c.b);
      }
      if (channels == 2 || channels == 4) PutSample(rows[y], bit, layout.bitDepth, 255 - x % 256);
    }
  }
  std::vector<png_bytep> pointers;
  for (auto& row : rows) pointers.push_back(row.data());
  png_write_image(png, pointers.data());
  png_write_end(png, info);
  png_destroy_write_struct(&png, &info);
  return bytes;
}
