#include <gtest/gtest.h>

#include <filesystem>

#include "InstallTestSupport.h"
#include "install/InstallPatches.h"

using namespace morvo;

namespace fs = std::filesystem;

TEST(InstallPatches, UpdateKeepsThePermissionsOfTheReplacedFile) {
  GameFolder folder;
  WriteFile(folder / "tool.sh", "old");
  fs::permissions(folder / "tool.sh", fs::perms(0750));
  folder.AddDownloaded("p.pak", ContainerBuilder().Add("tool.sh", "tool.sh", "new").Bytes());
  InstallPatches(folder.context);
  EXPECT_EQ(ReadFile(folder / "tool.sh"), "new");
  EXPECT_EQ(fs::status(folder / "tool.sh").permissions(), fs::perms(0750));
}
