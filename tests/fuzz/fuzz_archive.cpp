// Arbitrary bytes as an archive: opened, merged in both directions and repacked through the
// exports. Nothing may crash, hang, or change the valid archive when the input is refused.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "vka/vka.h"

namespace {

using Bytes = std::vector<char>;

struct Workspace {
  std::filesystem::path folder;
  std::string input, valid, temp;
  Bytes validBytes;

  Workspace() {
    // tmpfs when there is one: merges and repacks flush to disk, which costs nothing there.
    const std::filesystem::path base = std::filesystem::is_directory("/dev/shm")
                                           ? "/dev/shm"
                                           : std::filesystem::temp_directory_path();
    folder = base / ("vka-fuzz-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    input = (folder / "input.vka").string();
    valid = (folder / "valid.vka").string();
    temp = (folder / "temp.vka").string();
    validBytes = makeValidArchive();
  }
  ~Workspace() {
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
  }

  // A small real archive: the "data" directory and the file "x" holding "hello".
  static Bytes makeValidArchive() {
    static const unsigned char kHeader[] = {'M', 'a', 's', 't', 'e', 'r', ' ', 'o', 'f', ' ', 'M',
                                            'a', 'g', 'i', 'c', 0,   1,   2,   3,   4,   5,   6,
                                            7,   8,   9,   10,  11,  12,  13,  14,  // fill bytes
                                            5,   0,   0,   0,   // tableOffset: behind "hello"
                                            0,   0,   0,   0,   // spareWord
                                            9,   0,   0,   0,   // countField: two entries
                                            0,   2,   0,   0};  // version
    static const unsigned char kImage[] = {
        'd', 'a', 't', 'a', 0, 0x49, 4, 0, 0, 0x14, 7, 0, 0, 0x5C, 5, 0, 0, 2, 0x2E, 5, 0,
        0,   'x', 0,   5,   0, 0,    0, 5, 0, 0,    0, 5, 0, 0,    0, 1, 0, 0, 0,    0};
    Bytes bytes(std::begin(kHeader), std::end(kHeader));
    for (char c : std::string("hello")) bytes.push_back(c);
    const Bytes stream = storedZlibStream(Bytes(std::begin(kImage), std::end(kImage)));
    for (std::size_t value : {stream.size(), sizeof kImage}) {
      for (int shift : {0, 8, 16, 24}) bytes.push_back(char(value >> shift));
    }
    bytes.insert(bytes.end(), stream.begin(), stream.end());
    return bytes;
  }

  // A zlib stream of one stored (uncompressed) deflate block, for fewer than 64 KiB.
  static Bytes storedZlibStream(const Bytes& content) {
    const auto length = static_cast<std::uint16_t>(content.size());
    Bytes stream = {
        0x78, 0x01, 0x01, char(length), char(length >> 8), char(~length), char(~length >> 8)};
    stream.insert(stream.end(), content.begin(), content.end());
    std::uint32_t a = 1, b = 0;
    for (char byte : content) {
      a = (a + static_cast<unsigned char>(byte)) % 65521;
      b = (b + a) % 65521;
    }
    for (int shift : {24, 16, 8, 0}) stream.push_back(char((b << 16 | a) >> shift));
    return stream;
  }
};

void writeFile(const std::string& path, const void* data, std::size_t size) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) std::abort();
  if (size > 0) std::fwrite(data, 1, size, file);
  std::fclose(file);
}

Bytes readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), {});
}

void progress() {}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static Workspace workspace;
  writeFile(workspace.valid, workspace.validBytes.data(), workspace.validBytes.size());
  if (VKA_CheckVersion(workspace.valid.c_str()) != VKA_FORMAT_VERSION) std::abort();

  writeFile(workspace.input, data, size);
  const int32_t version = VKA_CheckVersion(workspace.input.c_str());
  const int32_t count = VKA_GetFileCount(workspace.input.c_str());
  // Both make the same checks: a refused input gives both the same code.
  if (version != VKA_FORMAT_VERSION && count != version) std::abort();

  const int32_t mergedFrom = VKA_Fusion(workspace.input.c_str(), workspace.valid.c_str(), progress);
  if (mergedFrom != VKA_OK && readFile(workspace.valid) != workspace.validBytes) std::abort();
  writeFile(workspace.valid, workspace.validBytes.data(), workspace.validBytes.size());

  const Bytes inputBytes = readFile(workspace.input);
  const int32_t mergedInto = VKA_Fusion(workspace.valid.c_str(), workspace.input.c_str(), progress);
  if (mergedInto != VKA_OK && readFile(workspace.input) != inputBytes) std::abort();
  if (mergedInto == VKA_OK && VKA_CheckVersion(workspace.input.c_str()) != VKA_FORMAT_VERSION) {
    std::abort();
  }

  const int32_t repacked = VKA_Repack(workspace.input.c_str(), workspace.temp.c_str(), progress);
  if (repacked == VKA_OK && VKA_CheckVersion(workspace.input.c_str()) != VKA_FORMAT_VERSION) {
    std::abort();
  }
  if (std::filesystem::exists(workspace.temp)) std::abort();
  return 0;
}
