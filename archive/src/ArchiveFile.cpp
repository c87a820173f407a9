#include "ArchiveFile.h"

#include <cstring>
#include <optional>

#include "CacheRelease.h"
#include "FileTable.h"
#include "vka/vka.h"

namespace vka {

namespace {

bool modeIs(const char* mode, const char* expected) { return std::strcmp(mode, expected) == 0; }

}  // namespace

int ArchiveFile::open(const char* path, const char* mode) {
  if (path == nullptr || mode == nullptr || !file_.open(path, mode)) return VKA_ERR_OPEN;
  path_ = path;
  writable_ = modeIs(mode, "w") || modeIs(mode, "r+") || modeIs(mode, "a+");
  const int result = modeIs(mode, "w") || modeIs(mode, "w+") ? create() : readExisting();
  if (result != VKA_OK) file_.close();
  return result;
}

int ArchiveFile::create() {
  std::uint8_t header[kHeaderSize] = {};
  std::memcpy(header, kMagic, sizeof kMagic);
  for (std::size_t i = 0; i < kFillBytesCount; ++i) {
    header[kFillBytesAt + i] = static_cast<std::uint8_t>(i + 1);
  }
  writeU32(header + kCountFieldAt, kCountBias);
  writeU32(header + kVersionAt, kFormatVersion);
  if (!file_.writeAt(0, header, sizeof header)) return VKA_ERR_OPEN;
  ArchiveEntry data;
  data.flags = kDirectoryFlag;
  data.compressedSize = kDataDirectoryCompressedSize;
  data.alignedSize = kDataDirectoryAlignedSize;
  data.uncompressedSize = kDataDirectoryUncompressedSize;
  data.offset = kDataDirectoryOffset;
  return addEntry(data, kDataDirectoryName, nullptr, true);
}

int ArchiveFile::readExisting() {
  const std::int64_t fileSize = file_.size();
  std::uint8_t header[kHeaderSize];
  if (fileSize < std::int64_t(kHeaderSize) || !file_.readAt(0, header, sizeof header) ||
      std::memcmp(header, kMagic, sizeof kMagic) != 0) {
    return VKA_ERR_NOT_ARCHIVE;
  }
  const auto size = static_cast<std::uint64_t>(fileSize);
  const std::uint64_t tableAt = std::uint64_t(readU32(header + kTableOffsetAt)) + kHeaderSize;
  if (tableAt + kTablePrefixSize > size) return VKA_ERR_NOT_ARCHIVE;
  version_ = readU32(header + kVersionAt);
  if (version_ != kFormatVersion) return VKA_ERR_VERSION;
  const std::uint32_t countField = readU32(header + kCountFieldAt);
  if (countField < kCountBias) return VKA_ERR_NOT_ARCHIVE;
  spareWord_ = readU32(header + kSpareWordAt);

  std::uint8_t prefix[kTablePrefixSize];
  if (!file_.readAt(tableAt, prefix, sizeof prefix)) return VKA_ERR_NOT_ARCHIVE;
  const std::uint32_t packedSize = readU32(prefix);
  const std::uint32_t declaredSize = readU32(prefix + 4);
  if (packedSize > size - tableAt - kTablePrefixSize) return VKA_ERR_NOT_ARCHIVE;
  // Sizes no real table can have: refused before anything is allocated for them.
  if (declaredSize > kMaxTableSize || declaredSize > std::uint64_t(packedSize) * kMaxInflateRatio) {
    return VKA_ERR_ZLIB;
  }
  StoredTable table;
  table.position = tableAt + kTablePrefixSize;
  table.packedSize = packedSize;
  table.declaredSize = declaredSize;
  table.count = countField - kCountBias;
  const int read = readTable(file_, table, size, names_, entries_);
  if (read != VKA_OK) {
    entries_.clear();
    names_.clear();
    return read;
  }
  // Records lie back to back from the image's start: the table ends behind the last one.
  if (!entries_.empty()) {
    tableSize_ = entries_.back().nameAt + entries_.back().nameLength + kRecordFixedSize;
  }
  // New data go behind everything the file holds, so the table the header points at is
  // never overwritten before a new one is committed.
  writer_.moveTo(size);
  committedEnd_ = size;
  return VKA_OK;
}

int ArchiveFile::appendRecord(ArchiveEntry entry, std::string_view name) {
  if (name.size() > kMaxNameLength || name.find('\0') != std::string_view::npos ||
      names_.size() + name.size() + 1 > kMaxTableSize) {
    return VKA_ERR_ZLIB;
  }
  entry.nameAt = static_cast<std::uint32_t>(names_.size());
  entry.nameLength = static_cast<std::uint8_t>(name.size());
  names_.insert(names_.end(), name.begin(), name.end());
  names_.push_back('\0');
  entries_.push_back(entry);
  tableSize_ += name.size() + kRecordFixedSize;
  modified_ = true;
  return VKA_OK;
}

int ArchiveFile::failWrite() {
  // The entries appended since the last commit are dropped with their bytes.
  return VKA_ERR_OPEN;
}

int ArchiveFile::addEntry(ArchiveEntry entry, std::string_view name, const std::uint8_t* data,
                          bool isRaw) {
  if (!entry.hasData()) return appendRecord(entry, name);
  if (!isRaw) {
    bool given = false;
    const std::uint32_t length = entry.uncompressedSize;
    return addCompressed(name, entry.flags, [&](const std::uint8_t*& piece) -> std::int64_t {
      if (given) return 0;
      given = true;
      piece = data;
      return length;
    });
  }
  entry.offset = static_cast<std::uint32_t>(writer_.end() - kHeaderSize);
  entry.alignedSize = entry.compressedSize;
  if (!writer_.append(data, entry.compressedSize)) return failWrite();
  return appendRecord(entry, name);
}

int ArchiveFile::copyEntriesAndCommit(const ArchiveFile& source,
                                      const std::vector<const ArchiveEntry*>& chosen,
                                      const std::function<void()>& beforeEach,
                                      SourceAfterCopy afterwards) {
  // A merge of nothing leaves the archive as it was, byte for byte.
  if (chosen.empty()) return modified_ ? writeTable() : VKA_OK;
  // Every record first, at the offset its bytes will take, so that the table is compressed
  // while the bytes move.
  std::uint64_t end = writer_.end();
  for (const ArchiveEntry* entry : chosen) {
    ArchiveEntry copy = *entry;
    if (copy.hasData()) {
      if (end + copy.compressedSize > kMaxArchiveSize) return failWrite();
      copy.offset = static_cast<std::uint32_t>(end - kHeaderSize);
      copy.alignedSize = copy.compressedSize;
      end += copy.compressedSize;
    }
    const int appended = appendRecord(copy, source.name(*entry));
    if (appended != VKA_OK) return appended;
  }
  TableCompression compression(entries_, namePool());
  bool moved = true;
  for (const ArchiveEntry* entry : chosen) {
    beforeEach();
    if (entry->hasData() &&
        !writer_.copyFrom(source.file_, entry->absoluteOffset(), entry->compressedSize)) {
      moved = false;
      break;
    }
  }
  moved = moved && writer_.flush();
  // Every byte of the source is read: its cache goes while the commit waits for the disk.
  std::optional<CacheRelease> release;
  if (moved && afterwards == SourceAfterCopy::Deleted) release.emplace(source.file_);
  return commitTable(compression, moved);
}

int ArchiveFile::writeTable() {
  TableCompression compression(entries_, namePool());
  return commitTable(compression, true);
}

int ArchiveFile::commitTable(TableCompression& compression, bool moved) {
  moved = moved && writer_.flush();
  NamePool packed;
  const bool made = compression.take(packed);
  if (!moved) return failWrite();
  if (!made) return VKA_ERR_ZLIB;
  const std::uint64_t tableAt = writer_.end();
  std::uint8_t prefix[kTablePrefixSize];
  writeU32(prefix, static_cast<std::uint32_t>(packed.size()));
  writeU32(prefix + 4, static_cast<std::uint32_t>(tableSize_));
  const std::uint64_t tableEnd = tableAt + sizeof prefix + packed.size();
  if (tableEnd > kMaxArchiveSize || !file_.writeAt(tableAt, prefix, sizeof prefix) ||
      !file_.writeAt(tableAt + sizeof prefix, packed.data(), packed.size()) || !file_.sync()) {
    return failWrite();
  }
  // The commit: both header fields in one write, with the unchanged spare word between them.
  std::uint8_t fields[kCountFieldAt + 4 - kTableOffsetAt];
  writeU32(fields, static_cast<std::uint32_t>(tableAt - kHeaderSize));
  writeU32(fields + (kSpareWordAt - kTableOffsetAt), spareWord_);
  writeU32(fields + (kCountFieldAt - kTableOffsetAt), entryCount() + kCountBias);
  if (!file_.writeAt(kTableOffsetAt, fields, sizeof fields) || !file_.sync()) return failWrite();
  writer_.moveTo(tableEnd);
  committedEnd_ = tableEnd;
  modified_ = false;
  return VKA_OK;
}

int ArchiveFile::close() {
  int result = VKA_OK;
  if (file_.isOpen() && writable_ && modified_) result = writeTable();
  if (result != VKA_OK) {
    discard();
  } else {
    file_.close();
  }
  return result;
}

void ArchiveFile::discard() {
  // What was appended after the last commit is dead space: give it back.
  if (file_.isOpen() && writer_.end() > committedEnd_ && committedEnd_ > kHeaderSize) {
    file_.truncate(committedEnd_);
  }
  file_.close();
  modified_ = false;
}

const ArchiveEntry* ArchiveFile::findEntry(std::string_view wanted) const {
  for (const ArchiveEntry& entry : entries_) {
    if (name(entry) == wanted) return &entry;
  }
  return nullptr;
}

bool ArchiveFile::readStored(const ArchiveEntry& entry, const ByteSink& sink) const {
  if (!entry.hasData()) return true;
  std::vector<std::uint8_t> buffer(std::min<std::size_t>(kCopyBufferSize, entry.compressedSize));
  for (std::uint32_t done = 0; done < entry.compressedSize;) {
    const std::size_t piece = std::min<std::size_t>(buffer.size(), entry.compressedSize - done);
    if (!file_.readAt(entry.absoluteOffset() + done, buffer.data(), piece) ||
        !sink(buffer.data(), piece)) {
      return false;
    }
    done += static_cast<std::uint32_t>(piece);
  }
  return true;
}

}  // namespace vka
