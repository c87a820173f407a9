#include "ArchiveTestSupport.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>

#include "ArchiveFile.h"
#include "vka/vka.h"

namespace vka::test {

ScratchFolder::ScratchFolder() {
  // A fresh folder of a random name; create_directory answers false when it already exists.
  std::random_device seed;
  std::mt19937_64 random(seed());
  const std::filesystem::path temp = std::filesystem::temp_directory_path();
  do {
    root_ = temp / ("vka-test-" + std::to_string(random()));
  } while (!std::filesystem::create_directory(root_));
}

ScratchFolder::~ScratchFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(root_, ignored);
}

std::vector<EntrySpec> manyEntries(int count) {
  std::vector<EntrySpec> entries(count);
  for (int i = 0; i < count; ++i) {
    EntrySpec& entry = entries[i];
    const std::string number = std::to_string(i);
    entry.name = number + std::string(std::max<int>(0, i * 7 % 255 - int(number.size())), 'n');
    entry.raw = true;
    if (i % 5 == 4) {
      entry.flags = 0x02;
    } else {
      entry.content = std::string(i % 3, static_cast<char>('a' + i % 26));
    }
  }
  return entries;
}

void writeArchive(const std::string& path, const std::vector<EntrySpec>& entries) {
  ArchiveFile archive;
  ASSERT_EQ(archive.open(path.c_str(), "w"), VKA_OK);
  for (const EntrySpec& spec : entries) {
    ArchiveEntry entry;
    entry.flags = spec.flags;
    entry.compressedSize = entry.uncompressedSize = static_cast<std::uint32_t>(spec.content.size());
    const auto* data = reinterpret_cast<const std::uint8_t*>(spec.content.data());
    ASSERT_EQ(archive.addEntry(entry, spec.name, data, spec.raw), VKA_OK) << spec.name;
  }
  ASSERT_EQ(archive.close(), VKA_OK);
}

Bytes readBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), {});
}

void writeBytes(const std::string& path, const Bytes& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

std::uint32_t u32At(const Bytes& bytes, std::size_t at) { return readU32(bytes.data() + at); }

void putU32(Bytes& bytes, std::size_t at, std::uint32_t value) {
  writeU32(bytes.data() + at, value);
}

std::string snapshot(const std::string& path) {
  ArchiveFile archive;
  const int opened = archive.open(path.c_str(), "r");
  if (opened != VKA_OK) return "result " + std::to_string(opened);
  std::ostringstream out;
  for (const ArchiveEntry& entry : archive.entries()) {
    std::string stored;
    archive.readStored(entry, [&](const std::uint8_t* piece, std::size_t length) {
      stored.append(reinterpret_cast<const char*>(piece), length);
      return true;
    });
    out << archive.name(entry) << ' ' << int(entry.flags) << ' ' << entry.compressedSize << ' '
        << entry.alignedSize << ' ' << entry.uncompressedSize << ' '
        << std::hash<std::string>{}(stored) << '\n';
  }
  return out.str();
}

std::vector<std::string> entryNames(const std::string& path) {
  ArchiveFile archive;
  std::vector<std::string> names;
  if (archive.open(path.c_str(), "r") != VKA_OK) return names;
  for (const ArchiveEntry& entry : archive.entries()) names.emplace_back(archive.name(entry));
  return names;
}

int progressCalls = 0;
void countProgress() { ++progressCalls; }

}  // namespace vka::test
