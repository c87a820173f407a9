// A whole file read at once, by a UTF-8 path: descriptions, lists and key files of the tools.
#pragma once

#include <fstream>
#include <iterator>
#include <string>

#include "Utf8Path.h"

// Reads the file at path into bytes; false when it cannot be read.
inline bool ReadWholeFile(const std::string& path, std::string& bytes) {
  std::ifstream in(PathOfUtf8(path), std::ios::binary);
  if (!in) return false;
  bytes.assign(std::istreambuf_iterator<char>(in), {});
  return !in.bad();
}
