#include "NarrowPath.h"

namespace vka {

std::filesystem::path PathOfNarrow(const char* narrow) {
  return narrow == nullptr ? std::filesystem::path() : std::filesystem::path(narrow);
}

std::string NarrowOf(const std::filesystem::path& path) { return path.native(); }

}  // namespace vka
