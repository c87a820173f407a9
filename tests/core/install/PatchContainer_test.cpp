#include "install/PatchContainer.h"

#include <gtest/gtest.h>

#include "InstallTestSupport.h"

using namespace morvo;

namespace {

TEST(PatchContainer, ReadsWhatTheEncoderWrites) {
  ScratchDir dir;
  const std::string path = dir.path() + "c.pak";
  WriteFile(path, EncodeContainerHeader(2) + EncodeEntryHeader("src.txt", "dir\\dst.txt", 3) +
                      "abc" + EncodeEntryHeader(std::string("cut\0rest", 8), "d", 0) + "trailing");
  auto reader = ContainerReader::Open(path);
  ASSERT_TRUE(reader);
  std::int32_t count = 0;
  ASSERT_TRUE(reader->ReadHeader(count));
  EXPECT_EQ(count, 2);

  ContainerEntryHeader header;
  ASSERT_TRUE(reader->ReadEntryHeader(header));
  EXPECT_EQ(header.SourceName, "src.txt");
  EXPECT_EQ(header.DestName, "dir\\dst.txt");
  EXPECT_EQ(header.DataSize, 3);
  char data[3];
  ASSERT_TRUE(reader->ReadExact(data, 2));
  reader->Rewind(2);  // as the configuration check does
  ASSERT_TRUE(reader->ReadExact(data, 3));
  EXPECT_EQ(std::string(data, 3), "abc");

  ASSERT_TRUE(reader->ReadEntryHeader(header));
  EXPECT_EQ(header.SourceName, "cut");  // a name ends at its first NUL
  EXPECT_TRUE(reader->Skip(8));
  EXPECT_FALSE(reader->Skip(1));
  EXPECT_EQ(reader->Read(data, 1), 0u);
}

TEST(PatchContainer, NamesUpTo255BytesAndNoFurther) {
  ScratchDir dir;
  const std::string path = dir.path() + "c.pak";
  ContainerEntryHeader header;
  WriteFile(path, EncodeEntryHeader(std::string(255, 's'), std::string(255, 'd'), 0));
  EXPECT_TRUE(ContainerReader::Open(path)->ReadEntryHeader(header));
  WriteFile(path, EncodeEntryHeader("s", std::string(256, 'd'), 0));
  EXPECT_FALSE(ContainerReader::Open(path)->ReadEntryHeader(header));
  EXPECT_FALSE(ContainerReader::Open(dir.path()));  // a folder is no container
}

}  // namespace
