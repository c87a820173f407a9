#include "ClickSound.h"

#include <cstdint>
#include <cstring>
// clang-format off
#include <mmsystem.h>  // after windows.h, which it needs
// clang-format on

namespace {

// A RIFF WAVE image that lies wholly inside its resource: the player reads as far as the RIFF
// size says.
bool IsWholeWave(const std::uint8_t* bytes, DWORD size) {
  if (size < 12 || std::memcmp(bytes, "RIFF", 4) != 0 || std::memcmp(bytes + 8, "WAVE", 4) != 0) {
    return false;
  }
  std::uint32_t riffSize = 0;
  std::memcpy(&riffSize, bytes + 4, 4);  // little-endian, as the platform
  return riffSize <= size - 8;
}

}  // namespace

void ClickSound::Load(bool enabled, HMODULE module) {
  wave_ = nullptr;
  if (!enabled) return;
  if (module == nullptr) module = ::GetModuleHandleW(nullptr);
  HRSRC found = ::FindResourceW(module, L"Sound_Click", L"WAVE");
  if (found == nullptr) return;
  HGLOBAL loaded = ::LoadResource(module, found);
  const void* bytes = loaded != nullptr ? ::LockResource(loaded) : nullptr;
  if (bytes == nullptr ||
      !IsWholeWave(static_cast<const std::uint8_t*>(bytes), ::SizeofResource(module, found))) {
    return;
  }
  wave_ = bytes;
}

void ClickSound::Play(bool wait) {
  if (wave_ == nullptr) return;
  ::PlaySoundW(static_cast<LPCWSTR>(wave_), nullptr,
               SND_MEMORY | SND_NODEFAULT | (wait ? SND_SYNC : SND_ASYNC));
}
