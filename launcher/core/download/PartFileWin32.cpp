#include <windows.h>

#include <algorithm>
#include <utility>

#include "download/PartFile.h"
#include "engine/TemporaryNames.h"
#include "platform/FileSystem.h"
#include "platform/WideText.h"

namespace morvo {

namespace {

HANDLE HandleOf(std::intptr_t file) { return reinterpret_cast<HANDLE>(file); }

// WriteFile takes 32-bit counts.
constexpr std::size_t kLargestPiece = 1u << 30;

}  // namespace

PartFile::PartFile(std::string targetPath)
    : targetPath_(std::move(targetPath)), partPath_(targetPath_ + kDownloadPartSuffix) {
  const std::wstring wide = Widen(partPath_);
  if (wide.empty()) return;
  // Others may read it meanwhile, and it may be renamed or deleted while open, as on POSIX.
  const HANDLE file = CreateFileW(wide.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE,
                                  nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  file_ = reinterpret_cast<std::intptr_t>(file);
}

PartFile::~PartFile() {
  Close();
  if (!committed_) {
    const std::wstring wide = Widen(partPath_);
    if (!wide.empty()) DeleteFileW(wide.c_str());
  }
}

bool PartFile::Close() {
  const std::intptr_t file = std::exchange(file_, kNoFile);
  return file == kNoFile || CloseHandle(HandleOf(file)) != 0;
}

bool PartFile::Append(const char* data, std::size_t size) {
  // A write that fails fails the download: the hash never describes a body kept on disk.
  Hash(data, size);
  while (size > 0) {
    DWORD written = 0;
    const auto piece = static_cast<DWORD>(std::min(size, kLargestPiece));
    if (WriteFile(HandleOf(file_), data, piece, &written, nullptr) == 0 || written == 0) {
      return false;
    }
    data += written;
    size -= written;
    size_ += written;
  }
  return true;
}

bool PartFile::Truncate() {
  LARGE_INTEGER start{};
  if (SetFilePointerEx(HandleOf(file_), start, nullptr, FILE_BEGIN) == 0 ||
      SetEndOfFile(HandleOf(file_)) == 0) {
    return false;
  }
  size_ = 0;
  if (hash_) hash_.emplace();
  return true;
}

bool PartFile::Commit() {
  if (!IsOpen() || FlushFileBuffers(HandleOf(file_)) == 0 || !Close()) return false;
  if (!RenameFile(partPath_, targetPath_, true)) return false;
  committed_ = true;
  return true;
}

void PartFile::RemoveTarget(const std::string& targetPath) {
  const std::wstring wide = Widen(targetPath);
  if (!wide.empty()) DeleteFileW(wide.c_str());
}

}  // namespace morvo
