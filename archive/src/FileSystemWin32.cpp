#include <windows.h>

#include <string>

#include "FileSystem.h"
#include "NarrowPath.h"

namespace vka {

namespace {

// The volume and file index of `path`, which identify one file whatever its spelling.
bool identify(const char* path, BY_HANDLE_FILE_INFORMATION& info) {
  const std::filesystem::path wide = PathOfNarrow(path);
  if (wide.empty()) return false;
  // Backup semantics: a folder opens as well, so that it can be compared too.
  HANDLE file = CreateFileW(wide.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                            nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  const bool known = GetFileInformationByHandle(file, &info) != 0;
  CloseHandle(file);
  return known;
}

}  // namespace

bool sameFile(const char* first, const char* second) {
  BY_HANDLE_FILE_INFORMATION a{}, b{};
  return identify(first, a) && identify(second, b) &&
         a.dwVolumeSerialNumber == b.dwVolumeSerialNumber && a.nFileIndexHigh == b.nFileIndexHigh &&
         a.nFileIndexLow == b.nFileIndexLow;
}

void removeRegularFile(const char* path) {
  const std::filesystem::path wide = PathOfNarrow(path);
  if (wide.empty()) return;
  const DWORD attributes = GetFileAttributesW(wide.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return;
  if ((attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) != 0) return;
  DeleteFileW(wide.c_str());
}

bool replaceFile(const char* from, const char* to) {
  const std::filesystem::path source = PathOfNarrow(from), target = PathOfNarrow(to);
  if (source.empty() || target.empty()) return false;
  // Write-through: the call returns once the move is on the disk.
  return MoveFileExW(source.c_str(), target.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

}  // namespace vka
