#include "CacheRelease.h"

#include <system_error>

namespace vka {

CacheRelease::CacheRelease(const FileHandle& file) {
  try {
    worker_ = std::thread([&file] { file.releaseCache(); });
  } catch (const std::system_error&) {
    // No thread to be had: the deletion releases the cache, as it would without this.
  }
}

CacheRelease::~CacheRelease() {
  if (worker_.joinable()) worker_.join();
}

}  // namespace vka
