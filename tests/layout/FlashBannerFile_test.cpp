#include "FlashBannerFile.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "TempDir.h"
#include "engine/TemporaryNames.h"

using namespace morvo;

TEST(FlashBannerFile, NeverOutlivesTheHandOver) {
  TempDir dir;
  ASSERT_FALSE(dir.path().empty());
  WriteFileBytes(dir / kFlashBannerTempName, "old");  // left over by an earlier run
  HandOverFlashMovie(std::vector<std::uint8_t>{'F', 'W', 'S'}, dir.path());
  HandOverFlashMovie(std::nullopt, dir.path());
  // Neither the movie nor its temporary file stays behind.
  EXPECT_TRUE(std::filesystem::is_empty(FsPath(dir.path())));
}
