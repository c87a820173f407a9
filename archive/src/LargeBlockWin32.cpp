#include <windows.h>

#include "LargeBlock.h"

namespace vka {

// Large pages need a privilege that a game's user does not hold: ordinary pages, reserved
// and committed at once, which the system hands out already zeroed.
void* allocateLargeBlock(std::size_t bytes) {
  return ::VirtualAlloc(nullptr, bytes, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
}

void freeLargeBlock(void* block, std::size_t) {
  if (block != nullptr) ::VirtualFree(block, 0, MEM_RELEASE);
}

}  // namespace vka
