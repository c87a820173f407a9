// On Windows the exports take paths in the ANSI code page, as every ...A call does: a name
// with a character of that code page reaches the file of that name, not a twin spelled in
// its bytes.
#include <gtest/gtest.h>

#include "ArchiveTestSupport.h"
#include "vka/vka.h"

namespace vka::test {
namespace {

TEST(AnsiPaths, MergeAndRepackReachTheFileOfTheCodePageName) {
  ScratchFolder folder;
  const std::string game = folder.path("Jeux d\xC3\xA9mo/caf\xC3\xA9.vka");  // "é", UTF-8 here
  if (game.empty()) GTEST_SKIP() << "the ANSI code page has no \xC3\xA9";
  ASSERT_EQ(game.find("\xC3\xA9"), std::string::npos) << "not converted to the code page";
  std::filesystem::create_directory(folder.root() / L"Jeux d\u00e9mo");
  const std::string patch = folder.path("patch\xC3\xA9.vka");
  writeArchive(game, {{"X", "old"}});
  writeArchive(patch, {{"X", "new"}});
  ASSERT_TRUE(std::filesystem::exists(folder.root() / L"Jeux d\u00e9mo" / L"caf\u00e9.vka"));

  EXPECT_EQ(VKA_Fusion(patch.c_str(), game.c_str(), nullptr), VKA_OK);
  EXPECT_EQ(VKA_GetFileCount(game.c_str()), 4);
  EXPECT_EQ(VKA_Repack(game.c_str(), folder.path("Jeux d\xC3\xA9mo/t\xC3\xA9mp").c_str(), nullptr),
            VKA_OK);
  EXPECT_EQ(VKA_CheckVersion(game.c_str()), 512);
  EXPECT_EQ(entryNames(game), (std::vector<std::string>{"data", "X"}));
  // Nothing else appeared beside it: no temporary file, no name spelled in other bytes.
  int files = 0;
  for (const auto& item : std::filesystem::directory_iterator(folder.root() / L"Jeux d\u00e9mo")) {
    EXPECT_EQ(item.path().filename(), L"caf\u00e9.vka");
    ++files;
  }
  EXPECT_EQ(files, 1);
}

TEST(AnsiPaths, BytesTheCodePageDoesNotDefineOpenNothing) {
  // 0x81 is undefined in Windows-1252 and a lone lead byte in the East Asian code pages.
  EXPECT_EQ(VKA_GetFileCount("\x81.vka"), VKA_ERR_OPEN);
  EXPECT_EQ(VKA_CheckVersion(""), VKA_ERR_OPEN);
}

}  // namespace
}  // namespace vka::test
