#include <sys/mman.h>

#include <cstdint>

#include "LargeBlock.h"

namespace vka {

namespace {

// The size of a transparent huge page on the platforms that have them.
constexpr std::size_t kHugePage = 2u << 20;

std::size_t roundedUp(std::size_t bytes) { return (bytes + kHugePage - 1) & ~(kHugePage - 1); }

}  // namespace

void* allocateLargeBlock(std::size_t bytes) {
  // A huge page needs an aligned address: one page of slack is mapped, then trimmed away.
  const std::size_t length = roundedUp(bytes);
  if (length < bytes || length + kHugePage < length) return nullptr;
  void* mapped = ::mmap(nullptr, length + kHugePage, PROT_READ | PROT_WRITE,
                        MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (mapped == MAP_FAILED) return nullptr;
  const auto start = reinterpret_cast<std::uintptr_t>(mapped);
  const std::uintptr_t aligned = (start + kHugePage - 1) & ~std::uintptr_t(kHugePage - 1);
  if (aligned > start) ::munmap(mapped, aligned - start);
  const std::size_t tail = start + kHugePage - aligned;
  if (tail > 0) ::munmap(reinterpret_cast<void*>(aligned + length), tail);
  auto* block = reinterpret_cast<void*>(aligned);
#ifdef MADV_HUGEPAGE
  // Only advice: where huge pages are off, the block has ordinary pages.
  ::madvise(block, length, MADV_HUGEPAGE);
#endif
  return block;
}

void freeLargeBlock(void* block, std::size_t bytes) {
  if (block != nullptr) ::munmap(block, roundedUp(bytes));
}

}  // namespace vka
