#include <windows.h>

#include <optional>

#include "platform/ArchiveCallPaths.h"
#include "platform/WideText.h"

namespace morvo {

namespace {

// wide in the ANSI code page, or nullopt when a character has no byte there (a best-fit
// stand-in would name another file).
std::optional<std::string> InAnsiCodePage(const std::wstring& wide) {
  if (wide.empty()) return std::string();
  const int size = static_cast<int>(wide.size());
  BOOL lossy = FALSE;
  const int length = ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), size, nullptr,
                                           0, nullptr, &lossy);
  if (length <= 0 || lossy) return std::nullopt;
  std::string bytes(static_cast<std::size_t>(length), '\0');
  ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), size, bytes.data(), length,
                        nullptr, nullptr);
  return bytes;
}

std::wstring CurrentFolder() {
  std::wstring folder(::GetCurrentDirectoryW(0, nullptr), L'\0');
  const DWORD n = ::GetCurrentDirectoryW(static_cast<DWORD>(folder.size()), folder.data());
  folder.resize(n < folder.size() ? n : 0);
  return folder;
}

// The short (8.3) form of an existing path, where the volume keeps short names.
std::wstring ShortPathOf(const std::wstring& path) {
  std::wstring shortPath(::GetShortPathNameW(path.c_str(), nullptr, 0), L'\0');
  const DWORD n =
      ::GetShortPathNameW(path.c_str(), shortPath.data(), static_cast<DWORD>(shortPath.size()));
  shortPath.resize(n < shortPath.size() ? n : 0);
  return shortPath;
}

}  // namespace

ArchiveCallPaths::ArchiveCallPaths(const std::string& folder) : folder_(folder) {
  std::wstring previous = CurrentFolder();
  if (!previous.empty() && ::SetCurrentDirectoryW(Widen(folder).c_str())) {
    previousFolder_ = std::move(previous);
  }
}

ArchiveCallPaths::~ArchiveCallPaths() {
  if (!previousFolder_.empty()) ::SetCurrentDirectoryW(previousFolder_.c_str());
}

std::string ArchiveCallPaths::Narrow(const std::string& path) const {
  // Inside the folder, the name relative to it: the folder's own name, however foreign to the
  // code page, is then never spelt out.
  if (!previousFolder_.empty() && path.starts_with(folder_)) {
    if (auto relative = InAnsiCodePage(Widen(path.substr(folder_.size())))) return *relative;
  }
  if (auto whole = InAnsiCodePage(Widen(path))) return *whole;
  // A name the code page cannot say may still have a short form made of ASCII letters.
  return InAnsiCodePage(ShortPathOf(Widen(path))).value_or(std::string());
}

}  // namespace morvo
