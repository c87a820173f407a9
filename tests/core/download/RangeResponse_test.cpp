#include "download/RangeResponse.h"

#include <gtest/gtest.h>

using namespace morvo;

namespace {

TEST(RangeResponse, StatusLines) {
  EXPECT_EQ(ParseStatusLine("HTTP/1.1 206 Partial Content\r\n"), 206);
  EXPECT_EQ(ParseStatusLine("HTTP/2 200\r\n"), 200);
  EXPECT_EQ(ParseStatusLine("Content-Length: 200\r\n"), std::nullopt);
  EXPECT_EQ(ParseStatusLine("HTTP/1.1 abc\r\n"), std::nullopt);
  EXPECT_EQ(ParseStatusLine("HTTP/1.1\r\n"), std::nullopt);
}

TEST(RangeResponse, ContentRangeStart) {
  EXPECT_EQ(ParseContentRangeStart("Content-Range: bytes 100-199/200\r\n"), 100u);
  EXPECT_EQ(ParseContentRangeStart("content-range:bytes 0-9/*\r\n"), 0u);
  EXPECT_EQ(ParseContentRangeStart("Content-Range: bytes */200\r\n"), std::nullopt);
  EXPECT_EQ(ParseContentRangeStart("Content-Range: items 1-2/3\r\n"), std::nullopt);
  EXPECT_EQ(ParseContentRangeStart("Content-Length: 100\r\n"), std::nullopt);
  EXPECT_EQ(ParseContentRangeStart("Content-Range: bytes 100\r\n"), std::nullopt);
}

// The body starts after the blank line of the final response; a redirect's headers and its
// Content-Range do not count for the response that follows it.
TEST(RangeResponse, KeepsWhatTheLastResponseSays) {
  ResponseHeaders headers;
  EXPECT_FALSE(headers.Feed("HTTP/1.1 302 Found\r\n"));
  EXPECT_FALSE(headers.Feed("Content-Range: bytes 5-9/10\r\n"));
  EXPECT_FALSE(headers.Feed("ETag: \"old\"\r\n"));
  EXPECT_FALSE(headers.Feed("\r\n"));
  EXPECT_FALSE(headers.Feed("HTTP/1.1 100 Continue\r\n"));
  EXPECT_FALSE(headers.Feed("\r\n"));
  EXPECT_FALSE(headers.Feed("HTTP/1.1 200 OK\r\n"));
  EXPECT_FALSE(headers.Feed("Last-Modified: Mon, 07 Dec 2026 10:00:00 GMT\r\n"));
  EXPECT_TRUE(headers.Feed("\r\n"));
  EXPECT_EQ(headers.Status(), 200);
  EXPECT_FALSE(headers.HasContentRange());
  EXPECT_EQ(headers.Validator(), "Mon, 07 Dec 2026 10:00:00 GMT");
}

TEST(RangeResponse, StrongEntityTagWinsAndWeakOneIsIgnored) {
  ResponseHeaders strong;
  strong.Feed("HTTP/1.1 206 Partial Content\r\n");
  strong.Feed("Last-Modified: yesterday\r\n");
  strong.Feed("ETag: \"v2\"\r\n");
  strong.Feed("Content-Range: bytes 7-9/10\r\n");
  EXPECT_TRUE(strong.Feed("\r\n"));
  EXPECT_EQ(strong.Validator(), "\"v2\"");
  EXPECT_TRUE(strong.HasContentRange());
  EXPECT_EQ(strong.ContentRangeStart(), 7u);

  ResponseHeaders weak;
  weak.Feed("HTTP/1.1 200 OK\r\n");
  weak.Feed("ETag: W/\"v2\"\r\n");
  EXPECT_EQ(weak.Validator(), "");
}

ResponseHeaders Response(long status, const char* contentRange) {
  ResponseHeaders headers;
  headers.Feed("HTTP/1.1 " + std::to_string(status) + " X\r\n");
  if (contentRange != nullptr) headers.Feed(std::string("Content-Range: ") + contentRange + "\r\n");
  headers.Feed("\r\n");
  return headers;
}

// Resuming keeps the bytes already received only when the server sends exactly the range
// asked for; a whole body replaces them; anything else is not trusted.
TEST(RangeResponse, PlaceBodyAgainstTheBytesKept) {
  struct Case {
    long status;
    const char* contentRange;
    std::uint64_t rangeStart;
    BodyPlacement expected;
  };
  const Case cases[] = {
      {200, nullptr, 0, BodyPlacement::Append},
      {206, "bytes 0-9/10", 0, BodyPlacement::Refused},
      {206, "bytes 500-999/1000", 500, BodyPlacement::Append},
      {206, "bytes 400-999/1000", 500, BodyPlacement::Refused},
      {206, nullptr, 500, BodyPlacement::Refused},
      {200, nullptr, 500, BodyPlacement::StartOver},
      {200, "bytes 500-999/1000", 500, BodyPlacement::Refused},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(PlaceBody(c.status, Response(c.status, c.contentRange), c.rangeStart), c.expected)
        << c.status << " " << (c.contentRange ? c.contentRange : "-") << " from " << c.rangeStart;
  }
}

}  // namespace
