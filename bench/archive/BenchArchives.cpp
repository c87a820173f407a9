#include "BenchArchives.h"

#include <unistd.h>
#include <zlib.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <vector>

#include "ArchiveFile.h"
#include "vka/vka.h"

namespace vka::bench {

double secondsOf(const std::function<void()>& work) {
  const auto started = std::chrono::steady_clock::now();
  work();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
}

double bestOf(int runs, const std::function<void()>& prepare, const std::function<void()>& work) {
  double best = 1e300;
  for (int i = 0; i < runs; ++i) {
    prepare();
    best = std::min(best, secondsOf(work));
  }
  return best;
}

void makeArchive(const std::string& path, std::uint64_t entries, std::uint64_t totalBytes,
                 std::uint64_t duplicateEvery) {
  ArchiveFile archive;
  if (archive.open(path.c_str(), "w") != VKA_OK) throw std::runtime_error("cannot create " + path);
  // Incompressible-looking bytes: the stored bytes are copied, never looked at.
  const std::uint64_t each = totalBytes / entries;
  std::vector<std::uint8_t> data(each + 1);
  std::uint64_t state = 0x9E3779B97F4A7C15ull;
  for (auto& byte : data) {
    state ^= state << 13, state ^= state >> 7, state ^= state << 17;
    byte = static_cast<std::uint8_t>(state);
  }
  char name[64];
  for (std::uint64_t i = 0; i < entries; ++i) {
    const std::uint64_t id = duplicateEvery != 0 && i % duplicateEvery == 0 ? i / 2 : i;
    std::snprintf(name, sizeof name, "data\\models\\object%07llu.mdl",
                  static_cast<unsigned long long>(id));
    ArchiveEntry entry;
    entry.flags = kFileFlag;
    entry.compressedSize = entry.uncompressedSize = static_cast<std::uint32_t>(each);
    data[i % data.size()] ^= 0x5A;
    if (archive.addEntry(entry, name, data.data(), true) != VKA_OK) {
      throw std::runtime_error("cannot write " + path);
    }
  }
  if (archive.close() != VKA_OK) throw std::runtime_error("cannot finish " + path);
}

double copyAndSyncSeconds(const std::string& from, const std::string& to) {
  const std::string command = "cp '" + from + "' '" + to + "' && sync '" + to + "'";
  double seconds = 0;
  seconds = secondsOf([&] {
    if (std::system(command.c_str()) != 0) throw std::runtime_error("cp failed");
  });
  return seconds;
}

double tableUncompressSeconds(const std::string& archivePath) {
  std::ifstream in(archivePath, std::ios::binary);
  unsigned char header[46];
  in.read(reinterpret_cast<char*>(header), sizeof header);
  const std::uint32_t tableAt = readU32(header + kTableOffsetAt) + kHeaderSize;
  unsigned char prefix[8];
  in.seekg(tableAt);
  in.read(reinterpret_cast<char*>(prefix), sizeof prefix);
  std::vector<Bytef> packed(readU32(prefix));
  std::vector<Bytef> image(readU32(prefix + 4));
  in.read(reinterpret_cast<char*>(packed.data()), static_cast<std::streamsize>(packed.size()));
  return bestOf(
      3, [] {},
      [&] {
        uLongf length = image.size();
        if (uncompress(image.data(), &length, packed.data(), packed.size()) != Z_OK) {
          throw std::runtime_error("table does not decompress");
        }
      });
}

void warm(const std::string& path) {
  // Nothing left to write back from building the inputs may slow the timed work down.
  ::sync();
  std::ifstream in(path, std::ios::binary);
  std::vector<char> buffer(1 << 20);
  while (in.read(buffer.data(), static_cast<std::streamsize>(buffer.size()))) {
  }
}

long ownPeakKib() {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);) {
    if (line.rfind("VmHWM:", 0) == 0) return std::atol(line.c_str() + 6);
  }
  return -1;
}

long peakKibOfChild(const std::string& self, const std::string& args) {
  const std::string command = "'" + self + "' " + args;
  std::FILE* pipe = ::popen(command.c_str(), "r");
  long kib = -1;
  if (pipe == nullptr || std::fscanf(pipe, "%ld", &kib) != 1) kib = -1;
  if (pipe != nullptr) ::pclose(pipe);
  return kib;
}

}  // namespace vka::bench
