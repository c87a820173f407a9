#include <windows.h>

#include "platform/GamePathEntry.h"
#include "platform/UniqueHandle.h"
#include "platform/WideText.h"

namespace morvo {

namespace {

// The path the system reaches through path, links followed; empty when it cannot be opened.
std::wstring FinalPath(const std::wstring& path) {
  const UniqueHandle file(
      ::CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!file.IsOpen()) return {};
  std::wstring final(32768, L'\0');
  const DWORD n =
      ::GetFinalPathNameByHandleW(file.Get(), final.data(), static_cast<DWORD>(final.size()), 0);
  if (n == 0 || n >= final.size()) return {};
  final.resize(n);
  return final;
}

bool IsInside(const std::wstring& path, std::wstring root) {
  if (!root.empty() && root.back() != L'\\') root += L'\\';
  return path.size() >= root.size() &&
         ::CompareStringOrdinal(path.data(), static_cast<int>(root.size()), root.data(),
                                static_cast<int>(root.size()), TRUE) == CSTR_EQUAL;
}

}  // namespace

// The file system itself ignores letter case here: the name as given reaches the entry.
std::string MatchingEntry(const std::string& folder, const std::string& part, bool& exists) {
  exists = ::GetFileAttributesW(Widen(folder + part).c_str()) != INVALID_FILE_ATTRIBUTES;
  return part;
}

bool LinkLeavesFolder(const std::string& path, const std::string& root) {
  const std::wstring widePath = Widen(path);
  const DWORD attributes = ::GetFileAttributesW(widePath.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) {
    return false;
  }
  const std::wstring target = FinalPath(widePath);
  const std::wstring folder = FinalPath(Widen(root));
  return target.empty() || folder.empty() || !IsInside(target, folder);
}

}  // namespace morvo
