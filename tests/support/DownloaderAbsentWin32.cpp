// Linked into the Windows core test program only while the core has no Windows downloader of its
// own: every download fails at once, so that what needs none can be built and run. The tests
// that fetch over HTTP are left out of that build.
#include "download/Downloader.h"

namespace {

class AbsentDownloader final : public Downloader {
 public:
  DownloadStatus Download(const std::string&, const std::string&,
                          BindStatusCallback& callback) override {
    callback.OnStartBinding();
    return callback.OnStopBinding({false, "no downloader in this build"});
  }
};

}  // namespace

std::unique_ptr<Downloader> MakeSystemDownloader(const DownloadOptions&) {
  return std::make_unique<AbsentDownloader>();
}
