// A fresh folder per test, removed afterwards; paths end in '/' like ProgramDir.
#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

namespace morvo {

class TempDir {
 public:
  // A name nobody else holds: create_directory makes it only when nothing stands there yet.
  TempDir() {
    std::random_device random;
    const std::filesystem::path base = std::filesystem::temp_directory_path();
    for (int tries = 0; tries < 100 && path_.empty(); ++tries) {
      const std::filesystem::path folder = base / ("morvo-startup-" + std::to_string(random()));
      std::error_code error;
      if (std::filesystem::create_directory(folder, error)) path_ = folder.string() + "/";
    }
  }
  ~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::string& path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + name; }

 private:
  std::string path_;
};

inline std::string ReadFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

inline void WriteFileBytes(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

}  // namespace morvo
