#include "RgbImage.h"

#include <cstdlib>
#include <sstream>

#include "TestPaths.h"

namespace {

std::uint32_t LittleEndian(const std::string& bytes, std::size_t at, int size) {
  std::uint32_t value = 0;
  for (int i = size - 1; i >= 0; --i) value = value << 8 | static_cast<std::uint8_t>(bytes[at + i]);
  return value;
}

}  // namespace

std::optional<RgbImage> ReadPpm(const std::string& path) {
  const std::string bytes = ReadFileBytes(path);
  std::istringstream header(bytes);
  std::string magic;
  int width = 0, height = 0, maximum = 0;
  if (!(header >> magic >> width >> height >> maximum) || magic != "P6" || maximum != 255 ||
      width <= 0 || height <= 0)
    return std::nullopt;
  // One blank after the maximum, then the rows, top first.
  const std::size_t start = static_cast<std::size_t>(header.tellg()) + 1;
  if (bytes.size() < start + 3ull * width * height) return std::nullopt;
  RgbImage image(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const std::size_t at = start + 3ull * (y * width + x);
      image.Set(x, y,
                {static_cast<std::uint8_t>(bytes[at]), static_cast<std::uint8_t>(bytes[at + 1]),
                 static_cast<std::uint8_t>(bytes[at + 2])});
    }
  return image;
}

std::optional<RgbImage> ReadBmp24(const std::string& path) {
  const std::string bytes = ReadFileBytes(path);
  if (bytes.size() < 54 || bytes.compare(0, 2, "BM") != 0) return std::nullopt;
  const std::uint32_t offset = LittleEndian(bytes, 10, 4);
  const int width = static_cast<std::int32_t>(LittleEndian(bytes, 18, 4));
  const int storedHeight = static_cast<std::int32_t>(LittleEndian(bytes, 22, 4));
  if (LittleEndian(bytes, 28, 2) != 24 || LittleEndian(bytes, 30, 4) != 0 || width <= 0 ||
      storedHeight == 0)
    return std::nullopt;
  const int height = std::abs(storedHeight);
  const std::size_t rowBytes = (3ull * width + 3) / 4 * 4;
  if (bytes.size() < offset + rowBytes * height) return std::nullopt;
  RgbImage image(width, height);
  for (int y = 0; y < height; ++y) {
    const int row = storedHeight > 0 ? height - 1 - y : y;  // positive height: bottom-up
    for (int x = 0; x < width; ++x) {
      const std::size_t at = offset + row * rowBytes + 3ull * x;
      image.Set(x, y,
                {static_cast<std::uint8_t>(bytes[at + 2]), static_cast<std::uint8_t>(bytes[at + 1]),
                 static_cast<std::uint8_t>(bytes[at])});
    }
  }
  return image;
}
