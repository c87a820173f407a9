// What a game folder holds, in a form two folders can be compared by: loose files by their
// bytes, archives by their content (entry names with their data; the order of entries is not
// part of it, repeated names are).
#pragma once

#include <map>
#include <set>
#include <string>

struct FolderContent {
  std::map<std::string, std::string> files;        // relative path -> bytes, or archive content
  std::map<std::string, std::string> badArchives;  // relative path -> what `vka check` said
};

// Reads every file below dir except those named in ignored (relative paths); archives
// (.vka, .vkd) are read through `vka list`, `vka extract` and `vka check`, using scratchDir.
FolderContent ReadFolderContent(const std::string& dir, const std::set<std::string>& ignored,
                                const std::string& scratchDir);

// Empty when both hold the same; otherwise one line per difference.
std::string DescribeDifferences(const FolderContent& expected, const FolderContent& actual);
