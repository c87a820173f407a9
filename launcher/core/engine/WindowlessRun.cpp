#include "engine/WindowlessRun.h"

#include "platform/FileSystem.h"

namespace morvo {

namespace {

// What the news view does with its loading progress: it drives the gauge.
class NewsProgress final : public BindStatusCallback {
 public:
  explicit NewsProgress(PatchWindow& window) : window_(window) {}
  void OnStartBinding() override {}
  void OnProgress(std::uint64_t received, std::uint64_t expected) override {
    const auto maximum = static_cast<std::int64_t>(expected);
    if (maximum != window_.GaugeMaxValue()) window_.SetGaugeMaxValue(maximum);
    window_.SetGaugeProgress(static_cast<std::int64_t>(received));
    window_.ProcessPendingEvents();
  }
  DownloadStatus OnStopBinding(const DownloadStatus& status) override { return status; }

 private:
  PatchWindow& window_;
};

// The downloader the run would make for itself, made here so that the news page shares it.
std::unique_ptr<Downloader> OwnDownloaderUnless(const PatchRunServices& services) {
  return services.Download ? nullptr : MakeSystemDownloader();
}

PatchRunServices WithDownloader(PatchRunServices services, Downloader* downloader) {
  services.Download = downloader;
  return services;
}

}  // namespace

WindowlessLauncher::WindowlessLauncher(const std::string& programDir,
                                       const std::string& programPath, PatchWindow& window,
                                       PatchRunServices services)
    : window_(window),
      programDir_(programDir),
      ownDownloader_(OwnDownloaderUnless(services)),
      downloader_(services.Download ? services.Download : ownDownloader_.get()),
      log_(programDir),
      state_(programDir),
      sequence_(*this, LauncherParts{settings_, log_, state_, programDir, programPath},
                WithDownloader(std::move(services), downloader_)) {}

WindowlessLauncher::~WindowlessLauncher() = default;

void WindowlessLauncher::FetchNewsPage() {
  const std::string page = programDir_ + kNewsPageFileName;
  NewsProgress progress(window_);
  downloader_->Download(settings_.NewsUrl, page, progress);
  RemoveFile(page);
}

WindowlessRunResult WindowlessLauncher::Run() {
  WindowlessRunResult result;
  if (!sequence_.OnCreate()) return result;
  result.ConfigRead = true;
  sequence_.OnActivate();
  if (newsRequested_) {
    FetchNewsPage();
    sequence_.OnNewsPageLoaded();
  }
  static_cast<PatchRunOutcome&>(result) = sequence_.RunOutcome();
  return result;
}

WindowlessRunResult RunWithoutWindow(const std::string& programDir, const std::string& programPath,
                                     PatchWindow& window, PatchRunServices services) {
  WindowlessLauncher launcher(programDir, programPath, window, std::move(services));
  return launcher.Run();
}

}  // namespace morvo
