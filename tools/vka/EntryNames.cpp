#include "EntryNames.h"

#include <cctype>

#include "Utf8Path.h"
#include "text/Windows1252.h"
#include "vka/vka.h"

using namespace morvo;

namespace fs = std::filesystem;

namespace {

constexpr std::size_t kMaxEntryNameLength = 255;

}  // namespace

std::optional<std::string> EntryNameOf(const fs::path& file, const fs::path& root, char separator,
                                       std::string& problem) {
  std::error_code error;
  const fs::path absoluteFile = fs::weakly_canonical(file, error);
  const fs::path absoluteRoot = fs::weakly_canonical(root, error);
  const fs::path relative = absoluteFile.lexically_relative(absoluteRoot);
  if (error || relative.empty() || *relative.begin() == "..") {
    problem = "not inside the root folder " + Utf8OfPath(root);
    return std::nullopt;
  }
  std::string utf8;
  for (const fs::path& part : relative) {
    if (!utf8.empty()) utf8 += separator;
    utf8 += Utf8OfPath(part);
  }
  std::optional<std::string> name = Utf8ToWindows1252(utf8);
  if (!name) {
    problem = "its name has characters that Windows-1252 cannot hold";
  } else if (name->size() > kMaxEntryNameLength) {
    problem = "its entry name is longer than 255 bytes";
    name.reset();
  }
  return name;
}

std::optional<fs::path> ExtractPathOf(std::string_view entryName) {
  if (entryName.empty() || entryName.front() == '\\' || entryName.front() == '/') return {};
  if (entryName.size() >= 2 && entryName[1] == ':' &&
      std::isalpha(static_cast<unsigned char>(entryName[0]))) {
    return {};
  }
  fs::path path;
  std::size_t start = 0;
  while (start <= entryName.size()) {
    std::size_t end = entryName.find_first_of("\\/", start);
    if (end == std::string_view::npos) end = entryName.size();
    const std::string_view part = entryName.substr(start, end - start);
    if (part == "..") return {};
    if (!part.empty() && part != ".") path /= PathOfUtf8(Windows1252ToUtf8(part));
    start = end + 1;
  }
  if (path.empty()) return {};
  return path;
}
