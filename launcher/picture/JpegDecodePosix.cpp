// JPEG decoding from memory. libjpeg reports fatal errors through error_exit, which must not
// return: it jumps back to the setjmp in DecodeInto, whose frame holds no C++ objects.
#include <algorithm>
#include <csetjmp>
// clang-format off
#include <cstddef>
#include <cstdio>  // jpeglib.h needs size_t and FILE before it
#include <jpeglib.h>
// clang-format on

#include "PictureDecode.h"

namespace {

// A corrupt progressive file can hold thousands of tiny scans; a real picture has few.
constexpr int kMaxScans = 500;
// Progressive pictures keep every coefficient in memory; refuse rather than grow past this.
constexpr long kMaxDecoderMemory = 256L * 1024 * 1024;

struct ErrorTrap {
  jpeg_error_mgr manager;
  std::jmp_buf jump;
};

[[noreturn]] void JumpOut(j_common_ptr info) {
  std::longjmp(reinterpret_cast<ErrorTrap*>(info->err)->jump, 1);
}

void Quiet(j_common_ptr) {}

void LimitScans(j_common_ptr info) {
  if (info->is_decompressor &&
      reinterpret_cast<j_decompress_ptr>(info)->input_scan_number > kMaxScans) {
    JumpOut(info);
  }
}

// CMYK JPEG files as most tools write them store inverted ink values.
void InvertedCmykToRgb(const JSAMPLE* cmyk, std::uint8_t* rgb, int width) {
  for (int x = 0; x < width; ++x, cmyk += 4, rgb += 3) {
    const unsigned k = cmyk[3];
    rgb[0] = static_cast<std::uint8_t>(cmyk[0] * k / 255);
    rgb[1] = static_cast<std::uint8_t>(cmyk[1] * k / 255);
    rgb[2] = static_cast<std::uint8_t>(cmyk[2] * k / 255);
  }
}

// Fills out with the kept corner; false on any libjpeg error. row is scratch space for one full
// scanline. Both vectors belong to the caller so that a long jump skips no destructor.
bool DecodeInto(std::span<const std::uint8_t> data, int maxWidth, int maxHeight,
                DecodedPicture& out, std::vector<JSAMPLE>& row) {
  jpeg_decompress_struct info;
  ErrorTrap trap;
  jpeg_progress_mgr progress{};
  info.err = jpeg_std_error(&trap.manager);
  trap.manager.error_exit = JumpOut;
  trap.manager.output_message = Quiet;
  progress.progress_monitor = LimitScans;
  if (setjmp(trap.jump)) {
    jpeg_destroy_decompress(&info);
    return false;
  }
  jpeg_create_decompress(&info);
  info.mem->max_memory_to_use = kMaxDecoderMemory;
  info.progress = &progress;
  jpeg_mem_src(&info, data.data(), static_cast<unsigned long>(data.size()));
  jpeg_read_header(&info, TRUE);
  if (info.image_width > kMaxPictureSide || info.image_height > kMaxPictureSide) {
    jpeg_destroy_decompress(&info);
    return false;
  }
  const bool cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
  info.out_color_space = cmyk ? JCS_CMYK : JCS_RGB;
  jpeg_start_decompress(&info);

  out.width = std::min(static_cast<int>(info.output_width), maxWidth);
  out.height = std::min(static_cast<int>(info.output_height), maxHeight);
  out.channels = 3;
  out.pixels.resize(static_cast<std::size_t>(out.width) * out.height * 3);
  row.resize(static_cast<std::size_t>(info.output_width) * info.output_components);
  JSAMPROW rowPointer = row.data();
  for (int y = 0; y < out.height; ++y) {
    jpeg_read_scanlines(&info, &rowPointer, 1);
    std::uint8_t* target = out.pixels.data() + static_cast<std::size_t>(y) * out.width * 3;
    if (cmyk) {
      InvertedCmykToRgb(row.data(), target, out.width);
    } else {
      std::copy_n(row.data(), static_cast<std::size_t>(out.width) * 3, target);
    }
  }
  // The rows below the kept corner are never decoded.
  jpeg_abort_decompress(&info);
  jpeg_destroy_decompress(&info);
  return true;
}

}  // namespace

std::optional<DecodedPicture> DecodeJpegTopLeft(std::span<const std::uint8_t> data, int maxWidth,
                                                int maxHeight) {
  if (data.empty() || maxWidth <= 0 || maxHeight <= 0) return std::nullopt;
  DecodedPicture picture;
  std::vector<JSAMPLE> row;
  if (!DecodeInto(data, maxWidth, maxHeight, picture, row)) return std::nullopt;
  return picture;
}
