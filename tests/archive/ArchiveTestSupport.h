// Helpers shared by the archive tests: scratch folders, archives built from a list of
// entries, raw file bytes, and a snapshot of what an archive holds.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace vka::test {

struct EntrySpec {
  std::string name;
  std::string content;  // compressed on the way in unless raw or a directory
  std::uint8_t flags = 0x01;
  bool raw = false;
};

using Bytes = std::vector<std::uint8_t>;

class ScratchFolder {
 public:
  ScratchFolder();
  ~ScratchFolder();
  std::string path(const std::string& name) const { return (root_ / name).string(); }
  const std::filesystem::path& root() const { return root_; }

 private:
  std::filesystem::path root_;
};

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
