#include <windows.h>

#include "platform/FileIdentity.h"
#include "platform/FileSystem.h"
#include "platform/NativeFile.h"
#include "platform/UniqueHandle.h"
#include "platform/WideText.h"

namespace morvo {

namespace {

bool IsMissing(DWORD error) {
  return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

// Read-only files are deleted and replaced as POSIX deletes and replaces them, whatever their own
// permissions say: true when path was read-only and no longer is.
bool ClearedReadOnly(const std::wstring& path) {
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0 &&
         ::SetFileAttributesW(path.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
}

}  // namespace

bool RemoveFile(const std::string& path) {
  const std::wstring wide = Widen(path);
  if (::DeleteFileW(wide.c_str())) return true;
  const DWORD error = ::GetLastError();
  if (IsMissing(error)) return true;
  return error == ERROR_ACCESS_DENIED && ClearedReadOnly(wide) &&
         (::DeleteFileW(wide.c_str()) || IsMissing(::GetLastError()));
}

bool RenameFile(const std::string& from, const std::string& to, bool durable) {
  const std::wstring source = Widen(from);
  const std::wstring target = Widen(to);
  const DWORD flags = MOVEFILE_REPLACE_EXISTING | (durable ? MOVEFILE_WRITE_THROUGH : 0);
  if (::MoveFileExW(source.c_str(), target.c_str(), flags)) return true;
  return ::GetLastError() == ERROR_ACCESS_DENIED && ClearedReadOnly(target) &&
         ::MoveFileExW(source.c_str(), target.c_str(), flags);
}

namespace {

// Flushing needs write access; nothing else is kept from others meanwhile. The system's error
// code, 0 when the data reached the disk.
DWORD OpenAndFlush(const std::string& path, DWORD flags) {
  const UniqueHandle file(::CreateFileW(Widen(path).c_str(), GENERIC_WRITE,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                        nullptr, OPEN_EXISTING, flags, nullptr));
  if (!file.IsOpen() || !::FlushFileBuffers(file.Get())) return ::GetLastError();
  return ERROR_SUCCESS;
}

}  // namespace

bool FlushFileAt(const std::string& path) {
  return OpenAndFlush(path, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT) == ERROR_SUCCESS;
}

bool FlushFolder(const std::string& folder) {
  // NTFS journals the entries of a folder and commits its journal with any flush, so a folder
  // that the system does not let us flush loses nothing more.
  const DWORD error = OpenAndFlush(folder, FILE_FLAG_BACKUP_SEMANTICS);
  return error == ERROR_SUCCESS || error == ERROR_ACCESS_DENIED || error == ERROR_INVALID_FUNCTION;
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

bool IsFileInUse(const std::string& path) {
  // A loaded library or a running program refuses every opening for writing with a sharing
  // violation, as does a file that another process opened without sharing writing or deleting;
  // a read-only file or a missing permission answers "access denied" instead.
  const std::wstring wide = Widen(path);
  for (const DWORD access : {DWORD{GENERIC_WRITE}, DWORD{DELETE}}) {
    const UniqueHandle file(::CreateFileW(wide.c_str(), access,
                                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                          nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.IsOpen()) continue;
    const DWORD error = ::GetLastError();
    if (error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION) return true;
  }
  return false;
}

bool SameFile(const std::string& a, const std::string& b) {
  const auto left = IdentityOfPath(Widen(a));
  return left && left == IdentityOfPath(Widen(b));
}

}  // namespace morvo
