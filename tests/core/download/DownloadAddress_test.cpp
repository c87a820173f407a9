#include "download/DownloadAddress.h"

#include <gtest/gtest.h>

using namespace morvo;

namespace {

TEST(DownloadAddress, HttpAndHttpsInAnyLetterCase) {
  EXPECT_TRUE(IsHttpUrl("http://127.0.0.1/p.pak"));
  EXPECT_TRUE(IsHttpUrl("HTTPS://example.org/"));
  EXPECT_FALSE(IsHttpUrl("httpx://host/"));
  EXPECT_FALSE(IsHttpUrl("file:///srv/p.pak"));
  EXPECT_FALSE(IsHttpUrl("http:/host"));
  EXPECT_FALSE(IsHttpUrl(""));
}

TEST(DownloadAddress, PathsOfLocalAddresses) {
  EXPECT_EQ(LocalPathOfFileUrl("file:///srv/list.ini"), "/srv/list.ini");
  EXPECT_EQ(LocalPathOfFileUrl("FILE://localhost/srv/list.ini"), "/srv/list.ini");
  EXPECT_EQ(LocalPathOfFileUrl("file:///C:/Games/p0001.pak"), "C:/Games/p0001.pak");
  EXPECT_EQ(LocalPathOfFileUrl("file:///c:\\Temp\\x"), "c:\\Temp\\x");
  EXPECT_EQ(LocalPathOfFileUrl("file://D:/p.pak"), "D:/p.pak");
  EXPECT_EQ(LocalPathOfFileUrl("file:///srv/a%20b%C3%A9.pak?v=2#top"), "/srv/a b\xC3\xA9.pak");
}

TEST(DownloadAddress, RefusesWhatNamesNoLocalFile) {
  EXPECT_EQ(LocalPathOfFileUrl("http://host/p.pak"), std::nullopt);
  EXPECT_EQ(LocalPathOfFileUrl("file://server/share/p.pak"), std::nullopt);
  EXPECT_EQ(LocalPathOfFileUrl("file://"), std::nullopt);
  EXPECT_EQ(LocalPathOfFileUrl("file:/srv/p.pak"), std::nullopt);
  EXPECT_EQ(LocalPathOfFileUrl(""), std::nullopt);
  // An escaped NUL would cut the path short where it meets the file system.
  EXPECT_EQ(LocalPathOfFileUrl("file:///srv/p.pak%00.txt"), std::nullopt);
  EXPECT_EQ(LocalPathOfFileUrl("file:///srv/p%0A.pak"), std::nullopt);
  EXPECT_EQ(LocalPathOfFileUrl("file:///srv/p%G1.pak"), std::nullopt);
  EXPECT_EQ(LocalPathOfFileUrl("file:///srv/p%4"), std::nullopt);
}

}  // namespace
