#include "FolderContent.h"

#include <algorithm>
#include <filesystem>
#include <sstream>
#include <vector>

#include "GameTools.h"

namespace fs = std::filesystem;

namespace {

bool IsArchive(const fs::path& path) {
  std::string extension = path.extension().string();
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return std::tolower(c); });
  return extension == ".vka" || extension == ".vkd";
}

// The entry names that `vka list` prints, one per line, in table order.
std::vector<std::string> ListedNames(const std::string& listing) {
  std::vector<std::string> names;
  std::istringstream lines(listing);
  for (std::string line; std::getline(lines, line);) {
    if (line.empty()) continue;
    names.push_back(line.substr(0, line.find('\t')));
  }
  return names;
}

// Sorted names, each with the bytes that extraction gives for it.
std::string ArchiveContent(const std::string& archive, const std::string& scratchDir,
                           std::string& problem) {
  std::string listing, checked;
  if (!RunTool("vka", {"check", archive}, &checked)) problem = checked;
  if (!RunTool("vka", {"list", archive}, &listing)) return "unlistable archive";
  const std::string extracted = scratchDir + "/extracted";
  fs::remove_all(extracted);
  if (!RunTool("vka", {"extract", archive, "-o", extracted})) return "unextractable archive";
  std::vector<std::string> names = ListedNames(listing);
  std::sort(names.begin(), names.end());
  std::string content;
  for (const std::string& name : names) {
    std::string relative = name;
    std::replace(relative.begin(), relative.end(), '\\', '/');
    const fs::path file = fs::path(extracted) / relative;
    content += name + "\n";
    if (fs::is_regular_file(file)) content += ReadFileBytes(file.string()) + "\n";
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
    if (found == actual.files.end()) out << "missing: " << path << "\n";
    else if (found->second != bytes) out << "different: " << path << "\n";
  }
  for (const auto& entry : actual.files)
    if (!expected.files.count(entry.first)) out << "unexpected: " << entry.first << "\n";
  for (const auto& [path, problem] : actual.badArchives)
    out << "fails vka check: " << path << ": " << problem << "\n";
  return out.str();
}
