#include "FolderContent.h"

#include <algorithm>
#include <filesystem>
#include <sstream>
#include <tuple>
#include <vector>

#include "GameTools.h"
#include "TestPaths.h"

namespace fs = std::filesystem;

namespace {

bool IsArchive(const fs::path& path) {
  std::string extension = path.extension().string();
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return std::tolower(c); });
  return extension == ".vka" || extension == ".vkd";
}

struct ListedEntry {
  std::string kind, name;
  bool operator<(const ListedEntry& other) const {
    return std::tie(name, kind) < std::tie(other.name, other.kind);
  }
};

// The entries that `vka list` prints, one per line: kind, content size, stored size, name.
std::vector<ListedEntry> ListedEntries(const std::string& listing) {
  std::vector<ListedEntry> entries;
  std::istringstream lines(listing);
  for (std::string line; std::getline(lines, line);) {
    std::istringstream fields(line);
    ListedEntry entry;
    std::string contentSize, storedSize;
    if (!(fields >> entry.kind >> contentSize >> storedSize)) continue;
    std::getline(fields >> std::ws, entry.name);
    entries.push_back(entry);
  }
  return entries;
}

// Every entry (repeated names kept) in name order, each file with the bytes that extraction
// gives for its name.
std::string ArchiveContent(const std::string& archive, const std::string& scratchDir,
                           std::string& problem) {
  std::string listing, checked;
  if (!RunTool("vka", {"check", archive}, &checked)) problem = checked;
  if (!RunTool("vka", {"list", archive}, &listing)) return "unlistable archive";
  const std::string extracted = scratchDir + "/extracted";
  fs::remove_all(extracted);
  if (!RunTool("vka", {"extract", archive, "-o", extracted})) return "unextractable archive";
  std::vector<ListedEntry> entries = ListedEntries(listing);
  std::sort(entries.begin(), entries.end());
  std::string content;
  for (const ListedEntry& entry : entries) {
    content += entry.kind + " " + entry.name + "\n";
    if (entry.kind != "file") continue;
    std::string relative = entry.name;
    std::replace(relative.begin(), relative.end(), '\\', '/');
    const fs::path file = fs::path(extracted) / relative;
    content +=
        fs::is_regular_file(file) ? ReadFileBytes(file.string()) + "\n" : "(not extracted)\n";
  }
  fs::remove_all(extracted);
  return content;
}

}  // namespace

FolderContent ReadFolderContent(const std::string& dir, const std::set<std::string>& ignored,
                                const std::string& scratchDir) {
  FolderContent content;
  fs::create_directories(scratchDir);
  for (const auto& entry : fs::recursive_directory_iterator(dir)) {
    if (!entry.is_regular_file()) continue;
    const std::string relative = fs::relative(entry.path(), dir).string();
    if (ignored.count(relative)) continue;
    if (IsArchive(entry.path())) {
      std::string problem;
      content.files[relative] = ArchiveContent(entry.path().string(), scratchDir, problem);
      if (!problem.empty()) content.badArchives[relative] = problem;
    } else {
      content.files[relative] = ReadFileBytes(entry.path().string());
    }
  }
  return content;
}

std::string DescribeDifferences(const FolderContent& expected, const FolderContent& actual) {
  std::ostringstream out;
  for (const auto& [path, bytes] : expected.files) {
    auto found = actual.files.find(path);
    if (found == actual.files.end())
      out << "missing: " << path << "\n";
    else if (found->second != bytes)
      out << "different: " << path << "\n";
  }
  for (const auto& entry : actual.files)
    if (!expected.files.count(entry.first)) out << "unexpected: " << entry.first << "\n";
  for (const auto& [path, problem] : actual.badArchives)
    out << "fails vka check: " << path << ": " << problem << "\n";
  return out.str();
}
