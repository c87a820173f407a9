// Fetches one URL into one file, synchronously on the calling thread.
#pragma once

#include <chrono>
#include <memory>
#include <optional>
#include <string>

#include "download/BindStatusCallback.h"
#include "platform/Sha256.h"

namespace morvo {

class Downloader {
 public:
  virtual ~Downloader() = default;
  // Writes the body of url to path and reports to callback: OnStartBinding, OnProgress any
  // number of times, then OnStopBinding once, always. On success the whole body is at path;
  // on failure nothing is at path. With expectedDigest, the body is hashed as it arrives and a
  // body whose SHA-256 differs is a failed download. Returns what OnStopBinding returned.
  virtual DownloadStatus Download(const std::string& url, const std::string& path,
                                  BindStatusCallback& callback,
                                  const std::optional<Sha256Digest>& expectedDigest) = 0;
  // A download whose body is taken as it comes.
  DownloadStatus Download(const std::string& url, const std::string& path,
                          BindStatusCallback& callback) {
    return Download(url, path, callback, std::nullopt);
  }
};

struct DownloadOptions {
  long ConnectTimeoutSeconds = 30;
  // A transfer slower than LowSpeedBytesPerSecond for LowSpeedSeconds fails, so a stalled
  // server never holds the run forever. Only time in which the transfer could move counts:
  // time spent in the receiver's progress handler (a modal window the player opened from
  // there) is not the network's.
  long LowSpeedBytesPerSecond = 1;
  long LowSpeedSeconds = 60;
  // Further attempts after a transient failure; the wait doubles after each one.
  int Retries = 3;
  std::chrono::milliseconds FirstRetryWait{1000};
};

// The platform's downloader (libcurl on Linux, WinHTTP on Windows): http, https (certificates
// verified against the system store) and file addresses; redirects are followed (to http and
// https only); proxies come from the system's settings.
std::unique_ptr<Downloader> MakeSystemDownloader(const DownloadOptions& options = {});

}  // namespace morvo
