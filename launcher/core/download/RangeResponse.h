// Reading the headers of an HTTP response as far as resuming a download needs them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace morvo {

// The status code of a status line ("HTTP/1.1 206 Partial Content" -> 206); nullopt when the
// line is no status line.
std::optional<long> ParseStatusLine(std::string_view line);

// The first byte position of a "Content-Range: bytes FIRST-LAST/TOTAL" header line; nullopt
// for any other header or a malformed value.
std::optional<std::uint64_t> ParseContentRangeStart(std::string_view line);

// Collects the header lines of the responses of one transfer (redirects included) and keeps
// what the last one says.
class ResponseHeaders {
 public:
  // Feeds one raw header line, CR LF included. True when the line ended a final (2xx, 4xx,
  // 5xx) response's headers, that is when the body is about to start.
  bool Feed(std::string_view line);
  long Status() const { return status_; }
  bool HasContentRange() const { return hasContentRange_; }
  std::uint64_t ContentRangeStart() const { return contentRangeStart_; }
  // The entity tag, or else the modification date, of the last response: what an If-Range
  // request sends so that a changed file is sent whole instead of being resumed.
  const std::string& Validator() const { return validator_; }

 private:
  long status_ = 0;
  std::string validator_;
  bool hasContentRange_ = false;
  std::uint64_t contentRangeStart_ = 0;
};

// What the body of a final 2xx response does to the rangeStart bytes already in the part file
// (rangeStart 0: none were asked to be kept).
enum class BodyPlacement {
  Append,     // the body continues them (or is the whole file, when nothing was kept)
  StartOver,  // the server sends the whole file: what was kept is dropped first
  Refused,    // a range that was not asked for, or not the one asked for: unusable either way
};
BodyPlacement PlaceBody(long status, const ResponseHeaders& headers, std::uint64_t rangeStart);

}  // namespace morvo
