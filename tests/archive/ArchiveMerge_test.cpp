// VKA_Fusion, VKA_CheckVersion and VKA_GetFileCount as the patch client uses them.
#include <gtest/gtest.h>

#include "ArchiveFile.h"
#include "ArchiveTestSupport.h"
#include "vka/vka.h"

namespace vka::test {
namespace {

TEST(ArchiveMerge, AppendsEverySourceEntryAfterTheDestinationEntries) {
  ScratchFolder folder;
  const std::string source = folder.path("patch.vka");
  const std::string destination = folder.path("game.vka");
  writeArchive(source, {{"X", "new x"}, {"Y", "new y"}, {"dir", "", 0x02 | 0x10}});
  writeArchive(destination, {{"Y", "old y"}});
  const Bytes sourceBefore = readBytes(source);
  const std::string destinationBefore = snapshot(destination);
  progressCalls = 0;
  ASSERT_EQ(VKA_Fusion(source.c_str(), destination.c_str(), countProgress), VKA_OK);
  EXPECT_EQ(progressCalls, 4);  // once per source entry, "data" included
  EXPECT_EQ(entryNames(destination),
            (std::vector<std::string>{"data", "Y", "data", "X", "Y", "dir"}));
  EXPECT_EQ(VKA_GetFileCount(destination.c_str()), 6);
  EXPECT_EQ(readBytes(source), sourceBefore);
  // The destination's own entries and the copied ones carry the same records and bytes.
  const std::string merged = snapshot(destination);
  EXPECT_EQ(merged.substr(0, destinationBefore.size()), destinationBefore);
  const std::string sourceEntries = snapshot(source);
  EXPECT_EQ(merged.substr(destinationBefore.size()), sourceEntries);
}

TEST(ArchiveMerge, CopiedEntriesGetNewOffsetsAndAlignedSizes) {
  ScratchFolder folder;
  const std::string source = folder.path("patch.vka");
  const std::string destination = folder.path("game.vka");
  writeArchive(source, {{"X", "stored", 0x01, true}, {"odd", "kept bytes", 0x40, true}});
  writeArchive(destination, {});
  const auto destinationSize = std::filesystem::file_size(destination);
  ASSERT_EQ(VKA_Fusion(source.c_str(), destination.c_str(), nullptr), VKA_OK);
  ArchiveFile merged;
  ASSERT_EQ(merged.open(destination.c_str(), "r"), VKA_OK);
  const auto& entries = merged.entries();
  ASSERT_EQ(entries.size(), 4u);
  // The new data start behind the old table, which stays in place.
  EXPECT_EQ(entries[2].absoluteOffset(), destinationSize);
  EXPECT_EQ(entries[3].absoluteOffset(), destinationSize + 6);
  // An entry with neither kind bit is copied with its bytes, as a file.
  EXPECT_EQ(entries[3].flags, 0x40);
  std::string stored;
  merged.readStored(entries[3], [&](const std::uint8_t* piece, std::size_t length) {
    stored.append(reinterpret_cast<const char*>(piece), length);
    return true;
  });
  EXPECT_EQ(stored, "kept bytes");
}

TEST(ArchiveMerge, SourceWithoutEntriesLeavesTheDestinationUnchanged) {
  ScratchFolder folder;
  const std::string source = folder.path("patch.vka");
  const std::string destination = folder.path("game.vka");
  writeArchive(source, {});
  Bytes bytes = readBytes(source);
  putU32(bytes, 38, 7);  // no entry counted
  writeBytes(source, bytes);
  ASSERT_EQ(VKA_GetFileCount(source.c_str()), 0);
  writeArchive(destination, {{"Y", "y"}});
  const Bytes destinationBefore = readBytes(destination);
  progressCalls = 0;
  EXPECT_EQ(VKA_Fusion(source.c_str(), destination.c_str(), countProgress), VKA_OK);
  EXPECT_EQ(progressCalls, 0);
  EXPECT_EQ(readBytes(destination), destinationBefore);
}

TEST(ArchiveMerge, NewArchiveWithoutItsTableIsNoArchive) {
  ScratchFolder folder;
  ArchiveFile unfinished;
  ASSERT_EQ(unfinished.open(folder.path("new.vka").c_str(), "w+"), VKA_OK);
  unfinished.close();  // "w+" leaves the table to its caller
  EXPECT_EQ(VKA_CheckVersion(folder.path("new.vka").c_str()), VKA_ERR_NOT_ARCHIVE);
}

TEST(ArchiveMerge, DestinationThatIsNoArchiveGivesFiveAndStaysAsItWas) {
  ScratchFolder folder;
  const std::string source = folder.path("patch.vka");
  writeArchive(source, {{"X", "x"}});
  const std::string missing = folder.path("missing.vka");
  EXPECT_EQ(VKA_Fusion(source.c_str(), missing.c_str(), nullptr), VKA_ERR_OPEN);
  EXPECT_FALSE(std::filesystem::exists(missing));
  writeBytes(folder.path("text.vka"), Bytes{'h', 'e', 'l', 'l', 'o'});
  EXPECT_EQ(VKA_Fusion(source.c_str(), folder.path("text.vka").c_str(), nullptr), VKA_ERR_OPEN);
  EXPECT_EQ(readBytes(folder.path("text.vka")), (Bytes{'h', 'e', 'l', 'l', 'o'}));
  EXPECT_EQ(VKA_Fusion(missing.c_str(), source.c_str(), nullptr), VKA_ERR_OPEN);
  EXPECT_EQ(VKA_Fusion(nullptr, source.c_str(), nullptr), VKA_ERR_OPEN);
  EXPECT_EQ(VKA_Fusion(source.c_str(), nullptr, nullptr), VKA_ERR_OPEN);
}

TEST(ArchiveMerge, ArchiveMergedIntoItselfDoublesItsEntries) {
  ScratchFolder folder;
  const std::string path = folder.path("a.vka");
  writeArchive(path, {{"X", std::string(3 << 20, 'x')}, {"Y", "y"}});
  const std::string before = snapshot(path);
  ASSERT_EQ(VKA_Fusion(path.c_str(), path.c_str(), nullptr), VKA_OK);
  EXPECT_EQ(snapshot(path), before + before);
}

TEST(ArchiveMerge, MergeGrowingPastTwoGibibytesIsRefusedAndRolledBack) {
  ScratchFolder folder;
  const std::string source = folder.path("patch.vka");
  const std::string destination = folder.path("game.vka");
  writeArchive(source, {{"X", "x"}});
  writeArchive(destination, {{"Y", "y"}});
  // A sparse destination just under the limit: its table moves to the end of a big hole.
  Bytes bytes = readBytes(destination);
  const std::size_t tableAt = u32At(bytes, 30) + 46;
  const Bytes table(bytes.begin() + tableAt, bytes.end());
  std::filesystem::resize_file(destination, 0x7FFFFFF0 - table.size());
  std::FILE* file = std::fopen(destination.c_str(), "r+b");
  ASSERT_NE(file, nullptr);
  std::fseek(file, 0, SEEK_END);
  const long newTableAt = std::ftell(file);
  std::fwrite(table.data(), 1, table.size(), file);
  putU32(bytes, 30, static_cast<std::uint32_t>(newTableAt - 46));
  std::fseek(file, 30, SEEK_SET);
  std::fwrite(bytes.data() + 30, 1, 4, file);
  std::fclose(file);
  ASSERT_EQ(VKA_GetFileCount(destination.c_str()), 2);
  const auto sizeBefore = std::filesystem::file_size(destination);
  EXPECT_EQ(VKA_Fusion(source.c_str(), destination.c_str(), nullptr), VKA_ERR_OPEN);
  EXPECT_EQ(std::filesystem::file_size(destination), sizeBefore);
  EXPECT_EQ(VKA_GetFileCount(destination.c_str()), 2);
}

TEST(ArchiveMerge, CheckVersionAnswers512OrTheFailure) {
  ScratchFolder folder;
  writeArchive(folder.path("a.vka"), {{"X", "x"}});
  EXPECT_EQ(VKA_CheckVersion(folder.path("a.vka").c_str()), 512);
  EXPECT_EQ(VKA_GetFileCount(folder.path("a.vka").c_str()), 2);
  writeBytes(folder.path("text.txt"), Bytes(100, 'x'));
  EXPECT_EQ(VKA_CheckVersion(folder.path("text.txt").c_str()), VKA_ERR_NOT_ARCHIVE);
  EXPECT_EQ(VKA_CheckVersion(folder.path("missing").c_str()), VKA_ERR_OPEN);
  EXPECT_EQ(VKA_CheckVersion(nullptr), VKA_ERR_OPEN);
  EXPECT_EQ(VKA_GetFileCount(folder.path("missing").c_str()), VKA_ERR_OPEN);
}

}  // namespace
}  // namespace vka::test
