#include "MediaTestSupport.h"

#include <unistd.h>

#include <fstream>
#include <iterator>
#include <stdexcept>

ScratchDir::ScratchDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "morvo-media-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  path_ = pattern;
}

ScratchDir::~ScratchDir() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

void ScratchDir::Write(const std::string& name, const std::vector<unsigned char>& bytes) const {
  std::filesystem::create_directories(Path(name).parent_path());
  std::ofstream out(Path(name), std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

std::string ScratchDir::Read(const std::string& name) const {
  const auto bytes = ReadFileBytes(Path(name));
  return std::string(bytes.begin(), bytes.end());
}

std::vector<unsigned char> ReadFileBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), {});
}
