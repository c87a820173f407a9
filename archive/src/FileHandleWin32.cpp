#include <windows.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "FileHandle.h"
#include "NarrowPath.h"

namespace vka {

namespace {

HANDLE handleOf(std::intptr_t native) { return reinterpret_cast<HANDLE>(native); }

// ReadFile and WriteFile take 32-bit counts.
constexpr std::size_t kLargestPiece = 1u << 30;

OVERLAPPED at(std::uint64_t position) {
  OVERLAPPED where{};
  where.Offset = static_cast<DWORD>(position);
  where.OffsetHigh = static_cast<DWORD>(position >> 32);
  return where;
}

}  // namespace

bool FileHandle::open(const char* path, const char* mode) {
  close();
  if (path == nullptr || mode == nullptr) return false;
  DWORD access = GENERIC_READ | GENERIC_WRITE;
  DWORD disposition = 0;
  if (std::strcmp(mode, "r") == 0) {
    access = GENERIC_READ;
    disposition = OPEN_EXISTING;
  } else if (std::strcmp(mode, "r+") == 0) {
    disposition = OPEN_EXISTING;
  } else if (std::strcmp(mode, "w") == 0) {
    access = GENERIC_WRITE;
    disposition = CREATE_ALWAYS;
  } else if (std::strcmp(mode, "w+") == 0) {
    disposition = CREATE_ALWAYS;
  } else if (std::strcmp(mode, "a+") == 0) {
    disposition = OPEN_ALWAYS;  // an archive appends at its own end
  } else {
    return false;
  }
  const std::filesystem::path wide = PathOfNarrow(path);
  if (wide.empty()) return false;
  // Others may read, write, rename and delete meanwhile, as they may on POSIX systems.
  HANDLE file =
      CreateFileW(wide.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                  nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  // A folder opens too when asked for nothing but reading; it is no file to work on.
  BY_HANDLE_FILE_INFORMATION info{};
  if (GetFileInformationByHandle(file, &info) == 0 ||
      (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    CloseHandle(file);
    return false;
  }
  native_ = reinterpret_cast<std::intptr_t>(file);
  return true;
}

void FileHandle::close() {
  if (isOpen()) CloseHandle(handleOf(native_));
  native_ = kNone;
}

std::int64_t FileHandle::size() const {
  LARGE_INTEGER length{};
  if (!isOpen() || GetFileSizeEx(handleOf(native_), &length) == 0) return -1;
  return length.QuadPart;
}

bool FileHandle::readAt(std::uint64_t position, void* into, std::size_t count) const {
  auto* cursor = static_cast<unsigned char*>(into);
  while (count > 0) {
    OVERLAPPED where = at(position);
    DWORD got = 0;
    const auto piece = static_cast<DWORD>(std::min(count, kLargestPiece));
    if (ReadFile(handleOf(native_), cursor, piece, &got, &where) == 0 || got == 0) return false;
    cursor += got;
    position += got;
    count -= got;
  }
  return true;
}

bool FileHandle::writeAt(std::uint64_t position, const void* from, std::size_t count) {
  const auto* cursor = static_cast<const unsigned char*>(from);
  while (count > 0) {
    OVERLAPPED where = at(position);
    DWORD put = 0;
    const auto piece = static_cast<DWORD>(std::min(count, kLargestPiece));
    if (WriteFile(handleOf(native_), cursor, piece, &put, &where) == 0 || put == 0) return false;
    cursor += put;
    position += put;
    count -= put;
  }
  return true;
}

std::int64_t FileHandle::readSome(void* into, std::size_t count) {
  DWORD got = 0;
  const auto piece = static_cast<DWORD>(std::min(count, kLargestPiece));
  if (ReadFile(handleOf(native_), into, piece, &got, nullptr) == 0) return -1;
  return got;
}

bool FileHandle::sync() { return isOpen() && FlushFileBuffers(handleOf(native_)) != 0; }

// Windows has no call that starts a range's write-out without waiting for it; the cache
// manager writes pending bytes on its own.
void FileHandle::startWriteBack(std::uint64_t, std::uint64_t) {}

// Windows has no call that drops a file's cached bytes; its deletion releases them.
void FileHandle::releaseCache() const {}

bool FileHandle::truncate(std::uint64_t length) {
  FILE_END_OF_FILE_INFO end{};
  end.EndOfFile.QuadPart = static_cast<LONGLONG>(length);
  return isOpen() &&
         SetFileInformationByHandle(handleOf(native_), FileEndOfFileInfo, &end, sizeof end) != 0;
}

std::int64_t FileHandle::copyRangeFrom(const FileHandle&, std::uint64_t, std::uint64_t,
                                       std::uint64_t) {
  return -1;  // Windows has no copy between two open files inside the kernel
}

void FileHandle::copyAccessFrom(const FileHandle&) {
  // Access on Windows is the folder's inherited access list, which the new file already has.
}

}  // namespace vka
