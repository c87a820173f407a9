// The on-disk format as ArchiveFile writes and reads it.
#include "ArchiveFile.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <cstring>

#include "ArchiveTestSupport.h"
#include "vka/vka.h"

namespace vka::test {
namespace {

std::string inflateAll(const std::uint8_t* packed, std::size_t size, std::size_t expected) {
  std::string out(expected, '\0');
  uLongf length = expected;
  EXPECT_EQ(uncompress(reinterpret_cast<Bytef*>(out.data()), &length, packed, size), Z_OK);
  out.resize(length);
  return out;
}

std::string record(const std::string& name, std::uint32_t packed, std::uint32_t aligned,
                   std::uint32_t plain, std::uint8_t flags, std::uint32_t storedOffset) {
  Bytes fields(17);
  putU32(fields, 0, packed);
  putU32(fields, 4, aligned);
  putU32(fields, 8, plain);
  fields[12] = flags;
  putU32(fields, 13, storedOffset);
  return name + '\0' + std::string(fields.begin(), fields.end());
}

TEST(ArchiveFile, NewArchiveClosedAtOnceHoldsHeaderAndDataDirectory) {
  ScratchFolder folder;
  writeArchive(folder.path("new.vka"), {});
  const Bytes bytes = readBytes(folder.path("new.vka"));
  ASSERT_GT(bytes.size(), 54u);
  EXPECT_EQ(std::memcmp(bytes.data(), "Master of Magic\0", 16), 0);
  for (int i = 0; i < 14; ++i) EXPECT_EQ(bytes[16 + i], i + 1);
  EXPECT_EQ(u32At(bytes, 30), 0u);      // tableOffset
  EXPECT_EQ(u32At(bytes, 34), 0u);      // spareWord
  EXPECT_EQ(u32At(bytes, 38), 8u);      // countField: one entry
  EXPECT_EQ(u32At(bytes, 42), 0x200u);  // version
  const std::uint32_t packed = u32At(bytes, 46);
  EXPECT_EQ(u32At(bytes, 50), 22u);
  ASSERT_EQ(bytes.size(), 54u + packed);
  EXPECT_EQ(inflateAll(bytes.data() + 54, packed, 22), record("data", 1097, 1812, 1372, 2, 1326));
}

TEST(ArchiveFile, CompressedEntryIsOneZlibStreamAtDefaultLevel) {
  ScratchFolder folder;
  const std::string content(70000, 'a');
  writeArchive(folder.path("a.vka"), {{"dir\\file.txt", content + "tail"}});
  ArchiveFile archive;
  ASSERT_EQ(archive.open(folder.path("a.vka").c_str(), "r"), VKA_OK);
  const ArchiveEntry& entry = archive.entries().at(1);
  Bytes expected(compressBound(content.size() + 4));
  uLongf length = expected.size();
  const std::string plain = content + "tail";
  ASSERT_EQ(compress(expected.data(), &length, reinterpret_cast<const Bytef*>(plain.data()),
                     plain.size()),
            Z_OK);
  expected.resize(length);
  EXPECT_EQ(entry.uncompressedSize, plain.size());
  EXPECT_EQ(entry.compressedSize, length);
  EXPECT_EQ(entry.alignedSize, length);
  EXPECT_EQ(entry.flags, kFileFlag);
  EXPECT_EQ(entry.offset, 0u);  // the first data start right behind the header
  const Bytes bytes = readBytes(folder.path("a.vka"));
  EXPECT_TRUE(std::equal(expected.begin(), expected.end(), bytes.begin() + 46));
}

TEST(ArchiveFile, ContentFedInPiecesGivesTheSameStreamAsOneCompressCall) {
  ScratchFolder folder;
  std::string content;
  for (long i = 0; content.size() < (3u << 20); ++i)
    content.append(std::to_string(i * 7919 % 10007)).append(",");
  ArchiveFile archive;
  ASSERT_EQ(archive.open(folder.path("a.vka").c_str(), "w"), VKA_OK);
  std::size_t at = 0;
  ASSERT_EQ(archive.addCompressed("pieces", kFileFlag,
                                  [&](const std::uint8_t*& piece) -> std::int64_t {
                                    const std::size_t length = std::min<std::size_t>(
                                        content.size() - at, 1000 + at % 77777);
                                    piece =
                                        reinterpret_cast<const std::uint8_t*>(content.data()) + at;
                                    at += length;
                                    return static_cast<std::int64_t>(length);
                                  }),
            VKA_OK);
  ASSERT_EQ(archive.close(), VKA_OK);
  Bytes expected(compressBound(content.size()));
  uLongf length = expected.size();
  ASSERT_EQ(compress(expected.data(), &length, reinterpret_cast<const Bytef*>(content.data()),
                     content.size()),
            Z_OK);
  expected.resize(length);
  const Bytes bytes = readBytes(folder.path("a.vka"));
  ASSERT_GE(bytes.size(), 46 + expected.size());
  EXPECT_TRUE(std::equal(expected.begin(), expected.end(), bytes.begin() + 46));
  EXPECT_EQ(archive.entries().back().uncompressedSize, content.size());
  EXPECT_EQ(archive.entries().back().compressedSize, length);
}

TEST(ArchiveFile, RecordsReadBackAsWritten) {
  ScratchFolder folder;
  const std::string longName(255, 'n');
  writeArchive(folder.path("a.vka"), {{longName, "x", 0x01, true},
                                      {"same", "first", 0x01, true},
                                      {"folder", "", 0x02 | 0x40},
                                      {"same", "second", 0x01 | 0x80, true},
                                      {"", "empty name", 0x01, true}});
  EXPECT_EQ(entryNames(folder.path("a.vka")),
            (std::vector<std::string>{"data", longName, "same", "folder", "same", ""}));
  ArchiveFile archive;
  ASSERT_EQ(archive.open(folder.path("a.vka").c_str(), "r"), VKA_OK);
  const auto& entries = archive.entries();
  EXPECT_EQ(entries[3].flags, 0x42);
  EXPECT_EQ(entries[4].flags, 0x81);
  EXPECT_EQ(archive.findEntry("same"), &entries[2]);
  EXPECT_EQ(archive.findEntry("Same"), nullptr);
  EXPECT_EQ(entries[4].offset, 1u + 5u);  // raw data back to back, directories take none
}

TEST(ArchiveFile, NameThatCannotBeStoredIsRefused) {
  ScratchFolder folder;
  ArchiveFile archive;
  ASSERT_EQ(archive.open(folder.path("a.vka").c_str(), "w"), VKA_OK);
  ArchiveEntry entry;
  entry.flags = kDirectoryFlag;
  EXPECT_EQ(archive.addEntry(entry, std::string(256, 'n'), nullptr, true), VKA_ERR_ZLIB);
  EXPECT_EQ(archive.addEntry(entry, std::string("a\0b", 3), nullptr, true), VKA_ERR_ZLIB);
  EXPECT_EQ(archive.entryCount(), 1u);
}

TEST(ArchiveFile, EmptyTableWithCountSevenOpensWithNoEntries) {
  ScratchFolder folder;
  writeArchive(folder.path("a.vka"), {});
  Bytes bytes = readBytes(folder.path("a.vka"));
  Bytes packed(16);
  uLongf length = packed.size();
  ASSERT_EQ(compress(packed.data(), &length, reinterpret_cast<const Bytef*>(""), 0), Z_OK);
  bytes.resize(54);
  putU32(bytes, 38, 7);
  putU32(bytes, 46, static_cast<std::uint32_t>(length));
  putU32(bytes, 50, 0);
  bytes.insert(bytes.end(), packed.begin(), packed.begin() + length);
  writeBytes(folder.path("a.vka"), bytes);
  ArchiveFile archive;
  ASSERT_EQ(archive.open(folder.path("a.vka").c_str(), "r"), VKA_OK);
  EXPECT_EQ(archive.entryCount(), 0u);
}

TEST(ArchiveFile, AddingToAnExistingArchiveAppendsAndKeepsTheOldTable) {
  ScratchFolder folder;
  const std::string path = folder.path("a.vka");
  writeArchive(path, {{"x", "first bytes", 0x01, true}});
  const Bytes before = readBytes(path);
  ArchiveFile archive;
  ASSERT_EQ(archive.open(path.c_str(), "r+"), VKA_OK);
  ArchiveEntry entry;
  entry.flags = kFileFlag;
  entry.compressedSize = 5;
  ASSERT_EQ(archive.addEntry(entry, "y", reinterpret_cast<const std::uint8_t*>("abcde"), true),
            VKA_OK);
  EXPECT_EQ(archive.entries().back().offset, before.size() - 46);
  ASSERT_EQ(archive.close(), VKA_OK);
  const Bytes after = readBytes(path);
  // Everything the old header pointed at is still there, byte for byte.
  ASSERT_GT(after.size(), before.size());
  EXPECT_TRUE(std::equal(before.begin() + 46, before.end(), after.begin() + 46));
  EXPECT_EQ(u32At(after, 30), before.size() + 5 - 46);
  EXPECT_EQ(u32At(after, 38), 7u + 3u);
  EXPECT_EQ(std::string(after.begin() + before.size(), after.begin() + before.size() + 5), "abcde");
  EXPECT_EQ(entryNames(path), (std::vector<std::string>{"data", "x", "y"}));
}

TEST(ArchiveFile, MissingFileByMode) {
  ScratchFolder folder;
  const std::string path = folder.path("missing.vka");
  for (const char* mode : {"r", "r+"}) {
    ArchiveFile archive;
    EXPECT_EQ(archive.open(path.c_str(), mode), VKA_ERR_OPEN) << mode;
  }
  ArchiveFile archive;
  EXPECT_EQ(archive.open(path.c_str(), "a+"), VKA_ERR_NOT_ARCHIVE);
  EXPECT_TRUE(std::filesystem::exists(path));
  ArchiveFile unknownMode;
  EXPECT_EQ(unknownMode.open(path.c_str(), "rw"), VKA_ERR_OPEN);
}

}  // namespace
}  // namespace vka::test
