#include "install/PatchContainer.h"

#include <cstring>

#include "platform/AtomicFile.h"
#include "text/LittleEndian.h"

namespace morvo {

namespace {

// Reads are gathered so that the small fields and 4096-byte chunks cost few system calls.
constexpr std::size_t kReadAhead = 256 * 1024;

}  // namespace

std::optional<ContainerReader> ContainerReader::Open(const std::string& path) {
  // Never waits on a planted pipe, and only a regular file is read.
  NativeFile file = NativeFile::OpenToRead(path);
  if (!file.IsOpen() || !file.RegularFileSize()) return std::nullopt;
  return ContainerReader(std::move(file));
}

ContainerReader::ContainerReader(NativeFile file) : file_(std::move(file)) {}

std::size_t ContainerReader::Read(void* out, std::size_t size) {
  if (bufferStart_ == buffer_.size()) {
    buffer_.resize(kReadAhead);
    const std::int64_t n = file_.Read(buffer_.data(), buffer_.size());
    buffer_.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
    bufferStart_ = 0;
    if (buffer_.empty()) return 0;
  }
  const std::size_t taken = std::min(size, buffer_.size() - bufferStart_);
  std::memcpy(out, buffer_.data() + bufferStart_, taken);
  bufferStart_ += taken;
  position_ += static_cast<std::int64_t>(taken);
  return taken;
}

std::int64_t ContainerReader::CopyTo(AtomicFileWriter& out, std::int64_t size) {
  const auto buffered = std::min<std::int64_t>(size, buffer_.size() - bufferStart_);
  if (!out.Write(buffer_.data() + bufferStart_, static_cast<std::size_t>(buffered))) return 0;
  bufferStart_ += static_cast<std::size_t>(buffered);
  position_ += buffered;
  if (buffered == size) return size;
  // The read-ahead is used up, so the file offset is where the data go on.
  const auto copied =
      static_cast<std::int64_t>(out.CopyFrom(file_, static_cast<std::size_t>(size - buffered)));
  position_ += copied;
  return buffered + copied;
}

bool ContainerReader::ReadExact(void* out, std::size_t size) {
  auto* bytes = static_cast<char*>(out);
  while (size > 0) {
    const std::size_t n = Read(bytes, size);
    if (n == 0) return false;
    bytes += n;
    size -= n;
  }
  return true;
}

void ContainerReader::SeekTo(std::int64_t position) {
  position_ = position;
  buffer_.clear();
  bufferStart_ = 0;
  file_.SeekTo(position);
}

bool ContainerReader::Skip(std::int64_t size) {
  const std::optional<std::int64_t> fileSize = file_.RegularFileSize();
  if (size < 0 || !fileSize || *fileSize - position_ < size) return false;
  SeekTo(position_ + size);
  return true;
}

void ContainerReader::Rewind(std::int64_t size) { SeekTo(position_ - std::min(size, position_)); }

bool ContainerReader::ReadInt32(std::int32_t& value) {
  std::uint8_t bytes[4];
  if (!ReadExact(bytes, sizeof bytes)) return false;
  value = DecodeInt32LE(bytes);
  return true;
}

bool ContainerReader::ReadName(std::string& name) {
  std::int32_t length = 0;
  if (!ReadInt32(length) || length < 0 || length > kContainerNameLimit) return false;
  name.resize(static_cast<std::size_t>(length));
  if (!ReadExact(name.data(), name.size())) return false;
  name.resize(std::strlen(name.c_str()));  // the name ends at its first NUL
  return true;
}

bool ContainerReader::ReadHeader(std::int32_t& count) {
  char magic[kContainerMagicSize];
  return ReadExact(magic, sizeof magic) &&
         std::memcmp(magic, kContainerMagic, kContainerMagicSize) == 0 && ReadInt32(count);
}

bool ContainerReader::ReadEntryHeader(ContainerEntryHeader& header) {
  return ReadName(header.SourceName) && ReadName(header.DestName) && ReadInt32(header.DataSize) &&
         header.DataSize >= 0;
}

std::string EncodeContainerHeader(std::int32_t count) {
  std::string out(kContainerMagic, kContainerMagicSize);
  AppendInt32LE(out, count);
  return out;
}

std::string EncodeEntryHeader(std::string_view sourceName, std::string_view destName,
                              std::int32_t dataSize) {
  std::string out;
  AppendInt32LE(out, static_cast<std::int32_t>(sourceName.size()));
  out += sourceName;
  AppendInt32LE(out, static_cast<std::int32_t>(destName.size()));
  out += destName;
  AppendInt32LE(out, dataSize);
  return out;
}

}  // namespace morvo
