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

// The file system itself ignores letter case here: the name as given reaches the entry, and no
// folder is listed. A short (8.3) name reaches it too, and then the entry's long name is
// returned, so that the rules about names see the entry's own name.
std::string MatchingEntry(const std::string& folder, const std::string& part, bool& exists,
                          FolderListings& /*listings*/) {
  const std::wstring path = Widen(folder + part);
  exists = ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
  if (!exists) return part;
  std::wstring full(32768, L'\0');
  const DWORD n = ::GetLongPathNameW(path.c_str(), full.data(), static_cast<DWORD>(full.size()));
  if (n == 0 || n >= full.size()) return part;
  full.resize(n);
  const std::wstring longName = full.substr(full.find_last_of(L"\\/") + 1);
  const std::wstring given = Widen(part);
  const bool sameName =
      ::CompareStringOrdinal(longName.data(), static_cast<int>(longName.size()), given.data(),
                             static_cast<int>(given.size()), TRUE) == CSTR_EQUAL;
  return sameName ? part : Utf8OfWide(longName);
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
