// The patch container: "MORVOPATCHERPATCHBIN", a count, then entries of source name,
// destination name and data, integers 32-bit little-endian, names Windows-1252.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/NativeFile.h"

namespace morvo {

class AtomicFileWriter;

inline constexpr char kContainerMagic[] = "MORVOPATCHERPATCHBIN";
inline constexpr std::size_t kContainerMagicSize = 20;
// A name is read into a 256-byte buffer: at most 255 bytes, ending at its first NUL.
inline constexpr std::int32_t kContainerNameLimit = 255;

struct ContainerEntryHeader {
  std::string SourceName;
  std::string DestName;
  std::int32_t DataSize = 0;
};

// Reads a container file front to back. Every read reports a file that ends early instead of
// waiting for more bytes.
class ContainerReader {
 public:
  static std::optional<ContainerReader> Open(const std::string& path);
  ContainerReader(ContainerReader&& other) noexcept = default;
  ContainerReader& operator=(ContainerReader&&) = delete;

  // The magic and the count; false when the magic is wrong or the file ends first.
  bool ReadHeader(std::int32_t& count);
  // False when the file ends inside the header, a name length is negative or above
  // kContainerNameLimit, or the data size is negative.
  bool ReadEntryHeader(ContainerEntryHeader& header);
  // Up to size bytes of data; 0 only at the end of the file (or on a read error).
  std::size_t Read(void* out, std::size_t size);
  // Moves up to size bytes of data into out; returns how many the container held (fewer when
  // it ends early or out failed).
  std::int64_t CopyTo(AtomicFileWriter& out, std::int64_t size);
  // Exactly size bytes, or false.
  bool ReadExact(void* out, std::size_t size);
  // Moves forward over size bytes; false when the file is shorter.
  bool Skip(std::int64_t size);
  // Moves back over bytes read (at most the current position).
  void Rewind(std::int64_t size);

 private:
  explicit ContainerReader(NativeFile file);
  bool ReadInt32(std::int32_t& value);
  bool ReadName(std::string& name);
  void SeekTo(std::int64_t position);

  NativeFile file_;
  std::int64_t position_ = 0;  // of the next byte handed out
  std::string buffer_;
  std::size_t bufferStart_ = 0;  // next unread byte in buffer_
};

// The bytes of a container header and of an entry up to its data; the data follows as is.
std::string EncodeContainerHeader(std::int32_t count);
std::string EncodeEntryHeader(std::string_view sourceName, std::string_view destName,
                              std::int32_t dataSize);

}  // namespace morvo
