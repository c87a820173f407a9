// The banner picture decoders over arbitrary bytes (a banner comes from Config.mpc, which a
// patch can replace): every input is given to both, cut to the banner band and to a corner
// smaller than the seeds, and whatever is returned must be a whole picture within the cut.
#include <cstdint>
#include <cstdlib>
#include <span>
#include <utility>

#include "PictureDecode.h"

namespace {

void CheckDecoded(const std::optional<DecodedPicture>& picture, int maxWidth, int maxHeight) {
  if (!picture) return;
  const bool fits = picture->width > 0 && picture->width <= maxWidth && picture->height > 0 &&
                    picture->height <= maxHeight;
  const bool channels = picture->channels == 3 || picture->channels == 4;
  if (!fits || !channels ||
      picture->pixels.size() != static_cast<std::size_t>(picture->width) * picture->height *
                                    static_cast<std::size_t>(picture->channels)) {
    std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> bytes(data, size);
  for (const auto& [maxWidth, maxHeight] : {std::pair{545, 88}, std::pair{5, 3}}) {
    CheckDecoded(DecodeJpegTopLeft(bytes, maxWidth, maxHeight), maxWidth, maxHeight);
    CheckDecoded(DecodePngTopLeft(bytes, maxWidth, maxHeight), maxWidth, maxHeight);
  }
  return 0;
}
