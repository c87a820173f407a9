// run_download_bench URL TARGET [SHA256]: one patch download through the downloader and the
// run's status object, against a window that records every call, hashed and checked against
// SHA256 (64 hex digits) when given; prints the seconds it took.
#include <chrono>
#include <cstdio>

#include "FakeWindow.h"
#include "download/Downloader.h"
#include "download/StatusCallback.h"
#include "platform/Sha256.h"

using namespace morvo;

int main(int argc, char** argv) {
  const auto digest = argc == 4 ? ParseHexDigest(argv[3]) : std::nullopt;
  if ((argc != 3 && argc != 4) || (argc == 4 && !digest)) {
    std::fprintf(stderr, "usage: run_download_bench URL TARGET [SHA256]\n");
    return 1;
  }
  PatcherSettings settings;
  settings.Messages[9] =
      "T\xE9l\xE9"
      "chargement";
  Logger log("/nonexistent/");
  FakeWindow window;
  PatchRunState state("/nonexistent/");
  state.ListPhase = false;
  state.DownloadUrls = {argv[1]};
  state.DownloadsStarted = 1;
  PatchContext context{settings, log, window, state, "/nonexistent/", "/nonexistent/x"};
  cstatus_callback callback(context, {}, {});

  const auto start = std::chrono::steady_clock::now();
  const DownloadStatus status =
      MakeSystemDownloader()->Download(argv[1], argv[2], callback, digest);
  const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
  if (!status.Succeeded) {
    std::fprintf(stderr, "download failed: %s\n", status.Error.c_str());
    return 1;
  }
  std::printf("%.3f %zu\n", elapsed.count(), window.statusTexts.size());
  return 0;
}
