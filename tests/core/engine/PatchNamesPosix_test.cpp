// Links planted under the names a good patch's container and part file take lead to a file
// beside the game folder: the run replaces the links, never writes through them.
#include <gtest/gtest.h>

#include <filesystem>

#include "PatchNamesFixture.h"

using namespace morvo;

namespace fs = std::filesystem;

namespace {

TEST_F(PatchNamesTest, LinksUnderContainerNamesAreNotWrittenThrough) {
  Lines urls;
  for (const std::string name : {"g0.pak", "g1.pak"}) {
    urls.push_back(server.Url("/p/" + name));
    server.Serve("/p/" + name, Container({{"g.txt", name + ".txt", name}}));
  }
  server.Serve("/list.ini", PatchList({"deny_play=0"}, urls));
  fs::create_symlink(canary + "canary.txt", game + "MorvoTMPg0.pak");
  fs::create_symlink(canary + "canary.txt", game + "MorvoTMPg1.pak.part");

  const WindowlessRunResult result = Run();

  ASSERT_TRUE(result.Finished);
  EXPECT_EQ(result.FailedPatches, 0);
  EXPECT_EQ(ReadFileBytes(game + "MorvoPatchsList.ini"), "[patchs]\r\ng0.pak=1\r\ng1.pak=1\r\n");
  EXPECT_EQ(ReadFileBytes(game + "g0.pak.txt"), "g0.pak");
  EXPECT_EQ(ReadFileBytes(game + "g1.pak.txt"), "g1.pak");
  EXPECT_EQ(FolderNames(game), (Lines{"Config.mpc", "MorvoPatcher.lock", "MorvoPatcherLog.txt",
                                      "MorvoPatchsList.ini", "g0.pak.txt", "g1.pak.txt"}));
  EXPECT_EQ(FolderNames(canary), Lines{"canary.txt"});
  EXPECT_EQ(ReadFileBytes(canary + "canary.txt"), "canary");
}

}  // namespace
