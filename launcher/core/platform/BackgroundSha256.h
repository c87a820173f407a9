// SHA-256 of a stream, computed on a thread of its own: the thread that receives the bytes only
// copies them into a few reused blocks, so hashing a download runs beside the transfer instead
// of slowing it. Without a thread (none could be started) it hashes on the caller's.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "platform/Sha256.h"

namespace morvo {

class BackgroundSha256 {
 public:
  BackgroundSha256();
  // Stops the thread; what it had not hashed yet is dropped.
  ~BackgroundSha256();
  BackgroundSha256(const BackgroundSha256&) = delete;
  BackgroundSha256& operator=(const BackgroundSha256&) = delete;

  // Copies data for hashing; waits only while every block is still queued.
  void Update(const void* data, std::size_t size);
  // The digest of everything given, once the thread has hashed it all; the object is spent.
  std::optional<Sha256Digest> Finish();

 private:
  struct Block {
    std::vector<char> Bytes;
    std::size_t Used = 0;
  };
  static constexpr int kNoBlock = -1;

  void Work();
  void Queue(int block);
  // Stops the thread after (drain) or before the blocks still queued.
  void Stop(bool drain);

  Sha256 hash_;  // the worker's alone while it runs
  std::vector<Block> blocks_;
  int filling_ = kNoBlock;  // the block the caller copies into
  std::mutex lock_;
  std::condition_variable changed_;
  std::deque<int> queued_;
  std::vector<int> free_;
  bool stopping_ = false;
  bool drain_ = false;
  std::thread worker_;
};

}  // namespace morvo
