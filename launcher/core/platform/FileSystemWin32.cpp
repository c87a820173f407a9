#include <windows.h>

#include "platform/FileIdentity.h"
#include "platform/FileSystem.h"
#include "platform/NativeFile.h"
#include "platform/WideText.h"

namespace {

bool IsMissing(DWORD error) {
  return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

}  // namespace

bool RemoveFile(const std::string& path) {
  const std::wstring wide = Widen(path);
  if (::DeleteFileW(wide.c_str())) return true;
  const DWORD error = ::GetLastError();
  if (IsMissing(error)) return true;
  // A read-only file is deleted as POSIX deletes it, whatever its own permissions say.
  const DWORD attributes = ::GetFileAttributesW(wide.c_str());
  if (error != ERROR_ACCESS_DENIED || attributes == INVALID_FILE_ATTRIBUTES ||
      (attributes & FILE_ATTRIBUTE_READONLY) == 0) {
    return false;
  }
  ::SetFileAttributesW(wide.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
  return ::DeleteFileW(wide.c_str()) || IsMissing(::GetLastError());
}

bool RenameFile(const std::string& from, const std::string& to, bool durable) {
  const DWORD flags = MOVEFILE_REPLACE_EXISTING | (durable ? MOVEFILE_WRITE_THROUGH : 0);
  return ::MoveFileExW(Widen(from).c_str(), Widen(to).c_str(), flags) != 0;
}

bool IsRegularFile(const std::string& path) {
  const DWORD attributes = ::GetFileAttributesW(Widen(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool IsRunnableFile(const std::string& path) {
  // No permission bit says it here: a program file is one that begins with "MZ". A link is not
  // followed.
  const DWORD attributes = ::GetFileAttributesW(Widen(path).c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES ||
      (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) != 0) {
    return false;
  }
  NativeFile file = NativeFile::OpenToRead(path);
  char magic[2] = {};
  return file.IsOpen() && file.Read(magic, 2) == 2 && magic[0] == 'M' && magic[1] == 'Z';
}

std::optional<unsigned> PermissionBits(const std::string& path) {
  // Windows files carry no permission bits; what POSIX would give a new file stands in.
  if (::GetFileAttributesW(Widen(path).c_str()) == INVALID_FILE_ATTRIBUTES) return std::nullopt;
  return 0644;
}

bool SameFile(const std::string& a, const std::string& b) {
  const auto left = IdentityOfPath(Widen(a));
  return left && left == IdentityOfPath(Widen(b));
}
