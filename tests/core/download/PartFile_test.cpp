#include "download/PartFile.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "TempDir.h"

using namespace morvo;

namespace {

TEST(PartFile, CommitPutsTheWholeBodyOnTheTargetAndDroppingItLeavesTheTarget) {
  TempDir dir;
  WriteFileBytes(dir / "page.html", "old");
  {
    PartFile part(dir / "page.html");
    ASSERT_TRUE(part.IsOpen());
    ASSERT_TRUE(part.Append("abandoned", 9));
  }
  EXPECT_EQ(ReadFileBytes(dir / "page.html"), "old");
  EXPECT_FALSE(std::filesystem::exists(dir / "page.html.part"));

  PartFile part(dir / "page.html");
  ASSERT_TRUE(part.Append("first try", 9));
  ASSERT_TRUE(part.Truncate());
  ASSERT_TRUE(part.Append("new body", 8));
  EXPECT_EQ(part.Size(), 8u);
  ASSERT_TRUE(part.Commit());
  EXPECT_EQ(ReadFileBytes(dir / "page.html"), "new body");
  EXPECT_FALSE(std::filesystem::exists(dir / "page.html.part"));
}

TEST(PartFile, APartFileThatDidNotOpenIsNeverRenamedOverTheTarget) {
  // Something else named like the part file (here a folder) keeps it from opening; Commit must
  // not move that thing onto the target.
  TempDir dir;
  std::filesystem::create_directory(dir / "page.html.part");
  PartFile part(dir / "page.html");
  EXPECT_FALSE(part.IsOpen());
  EXPECT_FALSE(part.Commit());
  EXPECT_FALSE(std::filesystem::exists(dir / "page.html"));
}

}  // namespace
