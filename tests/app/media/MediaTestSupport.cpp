#include "MediaTestSupport.h"

#include <fstream>
#include <iterator>

void ProgramFolder::Write(const std::string& name, const std::vector<unsigned char>& bytes) const {
  std::filesystem::create_directories(Path(name).parent_path());
  std::ofstream out(Path(name), std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

std::string ProgramFolder::Read(const std::string& name) const {
  const auto bytes = ReadFileBytes(Path(name));
  return std::string(bytes.begin(), bytes.end());
}

std::vector<unsigned char> ReadFileBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), {});
}
