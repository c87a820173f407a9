// JPEG and PNG decoding from memory through the platform's imaging component (WIC). Each kind
// has its own decoder, chosen by container format, so a PNG is never taken for a JPEG nor the
// other way round; only the kept top-left rectangle is copied out.
#include <wincodec.h>
#include <windows.h>
#include <wrl/client.h>

#include <algorithm>
#include <limits>

#include "ComScope.h"
#include "PictureDecode.h"
#include "PictureSides.h"

using Microsoft::WRL::ComPtr;

namespace {

// Blue, green, red, alpha as every decoder converts to (not every one reaches the RGB formats
// directly), reordered into the channels a picture holds: RGB for 3, RGBA for 4.
void FromBgra(const std::vector<BYTE>& bgra, DecodedPicture& picture) {
  const std::size_t count = bgra.size() / 4;
  picture.pixels.resize(count * picture.channels);
  for (std::size_t i = 0; i < count; ++i) {
    const BYTE* from = &bgra[i * 4];
    std::uint8_t* to = &picture.pixels[i * picture.channels];
    to[0] = from[2];
    to[1] = from[1];
    to[2] = from[0];
    if (picture.channels == 4) to[3] = from[3];
  }
}

std::optional<DecodedPicture> Decode(std::span<const std::uint8_t> data, const GUID& container,
                                     int channels, int maxWidth, int maxHeight) {
  if (data.empty() || maxWidth <= 0 || maxHeight <= 0) return std::nullopt;
  if (data.size() > std::numeric_limits<DWORD>::max()) return std::nullopt;
  ComScope com;
  ComPtr<IWICImagingFactory> factory;
  if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                              IID_PPV_ARGS(&factory)))) {
    return std::nullopt;
  }
  ComPtr<IWICStream> stream;
  // WIC only reads through the stream; its signature asks for a mutable buffer.
  if (FAILED(factory->CreateStream(&stream)) ||
      FAILED(stream->InitializeFromMemory(const_cast<BYTE*>(data.data()),
                                          static_cast<DWORD>(data.size())))) {
    return std::nullopt;
  }
  ComPtr<IWICBitmapDecoder> decoder;
  ComPtr<IWICBitmapFrameDecode> frame;
  if (FAILED(factory->CreateDecoder(container, nullptr, &decoder)) ||
      FAILED(decoder->Initialize(stream.Get(), WICDecodeMetadataCacheOnDemand)) ||
      FAILED(decoder->GetFrame(0, &frame))) {
    return std::nullopt;
  }
  UINT width = 0;
  UINT height = 0;
  if (FAILED(frame->GetSize(&width, &height)) || width == 0 || height == 0 ||
      width > kMaxPictureSide || height > kMaxPictureSide) {
    return std::nullopt;
  }
  ComPtr<IWICFormatConverter> converter;
  if (FAILED(factory->CreateFormatConverter(&converter)) ||
      FAILED(converter->Initialize(frame.Get(), GUID_WICPixelFormat32bppBGRA,
                                   WICBitmapDitherTypeNone, nullptr, 0.0,
                                   WICBitmapPaletteTypeCustom))) {
    return std::nullopt;
  }

  DecodedPicture picture;
  picture.width = std::min(static_cast<int>(width), maxWidth);
  picture.height = std::min(static_cast<int>(height), maxHeight);
  picture.channels = channels;
  const UINT stride = static_cast<UINT>(picture.width) * 4;
  std::vector<BYTE> bgra(static_cast<std::size_t>(stride) * picture.height);
  const WICRect kept{0, 0, picture.width, picture.height};
  if (FAILED(converter->CopyPixels(&kept, stride, static_cast<UINT>(bgra.size()), bgra.data()))) {
    return std::nullopt;
  }
  FromBgra(bgra, picture);
  return picture;
}

}  // namespace

std::optional<DecodedPicture> DecodeJpegTopLeft(std::span<const std::uint8_t> data, int maxWidth,
                                                int maxHeight) {
  // Some decoders expand the whole picture as soon as they open it: a side too long is
  // refused from its header first.
  if (JpegHeaderTooLarge(data)) return std::nullopt;
  return Decode(data, GUID_ContainerFormatJpeg, 3, maxWidth, maxHeight);
}

std::optional<DecodedPicture> DecodePngTopLeft(std::span<const std::uint8_t> data, int maxWidth,
                                               int maxHeight) {
  if (PngHeaderTooLarge(data)) return std::nullopt;
  return Decode(data, GUID_ContainerFormatPng, 4, maxWidth, maxHeight);
}
