#include <windows.h>

#include "NarrowPath.h"

namespace vka {

// The ANSI code page, as every ...A call of Windows reads and writes paths; a byte or a
// character it does not define fails rather than turning into another file's name.
std::filesystem::path PathOfNarrow(const char* narrow) {
  if (narrow == nullptr || *narrow == '\0') return {};
  const int length = MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, narrow, -1, nullptr, 0);
  if (length <= 0) return {};
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  if (MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, narrow, -1, wide.data(), length) !=
      length) {
    return {};
  }
  wide.pop_back();  // the converted NUL
  return wide;
}

std::string NarrowOf(const std::filesystem::path& path) {
  const std::wstring& wide = path.native();
  if (wide.empty()) return {};
  BOOL lossy = FALSE;
  const int length = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.c_str(), -1, nullptr, 0,
                                         nullptr, &lossy);
  if (length <= 0 || lossy) return {};
  std::string narrow(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.c_str(), -1, narrow.data(), length,
                      nullptr, nullptr);
  narrow.pop_back();
  return narrow;
}

}  // namespace vka
