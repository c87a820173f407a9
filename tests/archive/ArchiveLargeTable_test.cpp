// A table far larger than the pieces it is read and inflated in: every record comes back as
// written, whichever piece boundary it straddles.
#include <gtest/gtest.h>

#include "ArchiveFile.h"
#include "ArchiveTestSupport.h"
#include "vka/vka.h"

namespace vka::test {
namespace {

TEST(ArchiveLargeTable, EveryRecordReadsBackAsWritten) {
  ScratchFolder folder;
  const std::string path = folder.path("large.vka");
  const std::vector<EntrySpec> specs = manyEntries(60000);
  writeArchive(path, specs);
  ArchiveFile archive;
  ASSERT_EQ(archive.open(path.c_str(), "r"), VKA_OK);
  ASSERT_EQ(archive.entryCount(), specs.size() + 1);
  std::uint64_t nextData = kHeaderSize;
  for (std::size_t i = 0; i < specs.size(); ++i) {
    const ArchiveEntry& entry = archive.entries()[i + 1];
    ASSERT_EQ(archive.name(entry), specs[i].name) << i;
    ASSERT_EQ(entry.flags, specs[i].flags) << i;
    ASSERT_EQ(entry.compressedSize, specs[i].content.size()) << i;
    if (entry.hasData()) {
      ASSERT_EQ(entry.absoluteOffset(), nextData) << i;
      nextData += entry.compressedSize;
    }
  }
  std::string stored;
  ASSERT_TRUE(archive.readStored(archive.entries().back(),
                                 [&](const std::uint8_t* piece, std::size_t length) {
                                   stored.append(reinterpret_cast<const char*>(piece), length);
                                   return true;
                                 }));
  EXPECT_EQ(stored, specs.back().content);
}

TEST(ArchiveLargeTable, ARepackOfALargeTableKeepsItByteForByte) {
  // Two repacks restore the order; the table, compressed beside the copying, is the same.
  ScratchFolder folder;
  const std::string path = folder.path("large.vka");
  writeArchive(path, manyEntries(30000));
  const Bytes before = readBytes(path);
  ASSERT_EQ(VKA_Repack(path.c_str(), folder.path("t").c_str(), nullptr), VKA_OK);
  ASSERT_EQ(VKA_Repack(path.c_str(), folder.path("t").c_str(), nullptr), VKA_OK);
  EXPECT_TRUE(readBytes(path) == before);
}

}  // namespace
}  // namespace vka::test
