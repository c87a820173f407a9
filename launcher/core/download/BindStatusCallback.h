// What a download reports, in order, to the one object that follows it: start, progress, end.
#pragma once

#include <cstdint>
#include <string>

namespace morvo {

// How a download ended. Error is a short reason ("HTTP 404", a transfer error) when it failed.
struct DownloadStatus {
  bool Succeeded = false;
  std::string Error;
};

class BindStatusCallback {
 public:
  virtual ~BindStatusCallback() = default;
  // Before any byte is asked for.
  virtual void OnStartBinding() = 0;
  // Bytes at the target so far and the expected total (0 while unknown). Also called while
  // a retry waits, so that the receiver can keep its window alive.
  virtual void OnProgress(std::uint64_t received, std::uint64_t expected) = 0;
  // Once the response announces its body's length (bytes still to come): false when the disk
  // has no room for them, and the download fails without writing them.
  virtual bool HasRoomFor(std::uint64_t bytes) {
    (void)bytes;
    return true;
  }
  // Exactly once per download, after the file is in place (or gone, on failure). Returns the
  // status it received.
  virtual DownloadStatus OnStopBinding(const DownloadStatus& status) = 0;
};

}  // namespace morvo
