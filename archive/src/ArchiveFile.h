// One archive file in use: its table in memory, its stream, and the append-then-commit
// writing that keeps the file a readable archive at every instant.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "AppendWriter.h"
#include "ArchiveEntry.h"
#include "FileHandle.h"
#include "TableCompression.h"

namespace vka {

// Supplies the next piece of an entry's content: sets `piece` and returns its length,
// 0 at the end, -1 on a read error.
using ContentSource = std::function<std::int64_t(const std::uint8_t*& piece)>;
// Receives the next piece of bytes; false stops the reading.
using ByteSink = std::function<bool(const std::uint8_t* piece, std::size_t length)>;
// What becomes of the source of a copy: kept, or deleted once the copy is committed (its
// cache is then released while the commit waits for the disk).
enum class SourceAfterCopy { Kept, Deleted };

class ArchiveFile {
 public:
  ArchiveFile() = default;
  ~ArchiveFile() { discard(); }
  ArchiveFile(const ArchiveFile&) = delete;
  ArchiveFile& operator=(const ArchiveFile&) = delete;

  // Modes as for fopen. "w" and "w+" create a new archive holding the "data" directory;
  // the others read an existing one and check all of it (header, table, every record,
  // every entry's data inside the file). 1, or 2..5.
  int open(const char* path, const char* mode);

  // Appends a record. With isRaw, `data` holds compressedSize stored bytes; otherwise it
  // holds uncompressedSize bytes of content, compressed here. A directory takes no data.
  // 1, 4 if compression fails or the name cannot be stored, 5 if the file cannot be written.
  int addEntry(ArchiveEntry entry, std::string_view name, const std::uint8_t* data, bool isRaw);
  // Appends copies of the records `chosen` from `source` (another ArchiveFile), in that order,
  // with their stored bytes unchanged, then commits as writeTable does; the table is compressed
  // on a second thread while the bytes move. `beforeEach` is called before each entry's bytes
  // are copied. Nothing chosen commits only what is already pending. 1, 4 or 5; nothing is
  // written when the result would pass 2 GiB.
  int copyEntriesAndCommit(const ArchiveFile& source,
                           const std::vector<const ArchiveEntry*>& chosen,
                           const std::function<void()>& beforeEach, SourceAfterCopy afterwards);
  // Appends a file entry whose content `next` supplies, compressing it as it comes.
  int addCompressed(std::string_view name, std::uint8_t flags, const ContentSource& next);

  // Appends the table behind the data, flushes both to disk and only then points the
  // header at the new table with one write, flushed too. 1, 4 or 5.
  int writeTable();
  // Commits a writable, modified archive, then closes the file. Gives writeTable's result.
  int close();
  // Closes without committing: the file stays the archive it was when last committed.
  void discard();

  // The first entry of that name, or null; names compare byte for byte.
  const ArchiveEntry* findEntry(std::string_view name) const;
  std::string_view name(const ArchiveEntry& entry) const {
    return namePool().substr(entry.nameAt, entry.nameLength);
  }
  // Passes an entry's stored bytes to `sink` in pieces of at most one copy buffer.
  bool readStored(const ArchiveEntry& entry, const ByteSink& sink) const;

  const EntryList& entries() const { return entries_; }
  std::uint32_t entryCount() const { return static_cast<std::uint32_t>(entries_.size()); }
  std::uint32_t version() const { return version_; }
  const std::string& path() const { return path_; }
  const FileHandle& file() const { return file_; }
  FileHandle& file() { return file_; }

 private:
  int create();
  int readExisting();
  int appendRecord(ArchiveEntry entry, std::string_view name);
  int failWrite();
  // Writes out the pending data (unless `moved` is false already), then the table that
  // `compression` made, and commits it.
  int commitTable(TableCompression& compression, bool moved);

  FileHandle file_;
  std::string path_;
  std::string_view namePool() const { return std::string_view(names_.data(), names_.size()); }

  EntryList entries_;
  NamePool names_;
  std::uint64_t tableSize_ = 0;
  AppendWriter writer_{file_};                // its end is where the next data, then the table, go
  std::uint64_t committedEnd_ = kHeaderSize;  // the file's length when it was last consistent
  std::uint32_t version_ = kFormatVersion;
  std::uint32_t spareWord_ = 0;
  bool writable_ = false;
  bool modified_ = false;
};

}  // namespace vka
