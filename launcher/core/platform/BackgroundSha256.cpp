#include "platform/BackgroundSha256.h"

#include <algorithm>
#include <cstring>
#include <system_error>
#include <utility>

namespace morvo {

namespace {

// 8 blocks of 1 MiB: enough for the hash to ride out a burst of the transfer, reused so that
// fresh pages are faulted in once.
constexpr int kBlocks = 8;
constexpr std::size_t kBlockBytes = 1024 * 1024;

}  // namespace

BackgroundSha256::BackgroundSha256() : blocks_(kBlocks) {
  for (int block = kBlocks - 1; block >= 0; --block) free_.push_back(block);
  try {
    worker_ = std::thread(&BackgroundSha256::Work, this);
  } catch (const std::system_error&) {
    // Update then hashes on the caller's thread.
  }
}

BackgroundSha256::~BackgroundSha256() { Stop(false); }

void BackgroundSha256::Update(const void* data, std::size_t size) {
  if (!worker_.joinable()) {
    hash_.Update(data, size);
    return;
  }
  const char* bytes = static_cast<const char*>(data);
  while (size > 0) {
    if (filling_ == kNoBlock) {
      std::unique_lock<std::mutex> guard(lock_);
      changed_.wait(guard, [this] { return !free_.empty(); });
      filling_ = free_.back();
      free_.pop_back();
    }
    Block& block = blocks_[filling_];
    if (block.Bytes.empty()) block.Bytes.resize(kBlockBytes);
    const std::size_t taken = std::min(size, kBlockBytes - block.Used);
    std::memcpy(block.Bytes.data() + block.Used, bytes, taken);
    block.Used += taken;
    bytes += taken;
    size -= taken;
    if (block.Used == kBlockBytes) Queue(std::exchange(filling_, kNoBlock));
  }
}

std::optional<Sha256Digest> BackgroundSha256::Finish() {
  if (filling_ != kNoBlock) Queue(std::exchange(filling_, kNoBlock));
  Stop(true);
  return hash_.Finish();
}

void BackgroundSha256::Queue(int block) {
  {
    std::lock_guard<std::mutex> guard(lock_);
    queued_.push_back(block);
  }
  changed_.notify_all();
}

void BackgroundSha256::Stop(bool drain) {
  if (!worker_.joinable()) return;
  {
    std::lock_guard<std::mutex> guard(lock_);
    stopping_ = true;
    drain_ = drain;
  }
  changed_.notify_all();
  worker_.join();
}

void BackgroundSha256::Work() {
  for (;;) {
    int next = kNoBlock;
    {
      std::unique_lock<std::mutex> guard(lock_);
      changed_.wait(guard, [this] { return !queued_.empty() || stopping_; });
      if (queued_.empty() || (stopping_ && !drain_)) return;
      next = queued_.front();
      queued_.pop_front();
    }
    Block& block = blocks_[next];
    hash_.Update(block.Bytes.data(), block.Used);
    block.Used = 0;
    {
      std::lock_guard<std::mutex> guard(lock_);
      free_.push_back(next);
    }
    changed_.notify_all();
  }
}

}  // namespace morvo
