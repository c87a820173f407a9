// A fresh folder per test, removed afterwards; paths end in '/' like ProgramDir.
#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "platform/FileSystem.h"

namespace morvo {

// Creates a new folder whose name begins with prefix under base (a UTF-8 path), or under the
// system's temporary folder when base is empty; returns its UTF-8 path ending in '/', or empty
// when none could be made.
inline std::string MakeUniqueTempFolder(const std::string& prefix, const std::string& under = {}) {
  std::error_code error;
  const std::filesystem::path base =
      under.empty() ? std::filesystem::temp_directory_path(error) : FsPath(under);
  if (error) return {};
  std::random_device seed;
  std::mt19937_64 random(seed());
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::filesystem::path folder =
        base / FsPath(prefix + std::to_string(random() % 1000000007));
    if (std::filesystem::create_directory(folder, error)) return Utf8Path(folder) + "/";
  }
  return {};
}

class TempDir {
 public:
  TempDir() : path_(MakeUniqueTempFolder("morvo-startup-")) {}
  ~TempDir() {
    std::error_code ignored;
    if (!path_.empty()) std::filesystem::remove_all(FsPath(path_), ignored);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::string& path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + name; }

 private:
  std::string path_;
};

inline std::string ReadFileBytes(const std::string& path) {
  std::ifstream in(FsPath(path), std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

inline void WriteFileBytes(const std::string& path, const std::string& bytes) {
  std::ofstream(FsPath(path), std::ios::binary | std::ios::trunc) << bytes;
}

}  // namespace morvo
