#include "download/DownloadAddress.h"

#include "text/AsciiText.h"

namespace morvo {

namespace {

bool IsDrive(std::string_view text) {
  return text.size() >= 2 && text[1] == ':' &&
         ((text[0] >= 'A' && text[0] <= 'Z') || (text[0] >= 'a' && text[0] <= 'z')) &&
         (text.size() == 2 || text[2] == '/' || text[2] == '\\');
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::optional<std::string> Unescape(std::string_view text) {
  std::string path;
  for (std::size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c == '%') {
      const int high = i + 2 < text.size() ? HexValue(text[i + 1]) : -1;
      const int low = high >= 0 ? HexValue(text[i + 2]) : -1;
      if (low < 0) return std::nullopt;
      c = static_cast<char>(high * 16 + low);
      i += 2;
    }
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) return std::nullopt;
    path += c;
  }
  return path;
}

}  // namespace

bool IsHttpUrl(std::string_view url) {
  const std::string scheme = AsciiLower(url.substr(0, 8));
  return scheme.starts_with("http://") || scheme.starts_with("https://");
}

std::optional<std::string> LocalPathOfFileUrl(std::string_view url) {
  constexpr std::string_view kScheme = "file://";
  if (url.size() < kScheme.size() || AsciiLower(url.substr(0, kScheme.size())) != kScheme) {
    return std::nullopt;
  }
  url.remove_prefix(kScheme.size());
  url = url.substr(0, url.find_first_of("?#"));
  if (!IsDrive(url)) {
    const std::size_t slash = url.find('/');
    if (slash == std::string_view::npos) return std::nullopt;
    const std::string host = AsciiLower(url.substr(0, slash));
    if (!host.empty() && host != "localhost") return std::nullopt;
    url.remove_prefix(slash);
    if (IsDrive(url.substr(1))) url.remove_prefix(1);
  }
  return Unescape(url);
}

}  // namespace morvo
