#include "FlashBannerFile.h"

#include "engine/TemporaryNames.h"
#include "platform/AtomicFile.h"
#include "platform/FileSystem.h"

namespace morvo {

void HandOverFlashMovie(const std::optional<std::vector<std::uint8_t>>& movie,
                        const std::string& programDir) {
  const std::string path = programDir + kFlashBannerTempName;
  {
    AtomicFileWriter file(path);
    if (movie) file.Write(movie->data(), movie->size());
    file.Commit();
  }
  RemoveFile(path);
}

}  // namespace morvo
