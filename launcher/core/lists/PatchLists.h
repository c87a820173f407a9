// The server patch list, the installed-patch register, and what to download from them.
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "engine/PatchRunState.h"

namespace morvo {

// Reads ServerListPath and RegisterPath into DenyPlay, ServerEntries, ServerDigests and
// InstalledEntries and returns BuildDownloadList(); false means there is nothing to download.
bool ReadPatchLists(PatchRunState& state);

// The digests of a list's [sha256] lines "name=64 hex digits", names and digits trimmed of
// blanks. A name with a line that is not of that form, or with two different digests, is left
// out: it has no digest.
std::map<std::string, Sha256Digest> ReadDigestLines(const std::vector<std::string>& lines);

// Fills DownloadUrls from ServerEntries minus InstalledEntries; true when it holds a URL.
bool BuildDownloadList(PatchRunState& state);

// Rewrites the register from InstalledEntries and DownloadUrls.
void WriteInstalledRegister(PatchRunState& state);

// Appends to InstallFiles the containers (programDir + "MorvoTMP" + name) of registered
// patches that still lie in programDir.
void FindUnfinishedPatches(PatchRunState& state, const std::string& programDir);

// Drops every register line whose key is name, so that the patch is downloaded again on the
// next run (used when its container could not be installed completely).
void RemoveFromRegister(const PatchRunState& state, const std::string& name);

// True when name (the file name of a patch's URL, or a register key) can name the patch's
// container, programDir + "MorvoTMP" + name, on every platform: empty (the container is then
// "MorvoTMP" itself), or a plain name (IsPlainName) short enough that the container and the
// downloader's part file beside it fit in a file name of 255 bytes, and that does not take the
// place of another temporary file of the run.
bool IsUsablePatchName(std::string_view name);

// The text after the last "/" of url: empty when url is empty or ends with "/", the whole text
// when it holds no "/". A backslash is an ordinary character.
std::string FileNameOfUrl(const std::string& url);

}  // namespace morvo
