// Test pictures written by the platform's imaging component (WIC). It writes no progressive JPEG
// and no grey PNG with alpha; every other layout of the tests is written in the pixel format
// that gives exactly that PNG layout.
#include <wincodec.h>
#include <windows.h>
#include <wrl/client.h>

#include <algorithm>
#include <functional>
#include <vector>

#include "ComScope.h"
#include "PictureEncode.h"

using Microsoft::WRL::ComPtr;

namespace {

struct PixelLayout {
  WICPixelFormatGUID format;
  int bitsPerPixel;
};

PixelLayout LayoutOf(PngLayout layout) {
  switch (layout.color) {
    case PngColor::Rgb:
      return layout.bitDepth == 16 ? PixelLayout{GUID_WICPixelFormat48bppRGB, 48}
                                   : PixelLayout{GUID_WICPixelFormat24bppBGR, 24};
    case PngColor::RgbAlpha:
      return layout.bitDepth == 16 ? PixelLayout{GUID_WICPixelFormat64bppRGBA, 64}
                                   : PixelLayout{GUID_WICPixelFormat32bppBGRA, 32};
    case PngColor::Palette:
      return {GUID_WICPixelFormat8bppIndexed, 8};
    case PngColor::Gray:
    case PngColor::GrayAlpha:
      break;
  }
  switch (layout.bitDepth) {
    case 1:
      return {GUID_WICPixelFormatBlackWhite, 1};
    case 2:
      return {GUID_WICPixelFormat2bppGray, 2};
    case 4:
      return {GUID_WICPixelFormat4bppGray, 4};
    case 16:
      return {GUID_WICPixelFormat16bppGray, 16};
    default:
      return {GUID_WICPixelFormat8bppGray, 8};
  }
}

// Appends samples to a row: 16-bit ones little-endian as WIC keeps them in memory, smaller ones
// packed from the high bit down.
class RowWriter {
 public:
  explicit RowWriter(std::vector<BYTE>& row) : row_(row) {}

  void Sample(int depth, unsigned value8) {
    if (depth == 16) {
      const unsigned value = value8 * 257;
      row_[bit_ / 8] = static_cast<BYTE>(value & 0xFF);
      row_[bit_ / 8 + 1] = static_cast<BYTE>(value >> 8);
      bit_ += 16;
      return;
    }
    const unsigned value = value8 >> (8 - depth);
    for (int i = depth - 1; i >= 0; --i, ++bit_) {
      if (value >> i & 1) row_[bit_ / 8] |= static_cast<BYTE>(0x80 >> (bit_ % 8));
    }
  }

 private:
  std::vector<BYTE>& row_;
  std::size_t bit_ = 0;
};

void WritePixel(RowWriter& row, PngLayout layout, Rgb c, int x) {
  const int depth = layout.bitDepth;
  const unsigned alpha = 255 - x % 256;
  switch (layout.color) {
    case PngColor::Palette:
      row.Sample(8, c.r);
      return;
    case PngColor::Gray:
    case PngColor::GrayAlpha:
      row.Sample(depth, c.g);
      return;
    case PngColor::Rgb:
    case PngColor::RgbAlpha:
      break;
  }
  const bool bgr = depth == 8;
  row.Sample(depth, bgr ? c.b : c.r);
  row.Sample(depth, c.g);
  row.Sample(depth, bgr ? c.r : c.b);
  if (layout.HasAlpha()) row.Sample(depth, alpha);
}

void SetOption(IPropertyBag2* options, const wchar_t* name, VARIANT value) {
  PROPBAG2 option{};
  option.pstrName = const_cast<LPOLESTR>(name);
  options->Write(1, &option, &value);
}

// The whole encoded file, or nothing when any step fails.
class Encoder {
 public:
  explicit Encoder(const GUID& container) {
    ok_ = SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                     IID_PPV_ARGS(&factory_))) &&
          SUCCEEDED(CreateStreamOnHGlobal(nullptr, TRUE, &stream_)) &&
          SUCCEEDED(factory_->CreateEncoder(container, nullptr, &encoder_)) &&
          SUCCEEDED(encoder_->Initialize(stream_.Get(), WICBitmapEncoderNoCache)) &&
          SUCCEEDED(encoder_->CreateNewFrame(&frame_, &options_));
  }

  IPropertyBag2* Options() { return options_.Get(); }
  IWICImagingFactory* Factory() { return factory_.Get(); }
  IWICBitmapFrameEncode* Frame() { return frame_.Get(); }

  // Starts the frame in exactly the given pixel format.
  bool Begin(int width, int height, WICPixelFormatGUID format) {
    WICPixelFormatGUID granted = format;
    ok_ = ok_ && SUCCEEDED(frame_->Initialize(options_.Get())) &&
          SUCCEEDED(frame_->SetSize(width, height)) &&
          SUCCEEDED(frame_->SetPixelFormat(&granted)) && IsEqualGUID(granted, format);
    return ok_;
  }

  std::vector<std::uint8_t> Finish(int height, int bitsPerPixel, int width,
                                   const std::function<void(int, std::vector<BYTE>&)>& fillRow) {
    const UINT stride = (static_cast<UINT>(width) * bitsPerPixel + 7) / 8;
    std::vector<BYTE> row(stride);
    for (int y = 0; ok_ && y < height; ++y) {
      std::fill(row.begin(), row.end(), 0);
      fillRow(y, row);
      ok_ = SUCCEEDED(frame_->WritePixels(1, stride, stride, row.data()));
    }
    if (!ok_ || FAILED(frame_->Commit()) || FAILED(encoder_->Commit())) return {};
    STATSTG stat{};
    HGLOBAL memory = nullptr;
    if (FAILED(stream_->Stat(&stat, STATFLAG_NONAME)) ||
        FAILED(GetHGlobalFromStream(stream_.Get(), &memory))) {
      return {};
    }
    const auto* bytes = static_cast<const std::uint8_t*>(GlobalLock(memory));
    std::vector<std::uint8_t> file(bytes, bytes + stat.cbSize.QuadPart);
    GlobalUnlock(memory);
    return file;
  }

 private:
  ComScope com_;
  ComPtr<IWICImagingFactory> factory_;
  ComPtr<IStream> stream_;
  ComPtr<IWICBitmapEncoder> encoder_;
  ComPtr<IWICBitmapFrameEncode> frame_;
  ComPtr<IPropertyBag2> options_;
  bool ok_ = false;
};

}  // namespace

bool CanEncodeJpeg(JpegMode mode) { return mode != JpegMode::Progressive; }

bool CanEncodePng(PngLayout layout) { return layout.color != PngColor::GrayAlpha; }

std::vector<std::uint8_t> EncodeJpeg(int width, int height, const PixelSource& pixel,
                                     JpegMode mode) {
  if (!CanEncodeJpeg(mode)) return {};
  Encoder encoder(GUID_ContainerFormatJpeg);
  VARIANT quality{};
  quality.vt = VT_R4;
  quality.fltVal = 1.0f;
  if (encoder.Options() != nullptr) SetOption(encoder.Options(), L"ImageQuality", quality);
  const bool gray = mode == JpegMode::Grayscale;
  if (!encoder.Begin(width, height,
                     gray ? GUID_WICPixelFormat8bppGray : GUID_WICPixelFormat24bppBGR)) {
    return {};
  }
  return encoder.Finish(height, gray ? 8 : 24, width, [&](int y, std::vector<BYTE>& row) {
    for (int x = 0; x < width; ++x) {
      const Rgb c = pixel(x, y);
      if (gray) {
        row[x] = c.g;
      } else {
        row[x * 3] = c.b;
        row[x * 3 + 1] = c.g;
        row[x * 3 + 2] = c.r;
      }
    }
  });
}

std::vector<std::uint8_t> EncodePng(int width, int height, const PixelSource& pixel,
                                    PngLayout layout) {
  if (!CanEncodePng(layout)) return {};
  Encoder encoder(GUID_ContainerFormatPng);
  VARIANT interlaced{};
  interlaced.vt = VT_BOOL;
  interlaced.boolVal = layout.interlaced ? VARIANT_TRUE : VARIANT_FALSE;
  if (encoder.Options() != nullptr) SetOption(encoder.Options(), L"InterlaceOption", interlaced);
  const PixelLayout pixels = LayoutOf(layout);
  if (!encoder.Begin(width, height, pixels.format)) return {};
  if (layout.color == PngColor::Palette) {
    std::vector<WICColor> colours(256);
    for (UINT i = 0; i < 256; ++i) colours[i] = 0xFF000000u | i << 16 | (255 - i) << 8 | 7;
    ComPtr<IWICPalette> palette;
    if (FAILED(encoder.Factory()->CreatePalette(&palette)) ||
        FAILED(palette->InitializeCustom(colours.data(), 256)) ||
        FAILED(encoder.Frame()->SetPalette(palette.Get()))) {
      return {};
    }
  }
  return encoder.Finish(height, pixels.bitsPerPixel, width, [&](int y, std::vector<BYTE>& row) {
    RowWriter writer(row);
    for (int x = 0; x < width; ++x) WritePixel(writer, layout, pixel(x, y), x);
  });
}
