// VKA_Repack keeps the last entry of each name and never loses the archive.
#include <gtest/gtest.h>

#include "ArchiveFile.h"
#include "ArchiveTestSupport.h"
#include "vka/vka.h"

namespace vka::test {
namespace {

TEST(ArchiveRepack, KeepsTheLastEntryOfEachNameInReverseOrder) {
  ScratchFolder folder;
  const std::string path = folder.path("game.vka");
  writeArchive(path, {{"X", "old x"}, {"Y", "y"}, {"dir", "", 0x02}, {"X", "new x"}});
  progressCalls = 0;
  ASSERT_EQ(VKA_Repack(path.c_str(), folder.path("temp.vka").c_str(), countProgress), VKA_OK);
  EXPECT_EQ(progressCalls, 5);
  EXPECT_FALSE(std::filesystem::exists(folder.path("temp.vka")));
  EXPECT_EQ(entryNames(path), (std::vector<std::string>{"data", "X", "dir", "Y"}));

  writeArchive(folder.path("expected.vka"), {{"X", "new x"}, {"dir", "", 0x02}, {"Y", "y"}});
  EXPECT_EQ(snapshot(path), snapshot(folder.path("expected.vka")));
  // Packed back to back from the header on: the old bytes of X are gone.
  EXPECT_EQ(std::filesystem::file_size(path),
            std::filesystem::file_size(folder.path("expected.vka")));
}

TEST(ArchiveRepack, EntriesOfManySizesArriveWholeInReverseOrder) {
  // Entries of 3 to 40 KiB between others of under 1 KiB, none adjacent to the one copied
  // before it: all arrive whole, in reverse order; a quarter are dropped.
  ScratchFolder folder;
  const std::string path = folder.path("game.vka");
  std::vector<EntrySpec> entries, expected;
  for (int i = 0; i < 40; ++i) {
    std::string content(i % 2 == 1 ? 2048 + i * 977 : 500 + i, '\0');
    for (std::size_t at = 0; at < content.size(); ++at) content[at] = char(at * 31 + i);
    entries.push_back({"e" + std::to_string(i % 30), content, 0x01, true});
  }
  // Entries 30 to 39 bear the names of 0 to 9, which give way to them.
  for (int i = 39; i >= 10; --i) expected.push_back(entries[i]);
  writeArchive(path, entries);
  writeArchive(folder.path("expected.vka"), expected);
  ASSERT_EQ(VKA_Repack(path.c_str(), folder.path("temp.vka").c_str(), nullptr), VKA_OK);
  EXPECT_TRUE(readBytes(path) == readBytes(folder.path("expected.vka")));
}

TEST(ArchiveRepack, RepackingTwiceRestoresTheOrder) {
  ScratchFolder folder;
  const std::string path = folder.path("game.vka");
  writeArchive(path, {{"A", "a"}, {"B", "b"}, {"C", "c"}});
  const std::string before = snapshot(path);
  ASSERT_EQ(VKA_Repack(path.c_str(), folder.path("temp").c_str(), nullptr), VKA_OK);
  EXPECT_EQ(entryNames(path), (std::vector<std::string>{"data", "C", "B", "A"}));
  ASSERT_EQ(VKA_Repack(path.c_str(), folder.path("temp").c_str(), nullptr), VKA_OK);
  EXPECT_EQ(snapshot(path), before);
}

TEST(ArchiveRepack, OldDataEntriesGiveWayToTheFreshDirectory) {
  ScratchFolder folder;
  const std::string path = folder.path("game.vka");
  writeArchive(path, {{"data", "a file called data"}, {"data", "", 0x02 | 0x20}, {"Z", "z"}});
  ASSERT_EQ(VKA_Repack(path.c_str(), folder.path("temp").c_str(), nullptr), VKA_OK);
  writeArchive(folder.path("expected.vka"), {{"Z", "z"}});
  EXPECT_EQ(snapshot(path), snapshot(folder.path("expected.vka")));
}

TEST(ArchiveRepack, HeaderIsThatOfANewArchive) {
  ScratchFolder folder;
  const std::string path = folder.path("game.vka");
  writeArchive(path, {{"X", "x"}});
  Bytes bytes = readBytes(path);
  for (int i = 16; i < 30; ++i) bytes[i] = 0xEE;
  putU32(bytes, 34, 0xDEADBEEF);
  writeBytes(path, bytes);
  ASSERT_EQ(VKA_Repack(path.c_str(), folder.path("temp").c_str(), nullptr), VKA_OK);
  const Bytes after = readBytes(path);
  for (int i = 0; i < 14; ++i) EXPECT_EQ(after[16 + i], i + 1);
  EXPECT_EQ(u32At(after, 34), 0u);
}

TEST(ArchiveRepack, ArchiveWithoutEntriesBecomesJustTheDataDirectory) {
  ScratchFolder folder;
  const std::string path = folder.path("game.vka");
  writeArchive(path, {{"X", "x"}});
  Bytes bytes = readBytes(path);
  putU32(bytes, 38, 7);
  writeBytes(path, bytes);
  progressCalls = 0;
  ASSERT_EQ(VKA_Repack(path.c_str(), folder.path("temp").c_str(), countProgress), VKA_OK);
  EXPECT_EQ(progressCalls, 0);
  EXPECT_EQ(VKA_GetFileCount(path.c_str()), 1);
}

TEST(ArchiveRepack, FailuresKeepTheArchiveAndLeaveNoTemporaryFile) {
  ScratchFolder folder;
  const std::string path = folder.path("game.vka");
  const std::string temp = folder.path("temp.vka");
  EXPECT_EQ(VKA_Repack(path.c_str(), temp.c_str(), nullptr), VKA_ERR_OPEN);  // missing
  EXPECT_FALSE(std::filesystem::exists(temp));

  writeArchive(path, {{"X", "x"}, {"X", "x2"}});
  const Bytes before = readBytes(path);
  EXPECT_EQ(VKA_Repack(path.c_str(), nullptr, nullptr), VKA_ERR_OPEN);
  // The temporary path names the archive itself, or a link to it.
  EXPECT_EQ(VKA_Repack(path.c_str(), path.c_str(), nullptr), VKA_ERR_OPEN);
  std::filesystem::create_hard_link(path, folder.path("link.vka"));
  EXPECT_EQ(VKA_Repack(path.c_str(), folder.path("link.vka").c_str(), nullptr), VKA_ERR_OPEN);
  // The temporary file cannot be created; a folder of that name is left alone.
  EXPECT_EQ(VKA_Repack(path.c_str(), folder.path("no/such/folder").c_str(), nullptr), VKA_ERR_OPEN);
  std::filesystem::create_directory(folder.path("folder.tmp"));
  EXPECT_EQ(VKA_Repack(path.c_str(), folder.path("folder.tmp").c_str(), nullptr), VKA_ERR_OPEN);
  EXPECT_TRUE(std::filesystem::is_directory(folder.path("folder.tmp")));
  EXPECT_EQ(readBytes(path), before);
  EXPECT_FALSE(std::filesystem::exists(temp));
}

TEST(ArchiveRepack, ProgressMatchesTheFileCountBefore) {
  ScratchFolder folder;
  const std::string path = folder.path("game.vka");
  std::vector<EntrySpec> entries;
  for (int i = 0; i < 300; ++i) entries.push_back({std::to_string(i % 70), std::to_string(i)});
  writeArchive(path, entries);
  const int count = VKA_GetFileCount(path.c_str());
  progressCalls = 0;
  ASSERT_EQ(VKA_Repack(path.c_str(), folder.path("temp").c_str(), countProgress), VKA_OK);
  EXPECT_EQ(progressCalls, count);
  EXPECT_EQ(VKA_GetFileCount(path.c_str()), 71);
}

}  // namespace
}  // namespace vka::test
