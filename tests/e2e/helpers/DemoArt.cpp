// Draws the pictures of the demo launcher: the skin (a 24-bit BMP holding the background and
// the six button pictures) and the banner (a JPEG, written with libjpeg).
//   morvo_demo_art SKIN.bmp BANNER.jpg
// The rectangles drawn here are the ones demo/launcher.txt.in cuts out of the skin.
#include <cstddef>
#include <cstdio>
// jpeglib.h needs size_t and FILE declared before it.
#include <jpeglib.h>

#include <array>
#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

namespace {

struct Rgb {
  std::uint8_t r, g, b;
};

constexpr Rgb kMagenta{255, 0, 255};  // transparent in the button pictures

class Canvas {
 public:
  Canvas(int width, int height) : width_(width), height_(height), pixels_(width * height) {}
  int Width() const { return width_; }
  int Height() const { return height_; }
  Rgb At(int x, int y) const { return pixels_[y * width_ + x]; }
  void Set(int x, int y, Rgb colour) {
    if (x >= 0 && y >= 0 && x < width_ && y < height_) pixels_[y * width_ + x] = colour;
  }
  void Fill(int x0, int y0, int w, int h, Rgb colour) {
    for (int y = y0; y < y0 + h; ++y)
      for (int x = x0; x < x0 + w; ++x) Set(x, y, colour);
  }

 private:
  int width_, height_;
  std::vector<Rgb> pixels_;
};

Rgb Mix(Rgb a, Rgb b, double t) {
  auto lerp = [t](std::uint8_t u, std::uint8_t v) {
    return static_cast<std::uint8_t>(u + (v - u) * t + 0.5);
  };
  return {lerp(a.r, b.r), lerp(a.g, b.g), lerp(a.b, b.b)};
}

// A 5 x 7 pixel font, just the letters the demo writes.
struct Glyph {
  char letter;
  std::array<const char*, 7> rows;
};
constexpr Glyph kFont[] = {
    {'A', {" ### ", "#   #", "#   #", "#####", "#   #", "#   #", "#   #"}},
    {'C', {" ####", "#    ", "#    ", "#    ", "#    ", "#    ", " ####"}},
    {'D', {"#### ", "#   #", "#   #", "#   #", "#   #", "#   #", "#### "}},
    {'E', {"#####", "#    ", "#    ", "#### ", "#    ", "#    ", "#####"}},
    {'H', {"#   #", "#   #", "#   #", "#####", "#   #", "#   #", "#   #"}},
    {'M', {"#   #", "## ##", "# # #", "# # #", "#   #", "#   #", "#   #"}},
    {'O', {" ### ", "#   #", "#   #", "#   #", "#   #", "#   #", " ### "}},
    {'P', {"#### ", "#   #", "#   #", "#### ", "#    ", "#    ", "#    "}},
    {'R', {"#### ", "#   #", "#   #", "#### ", "# #  ", "#  # ", "#   #"}},
    {'T', {"#####", "  #  ", "  #  ", "  #  ", "  #  ", "  #  ", "  #  "}},
    {'V', {"#   #", "#   #", "#   #", "#   #", "#   #", " # # ", "  #  "}},
};

// Writes text with its top-left corner at (x, y), each font pixel a scale x scale block.
void DrawText(Canvas& canvas, int x, int y, const std::string& text, int scale, Rgb colour) {
  for (char letter : text) {
    for (const Glyph& glyph : kFont) {
      if (glyph.letter != letter) continue;
      for (int row = 0; row < 7; ++row)
        for (int col = 0; col < 5; ++col)
          if (glyph.rows[row][col] == '#')
            canvas.Fill(x + col * scale, y + row * scale, scale, scale, colour);
    }
    x += 6 * scale;
  }
}

// A button picture: rounded corners left magenta, a vertical gradient, a light rim.
void DrawButton(Canvas& canvas, int x0, int y0, int w, int h, Rgb top, Rgb bottom) {
  constexpr int kRadius = 6;
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      int dx = x < kRadius ? kRadius - x : (x >= w - kRadius ? x - (w - kRadius - 1) : 0);
      int dy = y < kRadius ? kRadius - y : (y >= h - kRadius ? y - (h - kRadius - 1) : 0);
      int distance2 = dx * dx + dy * dy;
      Rgb colour = Mix(top, bottom, static_cast<double>(y) / (h - 1));
      if (distance2 > kRadius * kRadius)
        colour = kMagenta;
      else if (distance2 > (kRadius - 1) * (kRadius - 1) || (dx == 0 && (x == 0 || x == w - 1)) ||
               (dy == 0 && (y == 0 || y == h - 1)))
        colour = Mix(colour, Rgb{255, 255, 255}, 0.6);
      canvas.Set(x0 + x, y0 + y, colour);
    }
  }
}

Canvas DrawSkin() {
  constexpr int kWidth = 545, kAreaHeight = 380, kButtonW = 110, kButtonH = 30;
  Canvas skin(kWidth, kAreaHeight + 2 * kButtonH);
  // Background: a dusk gradient, a title band, a darker well behind the news page and the
  // status row.
  for (int y = 0; y < kAreaHeight; ++y)
    skin.Fill(0, y, kWidth, 1,
              Mix({18, 32, 64}, {10, 96, 110}, static_cast<double>(y) / kAreaHeight));
  skin.Fill(0, 0, kWidth, 56, {12, 20, 40});
  skin.Fill(0, 56, kWidth, 2, {230, 180, 60});
  DrawText(skin, 20, 14, "DEMO", 4, {240, 200, 90});
  for (int x = 150; x < 525; x += 12) skin.Fill(x, 26, 6, 6, {60, 90, 140});
  skin.Fill(16, 66, 513, 208, {8, 16, 30});
  skin.Fill(16, 280, 513, 38, {8, 16, 30});
  // Below the background: the three buttons, normal row then mouse-over row.
  const Rgb tops[3] = {{90, 200, 90}, {200, 90, 80}, {70, 120, 200}};  // Start, Quit, About
  for (int i = 0; i < 3; ++i) {
    Rgb top = tops[i], bottom = Mix(tops[i], {0, 0, 0}, 0.55);
    DrawButton(skin, i * kButtonW, kAreaHeight, kButtonW, kButtonH, top, bottom);
    DrawButton(skin, i * kButtonW, kAreaHeight + kButtonH, kButtonW, kButtonH,
               Mix(top, {255, 255, 255}, 0.45), top);
  }
  // The rest of the two button rows is unused; keep it plain.
  skin.Fill(3 * kButtonW, kAreaHeight, kWidth - 3 * kButtonW, 2 * kButtonH, {0, 0, 0});
  return skin;
}

Canvas DrawBanner() {
  Canvas banner(545, 88);
  for (int y = 0; y < 88; ++y)
    for (int x = 0; x < 545; ++x) {
      Rgb colour = Mix({40, 20, 80}, {200, 110, 30}, static_cast<double>(x) / 544);
      if ((x + y) / 12 % 2 == 0) colour = Mix(colour, {0, 0, 0}, 0.15);
      banner.Set(x, y, colour);
    }
  DrawText(banner, (545 - 18 * 6 * 4) / 2, 30, "MORVO PATCHER DEMO", 4, {255, 240, 200});
  return banner;
}

void PutLe(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

bool WriteBmp(const Canvas& canvas, const std::string& path) {
  const int rowBytes = (canvas.Width() * 3 + 3) / 4 * 4;
  const std::uint32_t imageBytes = rowBytes * canvas.Height();
  std::vector<std::uint8_t> out;
  out.push_back('B');
  out.push_back('M');
  PutLe(out, 54 + imageBytes, 4);
  PutLe(out, 0, 4);
  PutLe(out, 54, 4);
  PutLe(out, 40, 4);  // BITMAPINFOHEADER
  PutLe(out, canvas.Width(), 4);
  PutLe(out, canvas.Height(), 4);  // positive: rows stored bottom-up
  PutLe(out, 1, 2);
  PutLe(out, 24, 2);
  PutLe(out, 0, 4);  // no compression
  PutLe(out, imageBytes, 4);
  PutLe(out, 2835, 4);  // 72 dpi
  PutLe(out, 2835, 4);
  PutLe(out, 0, 4);
  PutLe(out, 0, 4);
  for (int y = canvas.Height() - 1; y >= 0; --y) {
    for (int x = 0; x < canvas.Width(); ++x) {
      Rgb c = canvas.At(x, y);
      out.insert(out.end(), {c.b, c.g, c.r});
    }
    out.resize(out.size() + rowBytes - canvas.Width() * 3, 0);
  }
  std::ofstream file(path, std::ios::binary);
  file.write(reinterpret_cast<const char*>(out.data()), static_cast<std::streamsize>(out.size()));
  return static_cast<bool>(file);
}

bool WriteJpeg(const Canvas& canvas, const std::string& path) {
  FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return false;
  jpeg_compress_struct info{};
  jpeg_error_mgr errors{};
  info.err = jpeg_std_error(&errors);  // errors while writing a fresh file end the program
  jpeg_create_compress(&info);
  jpeg_stdio_dest(&info, file);
  info.image_width = canvas.Width();
  info.image_height = canvas.Height();
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, 90, TRUE);
  jpeg_start_compress(&info, TRUE);
  std::vector<JSAMPLE> row(canvas.Width() * 3);
  while (info.next_scanline < info.image_height) {
    for (int x = 0; x < canvas.Width(); ++x) {
      Rgb c = canvas.At(x, static_cast<int>(info.next_scanline));
      row[x * 3] = c.r;
      row[x * 3 + 1] = c.g;
      row[x * 3 + 2] = c.b;
    }
    JSAMPROW rows[1] = {row.data()};
    jpeg_write_scanlines(&info, rows, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  return std::fclose(file) == 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: morvo_demo_art SKIN.bmp BANNER.jpg\n");
    return 2;
  }
  if (!WriteBmp(DrawSkin(), argv[1])) {
    std::fprintf(stderr, "morvo_demo_art: cannot write %s\n", argv[1]);
    return 1;
  }
  if (!WriteJpeg(DrawBanner(), argv[2])) {
    std::fprintf(stderr, "morvo_demo_art: cannot write %s\n", argv[2]);
    return 1;
  }
  return 0;
}
