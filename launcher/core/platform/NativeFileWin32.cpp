#include <windows.h>

#include <algorithm>

#include "platform/NativeFile.h"
#include "platform/WideText.h"

namespace morvo {

namespace {

HANDLE Handle(std::intptr_t handle) { return reinterpret_cast<HANDLE>(handle); }

// Shared in every way, as POSIX files are: others may read the log while it is written, and a
// file may be renamed or deleted while open. Handles are not inherited by started programs.
std::intptr_t OpenHandle(const std::string& path, DWORD access, DWORD disposition) {
  const HANDLE handle = ::CreateFileW(Widen(path).c_str(), access,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
  return reinterpret_cast<std::intptr_t>(handle);
}

// Every lock of this program is on one byte far beyond any data: Windows locks keep other
// handles from reading the range locked, and the log must stay readable while it is written.
OVERLAPPED LockedByte() {
  OVERLAPPED place{};
  place.Offset = 0;
  place.OffsetHigh = 0x7FFFFFFF;
  return place;
}

// A single read or write call moves at most this much.
constexpr std::size_t kLargestCall = 1u << 30;

}  // namespace

NativeFile NativeFile::OpenToRead(const std::string& path) {
  return NativeFile(OpenHandle(path, GENERIC_READ, OPEN_EXISTING));
}

NativeFile NativeFile::OpenOrCreate(const std::string& path) {
  return NativeFile(OpenHandle(path, GENERIC_READ | GENERIC_WRITE, OPEN_ALWAYS));
}

NativeFile NativeFile::OpenToAppend(const std::string& path) {
  // Append access alone: the system puts every write at the end of the file.
  return NativeFile(OpenHandle(path, FILE_APPEND_DATA | SYNCHRONIZE, OPEN_ALWAYS));
}

NativeFile NativeFile::CreateNew(const std::string& path) {
  return NativeFile(OpenHandle(path, GENERIC_READ | GENERIC_WRITE, CREATE_NEW));
}

std::int64_t NativeFile::Read(void* out, std::size_t size) {
  DWORD done = 0;
  const auto asked = static_cast<DWORD>(std::min(size, kLargestCall));
  if (!::ReadFile(Handle(handle_), out, asked, &done, nullptr)) return -1;
  return done;
}

bool NativeFile::WriteAll(const void* data, std::size_t size) {
  const auto* bytes = static_cast<const char*>(data);
  while (size > 0) {
    DWORD done = 0;
    const auto asked = static_cast<DWORD>(std::min(size, kLargestCall));
    if (!::WriteFile(Handle(handle_), bytes, asked, &done, nullptr) || done == 0) return false;
    bytes += done;
    size -= done;
  }
  return true;
}

bool NativeFile::SeekTo(std::int64_t position) {
  LARGE_INTEGER distance;
  distance.QuadPart = position;
  return position >= 0 && ::SetFilePointerEx(Handle(handle_), distance, nullptr, FILE_BEGIN);
}

std::optional<std::int64_t> NativeFile::RegularFileSize() const {
  BY_HANDLE_FILE_INFORMATION info{};
  if (::GetFileType(Handle(handle_)) != FILE_TYPE_DISK ||
      !::GetFileInformationByHandle(Handle(handle_), &info) ||
      (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    return std::nullopt;
  }
  return (static_cast<std::int64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
}

LockResult NativeFile::TryLock() {
  OVERLAPPED place = LockedByte();
  if (::LockFileEx(Handle(handle_), LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0,
                   &place)) {
    return LockResult::Locked;
  }
  const DWORD error = ::GetLastError();
  return error == ERROR_LOCK_VIOLATION || error == ERROR_IO_PENDING ? LockResult::HeldElsewhere
                                                                    : LockResult::Failed;
}

bool NativeFile::SetPermissions(unsigned) { return true; }

bool NativeFile::FlushToDisk() { return ::FlushFileBuffers(Handle(handle_)) != 0; }

// The system's lazy writer starts within about a second; there is no call to hurry it along.
void NativeFile::StartWriteBack() {}

KernelCopy NativeFile::CopyInKernel(NativeFile&, std::size_t) {
  KernelCopy result;
  result.Unsupported = true;
  return result;
}

bool NativeFile::Close() {
  const std::intptr_t old = Release();
  return old == kNone || ::CloseHandle(Handle(old)) != 0;
}

}  // namespace morvo
