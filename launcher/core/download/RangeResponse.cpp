#include "download/RangeResponse.h"

#include <charconv>

namespace morvo {

namespace {

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i) {
    char c = text[i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != prefix[i]) return false;
  }
  return true;
}

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r' ||
                           text.back() == '\n')) {
    text.remove_suffix(1);
  }
  return text;
}

}  // namespace

std::optional<long> ParseStatusLine(std::string_view line) {
  if (!line.starts_with("HTTP/")) return std::nullopt;
  const auto blank = line.find(' ');
  if (blank == std::string_view::npos) return std::nullopt;
  line.remove_prefix(blank + 1);
  long status = 0;
  const auto [end, error] = std::from_chars(line.data(), line.data() + line.size(), status);
  if (error != std::errc() || end == line.data() || status < 100 || status > 999) {
    return std::nullopt;
  }
  return status;
}

std::optional<std::uint64_t> ParseContentRangeStart(std::string_view line) {
  constexpr std::string_view kName = "content-range:";
  if (!StartsWithNoCase(line, kName)) return std::nullopt;
  std::string_view value = TrimBlanks(line.substr(kName.size()));
  if (!StartsWithNoCase(value, "bytes ")) return std::nullopt;
  value = TrimBlanks(value.substr(6));
  std::uint64_t first = 0;
  const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), first);
  if (error != std::errc() || end == value.data() || end == value.data() + value.size() ||
      *end != '-') {
    return std::nullopt;
  }
  return first;
}

bool ResponseHeaders::Feed(std::string_view line) {
  if (const auto status = ParseStatusLine(line)) {
    status_ = *status;
    validator_.clear();
    hasContentRange_ = false;
    contentRangeStart_ = 0;
    return false;
  }
  if (const auto start = ParseContentRangeStart(line)) {
    hasContentRange_ = true;
    contentRangeStart_ = *start;
    return false;
  }
  if (StartsWithNoCase(line, "etag:")) {
    const std::string_view tag = TrimBlanks(line.substr(5));
    // A weak tag cannot guard a byte range.
    if (!tag.starts_with("W/")) validator_ = tag;
    return false;
  }
  if (StartsWithNoCase(line, "last-modified:") && validator_.empty()) {
    validator_ = TrimBlanks(line.substr(14));
    return false;
  }
  // The blank line ends one response's headers; informational and redirect responses are
  // followed by another one.
  const bool blank = TrimBlanks(line).empty();
  return blank && status_ >= 200 && (status_ < 300 || status_ >= 400);
}

BodyPlacement PlaceBody(long status, const ResponseHeaders& headers, std::uint64_t rangeStart) {
  if (rangeStart == 0) return status == 206 ? BodyPlacement::Refused : BodyPlacement::Append;
  if (status == 206) {
    return headers.HasContentRange() && headers.ContentRangeStart() == rangeStart
               ? BodyPlacement::Append
               : BodyPlacement::Refused;
  }
  // A 200 that carries a Content-Range is a server that cut the body without saying so; its
  // bytes cannot be trusted either way.
  return headers.HasContentRange() ? BodyPlacement::Refused : BodyPlacement::StartOver;
}

}  // namespace morvo
