// Where a container's destination name lands in the game folder. Names are Windows-1252 with
// '\' (or '/') between folders, made for a file system that ignores letter case.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/FolderListings.h"

namespace morvo {

// The UTF-8 path under root (a folder ending in '/') that name designates, reusing at every
// level an existing file or folder whose name differs only in ASCII case. nullopt for a name
// that could lead outside root or that Windows reads as something else: empty, absolute, a
// drive letter or any ':', a UNC prefix, a part that is not a plain name (IsPlainName: "..",
// an empty part, a control character, a device name, a trailing dot or blank, ...), a symbolic
// link inside root whose target lies outside it (or is missing); and for a name of the
// launcher's own files in root (IsOwnFileName), also reached through a link to root.
// listings, when given, keeps the folders listed on the way for the next names resolved; whoever
// then creates an entry adds it there (FolderListings::Added). exists, when given, tells whether
// something is there under the path returned (as the listings knew it, where they did).
std::optional<std::string> ResolveGamePath(const std::string& root, std::string_view name,
                                           FolderListings* listings = nullptr,
                                           bool* exists = nullptr);

// programDir + a file name from the settings, as this platform opens it: ResolveGamePath's
// path when it has one; names that cannot be resolved inside programDir (".." parts, a drive
// letter) are joined as they stand, in UTF-8 with '\' turned into this platform's separator.
std::string SettingsFilePath(const std::string& programDir, std::string_view windows1252Name);

// True when name passes the checks of ResolveGamePath that need no file system: what a patch
// builder may write as a destination.
bool IsSafeDestination(std::string_view name);

// True when path is not a link and its folder, once the platform has resolved its links, is
// folder: what folder + a plain file name must be before a file is written there.
bool LiesDirectlyIn(const std::string& path, const std::string& folder);

// The file-name part of a Windows path: the text after the last '\' or '/'.
std::string_view WindowsFileName(std::string_view path);

// The file-name part of an on-disk path as the log and the status line show it (Windows-1252).
std::string ShownFileName(const std::string& path);

// name with its control characters shown as '?', for a log line that quotes a refused name.
std::string WithoutControls(std::string_view name);

}  // namespace morvo
