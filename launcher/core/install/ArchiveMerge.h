// Archives taken out of containers: merged into the installed archive of the same name (or moved
// there when none exists), and repacked once per pass.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "engine/PatchContext.h"

namespace morvo {

// The extension of name's file-name part, ASCII letters lower-cased, is ".vka" or ".vkd".
bool IsArchiveFile(std::string_view name);

// Keeps the first occurrence of each archive of MergedArchives (one file under two names is
// one archive), in order.
void RemoveDuplicateArchives(PatchRunState& state);

// Puts the extracted archive newArchive in place at destination (both on-disk paths) and deletes
// it. False when it could not be moved there, when either archive fails the version check or
// when the merge fails: the entry is then not installed and destination stays as it was.
bool MergeArchive(PatchContext& context, const std::string& newArchive,
                  const std::string& destination);

// The archive library's progress procedures; they report to the context of the library call
// under way and do nothing outside one.
void MergeProgress();
void RepackProgress();

// Repacks each archive of archives, with its log lines, when there is any.
void RepackArchives(PatchContext& context, const std::vector<std::string>& archives);

}  // namespace morvo
