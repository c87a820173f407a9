// Pictures the window tests compare pixel by pixel: a display grabbed as a binary PPM and the
// skin the launcher cuts its pictures from, an uncompressed 24-bit BMP.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct Rgb {
  std::uint8_t R = 0, G = 0, B = 0;
  bool operator==(const Rgb&) const = default;
};

class RgbImage {
 public:
  RgbImage(int width, int height) : width_(width), height_(height), pixels_(width * height) {}
  int Width() const { return width_; }
  int Height() const { return height_; }
  bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }
  Rgb At(int x, int y) const { return pixels_[y * width_ + x]; }
  void Set(int x, int y, Rgb colour) { pixels_[y * width_ + x] = colour; }

 private:
  int width_, height_;
  std::vector<Rgb> pixels_;
};

// A binary PPM (P6, maximum value 255); nothing when the file is not one.
std::optional<RgbImage> ReadPpm(const std::string& path);
// An uncompressed 24-bit BMP, rows bottom-up or top-down; nothing when the file is not one.
std::optional<RgbImage> ReadBmp24(const std::string& path);
