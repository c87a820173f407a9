#include "platform/FileSystemFlush.h"

namespace morvo {

// Flushing a whole volume needs an administrator's rights: every file is flushed by itself.
FileSystemFlush::FileSystemFlush(const std::string&) {}

FileSystemFlush::~FileSystemFlush() = default;

bool FileSystemFlush::Covers(const std::string&) const { return false; }

bool FileSystemFlush::Flush() const { return false; }

}  // namespace morvo
