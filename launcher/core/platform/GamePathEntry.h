// How one level of a game path meets this platform's file system; used by ResolveGamePath.
#pragma once

#include <string>
#include <string_view>

#include "platform/FolderListings.h"

namespace morvo {

// The entry of folder (ending in a separator) that part designates: on a file system that tells
// letter case apart, an existing entry whose name differs only in ASCII case is reused; part
// itself when none exists. exists says whether the entry returned is there. A folder that must
// be searched is listed into listings, or taken from there when it was listed before.
std::string MatchingEntry(const std::string& folder, const std::string& part, bool& exists,
                          FolderListings& listings);

// True when the existing entry path is a link whose target lies outside the folder root, or
// cannot be followed.
bool LinkLeavesFolder(const std::string& path, const std::string& root);

}  // namespace morvo
