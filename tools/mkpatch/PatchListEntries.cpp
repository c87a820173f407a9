#include "PatchListEntries.h"

#include <cctype>
#include <fstream>

#include "Utf8Path.h"

using namespace morvo;

std::string ListNameOfPatch(const std::string& patch) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string encoded;
  for (const unsigned char c : Utf8OfPath(PathOfUtf8(patch).filename())) {
    if (std::isalnum(c) != 0 || c == '-' || c == '.' || c == '_' || c == '~') {
      encoded += static_cast<char>(c);
    } else {
      encoded += '%';
      encoded += kHex[c >> 4];
      encoded += kHex[c & 15];
    }
  }
  return encoded;
}

std::optional<Sha256Digest> FileDigest(const std::string& path) {
  std::ifstream in(PathOfUtf8(path), std::ios::binary);
  if (!in) return std::nullopt;
  Sha256 hash;
  char buffer[64 * 1024];
  while (in) {
    in.read(buffer, sizeof buffer);
    hash.Update(buffer, static_cast<std::size_t>(in.gcount()));
  }
  if (!in.eof()) return std::nullopt;
  return hash.Finish();
}
