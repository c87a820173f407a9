#include "download/RetriedDownload.h"

#include <algorithm>
#include <chrono>
#include <thread>

#include "engine/TemporaryNames.h"

namespace morvo {

namespace {

constexpr std::chrono::milliseconds kWaitSlice{50};

// The receiver hears from the download throughout the wait, so that it can keep its window
// alive.
void WaitBeforeRetry(const DownloadOptions& options, int retry, const PartFile& file,
                     std::uint64_t expected, BindStatusCallback& callback) {
  const auto wait = options.FirstRetryWait * (1 << std::min(retry - 1, 16));
  const auto end = std::chrono::steady_clock::now() + wait;
  for (auto now = std::chrono::steady_clock::now(); now < end;
       now = std::chrono::steady_clock::now()) {
    std::this_thread::sleep_for(
        std::min<std::chrono::steady_clock::duration>(kWaitSlice, end - now));
    callback.OnProgress(file.Size(), expected);
  }
}

DownloadStatus Fetch(const std::string& path, BindStatusCallback& callback,
                     const DownloadOptions& options, bool rangesUsable,
                     const std::optional<Sha256Digest>& expectedDigest, const RunAttempt& attempt) {
  PartFile file(path);
  if (!file.IsOpen()) return {false, "cannot create " + path + kDownloadPartSuffix};
  if (expectedDigest) file.HashBody();
  std::uint64_t expected = 0;
  std::string validator;
  AttemptResult result;
  for (int tried = 0; tried <= options.Retries; ++tried) {
    if (tried > 0) WaitBeforeRetry(options, tried, file, expected, callback);
    const bool resume = rangesUsable && file.Size() > 0;
    if (!resume && file.Size() > 0 && !file.Truncate()) return {false, "write error"};
    AttemptTarget target{file, resume ? file.Size() : 0, expected, validator};
    result = attempt(target);
    if (result.Status.Succeeded) {
      // Not asked again: a body that arrived whole but differs comes from a bad mirror or
      // from someone between the server and the player, and would differ again.
      if (expectedDigest && file.Digest() != expectedDigest) return {false, kDigestMismatchError};
      if (!file.Commit()) return {false, "cannot rename the download into " + path};
      return result.Status;
    }
    if (!result.Transient) break;
    if (result.RangesUnusable) rangesUsable = false;
  }
  return result.Status;
}

}  // namespace

DownloadStatus RunDownload(const std::string& path, BindStatusCallback& callback,
                           const DownloadOptions& options, bool rangesUsable,
                           const std::optional<Sha256Digest>& expectedDigest,
                           const RunAttempt& attempt) {
  callback.OnStartBinding();
  const DownloadStatus status =
      Fetch(path, callback, options, rangesUsable, expectedDigest, attempt);
  if (!status.Succeeded) PartFile::RemoveTarget(path);
  return callback.OnStopBinding(status);
}

bool IsTransientHttpStatus(long status) {
  return status == 408 || status == 416 || status == 429 || status == 500 || status == 502 ||
         status == 503 || status == 504;
}

}  // namespace morvo
