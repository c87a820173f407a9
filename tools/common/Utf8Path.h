// Paths and UTF-8 text: through char8_t, std::filesystem reads and writes UTF-8 on every
// platform, where a plain std::string path is read in whatever encoding the C++ library
// picks (the ANSI code page on Windows).
#pragma once

#include <filesystem>
#include <string>

inline std::filesystem::path PathOfUtf8(const std::string& utf8) {
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

inline std::string Utf8OfPath(const std::filesystem::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}
