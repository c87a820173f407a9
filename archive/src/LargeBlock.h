// Memory for the tables of large archives: taken from the system in one piece, never zero
// filled by this process, and in the largest pages the system gives. Where a page fault costs
// more than writing its 4 KiB (as in virtual machines), opening a table of a million entries
// spends most of its time faulting in fresh pages; 2 MiB pages take that cost away.
// LargeBlockPosix.cpp and LargeBlockWin32.cpp implement it.
#pragma once

#include <cstddef>
#include <memory>
#include <new>
#include <vector>

namespace vka {

// Below this, memory comes from the ordinary heap, which reuses what was freed.
inline constexpr std::size_t kLargeBlockMinimum = 1u << 20;

// A block of at least `bytes` bytes, or null when the system has no memory left.
void* allocateLargeBlock(std::size_t bytes);
// Gives back a block from allocateLargeBlock with the same `bytes`.
void freeLargeBlock(void* block, std::size_t bytes);

// Takes blocks of kLargeBlockMinimum bytes or more from allocateLargeBlock. Elements that a
// container adds without a value are default-initialised, so a byte buffer resized to take
// inflated data is not zero filled first.
template <class T>
struct LargeBlockAllocator {
  using value_type = T;

  LargeBlockAllocator() = default;
  template <class U>
  LargeBlockAllocator(const LargeBlockAllocator<U>&) noexcept {}

  T* allocate(std::size_t count) {
    if (count > std::size_t(-1) / sizeof(T)) throw std::bad_array_new_length();
    if (count * sizeof(T) < kLargeBlockMinimum) return std::allocator<T>().allocate(count);
    void* block = allocateLargeBlock(count * sizeof(T));
    if (block == nullptr) throw std::bad_alloc();
    return static_cast<T*>(block);
  }
  void deallocate(T* block, std::size_t count) noexcept {
    if (count * sizeof(T) < kLargeBlockMinimum) {
      std::allocator<T>().deallocate(block, count);
    } else {
      freeLargeBlock(block, count * sizeof(T));
    }
  }
  template <class U>
  void construct(U* at) noexcept(noexcept(U())) {
    ::new (static_cast<void*>(at)) U;
  }
  template <class U, class... Args>
  void construct(U* at, Args&&... args) {
    ::new (static_cast<void*>(at)) U(std::forward<Args>(args)...);
  }

  template <class U>
  bool operator==(const LargeBlockAllocator<U>&) const noexcept {
    return true;
  }
};

template <class T>
using LargeVector = std::vector<T, LargeBlockAllocator<T>>;

}  // namespace vka
