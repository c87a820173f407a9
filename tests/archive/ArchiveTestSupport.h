// Helpers shared by the archive tests: scratch folders, archives built from a list of
// entries, raw file bytes, and a snapshot of what an archive holds.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "NarrowPath.h"

namespace vka::test {

struct EntrySpec {
  std::string name;
  std::string content;  // compressed on the way in unless raw or a directory
  std::uint8_t flags = 0x01;
  bool raw = false;
};

using Bytes = std::vector<std::uint8_t>;

// A path given as UTF-8 text: through char8_t, std::filesystem reads it as UTF-8 everywhere.
inline std::filesystem::path utf8Path(const std::string& utf8) {
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

class ScratchFolder {
 public:
  ScratchFolder();
  ~ScratchFolder();
  // `name` is UTF-8, as every text of the tests; the result is the 8-bit path that the
  // exports and the C library's file calls take (ANSI code page on Windows).
  std::string path(const std::string& name) const { return NarrowOf(root_ / utf8Path(name)); }
  const std::filesystem::path& root() const { return root_; }

 private:
  std::filesystem::path root_;
};

// `count` entries whose table is far larger than any piece it is read in: names of every
// length from 1 to 255 bytes, stored files of 0 to 2 bytes, and every fifth a directory.
std::vector<EntrySpec> manyEntries(int count);
// Creates an archive ("w") holding "data" and then `entries`, in order.
void writeArchive(const std::string& path, const std::vector<EntrySpec>& entries);
Bytes readBytes(const std::string& path);
void writeBytes(const std::string& path, const Bytes& bytes);
std::uint32_t u32At(const Bytes& bytes, std::size_t at);
void putU32(Bytes& bytes, std::size_t at, std::uint32_t value);

// One line per entry: name, flags, sizes and the stored bytes; or "result N" when the
// archive does not open. Two archives with equal snapshots hold the same entries.
std::string snapshot(const std::string& path);
// The entry names in table order.
std::vector<std::string> entryNames(const std::string& path);

// A progress procedure for the exports that counts its calls in progressCalls.
extern int progressCalls;
void countProgress();

}  // namespace vka::test
