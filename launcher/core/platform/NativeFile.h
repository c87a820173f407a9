// The one owner of an open file in the core: a descriptor on POSIX, a handle on Windows. Closes
// it when the owner goes away, moves but never copies. Every path is UTF-8.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace morvo {

enum class LockResult { Locked, HeldElsewhere, Failed };

// What a copy inside the kernel achieved: bytes moved, and whether the files (or the platform)
// cannot be copied that way, so that the caller copies the rest itself.
struct KernelCopy {
  std::size_t Copied = 0;
  bool Unsupported = false;
  bool Failed = false;
};

class NativeFile {
 public:
  NativeFile() = default;
  ~NativeFile() { Close(); }
  NativeFile(const NativeFile&) = delete;
  NativeFile& operator=(const NativeFile&) = delete;
  NativeFile(NativeFile&& other) noexcept : handle_(other.Release()) {}
  NativeFile& operator=(NativeFile&& other) noexcept {
    if (this != &other) {
      Close();
      handle_ = other.Release();
    }
    return *this;
  }

  // For reading; never waits on a pipe planted under the name.
  static NativeFile OpenToRead(const std::string& path);
  // For reading and writing, created if missing: what a lock file needs.
  static NativeFile OpenOrCreate(const std::string& path);
  // For writing at the end, created if missing; every write lands whole at the end.
  static NativeFile OpenToAppend(const std::string& path);
  // Created here and now for reading and writing, failing when anything has the name, a link
  // included, so that nothing planted is ever written through.
  static NativeFile CreateNew(const std::string& path);

  bool IsOpen() const { return handle_ != kNone; }
  // Bytes read, 0 at the end of the file, -1 on an error.
  std::int64_t Read(void* out, std::size_t size);
  // The whole buffer, or false.
  bool WriteAll(const void* data, std::size_t size);
  bool SeekTo(std::int64_t position);
  // The size of a regular file; nullopt for anything else (a folder, a device) or on an error.
  std::optional<std::int64_t> RegularFileSize() const;
  // An exclusive lock, without waiting, that every process of this program respects.
  LockResult TryLock();
  // Permission bits where the platform has them; true where it has none.
  bool SetPermissions(unsigned mode);
  // Forces the data written to the disk.
  bool FlushToDisk();
  // Starts writing the data to the disk without waiting for it, so that a later flush of the
  // file waits for less; a hint that changes nothing where the platform has no such call.
  void StartWriteBack();
  // Moves up to size bytes from source's offset to this file's offset.
  KernelCopy CopyInKernel(NativeFile& source, std::size_t size);
  // False when the close failed, which for a file just written means its data may be lost.
  bool Close();

 private:
  static constexpr std::intptr_t kNone = -1;
  explicit NativeFile(std::intptr_t handle) : handle_(handle) {}
  std::intptr_t Release() {
    const std::intptr_t handle = handle_;
    handle_ = kNone;
    return handle;
  }

  std::intptr_t handle_ = kNone;
};

}  // namespace morvo
