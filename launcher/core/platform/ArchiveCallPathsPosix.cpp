#include "platform/ArchiveCallPaths.h"

namespace morvo {

// File names are bytes here: the library opens the very same UTF-8 path.
ArchiveCallPaths::ArchiveCallPaths(const std::string& folder) : folder_(folder) {}

ArchiveCallPaths::~ArchiveCallPaths() = default;

std::string ArchiveCallPaths::Narrow(const std::string& path) const { return path; }

}  // namespace morvo
