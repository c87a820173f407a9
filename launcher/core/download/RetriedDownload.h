// The course every downloader gives one download, whatever carries its bytes: the start
// notification, a part file beside the target, further attempts after a transient failure
// with doubling waits (resumed by a byte range where that is usable), the rename on success,
// nothing at the target on failure, and the stop notification.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "download/BindStatusCallback.h"
#include "download/Downloader.h"
#include "download/PartFile.h"

namespace morvo {

struct AttemptResult {
  DownloadStatus Status;
  bool Transient = false;       // another attempt may cure it
  bool RangesUnusable = false;  // later attempts fetch the whole body
};

// What one attempt works on. It asks for the body from RangeStart on (0: the whole body),
// appends to File (or empties it first when the server sends the whole body again), keeps
// Expected at the body's announced total and Validator at the last response's entity tag or
// date, which a resumed request sends along.
struct AttemptTarget {
  PartFile& File;
  std::uint64_t RangeStart;
  std::uint64_t& Expected;
  std::string& Validator;
};
using RunAttempt = std::function<AttemptResult(AttemptTarget& target)>;

// rangesUsable: whether the address's scheme can resume by a byte range (http and https).
// expectedDigest: the SHA-256 the whole body must have (hashed as it arrives), or nullopt.
// Returns what OnStopBinding returned.
DownloadStatus RunDownload(const std::string& path, BindStatusCallback& callback,
                           const DownloadOptions& options, bool rangesUsable,
                           const std::optional<Sha256Digest>& expectedDigest,
                           const RunAttempt& attempt);

// The reason a download whose body does not have its expected SHA-256 failed.
inline constexpr char kDigestMismatchError[] = "SHA-256 differs from the list's";

// HTTP statuses of a server that is busy or broken for a moment: asked again.
bool IsTransientHttpStatus(long status);

}  // namespace morvo
