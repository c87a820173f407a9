// Paths as the exports take them, 8-bit strings in the platform's own encoding (the bytes
// themselves on POSIX systems, the ANSI code page on Windows), to and from std::filesystem
// paths. NarrowPathPosix.cpp and NarrowPathWin32.cpp; the build picks one.
#pragma once

#include <filesystem>
#include <string>

namespace vka {

// Empty when `narrow` is null, empty or holds bytes the encoding does not define.
std::filesystem::path PathOfNarrow(const char* narrow);
inline std::filesystem::path PathOfNarrow(const std::string& narrow) {
  return PathOfNarrow(narrow.c_str());
}
// Empty when the path holds characters the encoding cannot represent.
std::string NarrowOf(const std::filesystem::path& path);

}  // namespace vka
