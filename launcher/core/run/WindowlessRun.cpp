#include "run/WindowlessRun.h"

#include <sys/stat.h>

#include <cstdio>

#include "config/PatcherSettings.h"
#include "log/LogLines.h"
#include "log/Logger.h"
#include "patch/GamePath.h"

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

bool IsRegularFile(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

void WriteCreationLines(const PatcherSettings& settings, const std::string& programDir,
                        Logger& log) {
  if (settings.LogEnabled) LogOpenWithHeader(log);
  log.LogLine(loglines::kInterfaceInit);
  log.LogLine(loglines::kInterfaceInitDone);
  log.LogBlankLine();
  if (settings.MusicEnabled) {
    log.LogFormat(loglines::kMusicLoad, {settings.MusicFile});
    const auto music = ResolveGamePath(programDir, settings.MusicFile);
    log.LogLine(music && IsRegularFile(*music) ? loglines::kMusicLoadDone
                                                : loglines::kMusicLoadError);
    log.LogBlankLine();
  }
}

void FetchNewsPage(const PatcherSettings& settings, const std::string& programDir,
                   PatchWindow& window, Downloader& downloader) {
  const std::string page = programDir + kNewsPageFileName;
  NewsProgress progress(window);
  downloader.Download(settings.NewsUrl, page, progress);
  std::remove(page.c_str());
}

void ShowStatus(PatchWindow& window, const std::string& text) {
  window.SetStatusText(text);
  window.ProcessPendingEvents();
}

}  // namespace

WindowlessRunResult RunWithoutWindow(const std::string& programDir,
                                     const std::string& programPath, PatchWindow& window,
                                     PatchRunServices services) {
  WindowlessRunResult result;
  PatcherSettings settings;
  if (!LoadConfig(programDir, settings)) return result;
  result.ConfigRead = true;

  Logger log(programDir);
  WriteCreationLines(settings, programDir, log);

  std::unique_ptr<Downloader> ownDownloader;
  if (!services.Download) {
    ownDownloader = MakeCurlDownloader();
    services.Download = ownDownloader.get();
  }
  Downloader& downloader = *services.Download;
  PatchRunState state(programDir);
  PatchContext context{settings, log, window, state, programDir, programPath};
  PatchRun run(context, std::move(services));

  log.LogLine(loglines::kUnfinishedCheck);
  run.RecoverUnfinishedPatches();
  log.LogLine(loglines::kUnfinishedCheckDone);
  log.LogBlankLine();
  ShowStatus(window, settings.Messages[1]);

  log.LogLine(loglines::kNewsFetch);
  FetchNewsPage(settings, programDir, window, downloader);
  log.LogLine(loglines::kNewsFetchDone);
  log.LogBlankLine();
  ShowStatus(window, settings.Messages[2]);

  run.StartListDownload();
  result.Finished = run.Finished();
  return result;
}
