// What a folder lets the launcher write: whether it can create a file there, and how many
// bytes the file system still has room for.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace morvo {

// Creates and deletes the exclusive file probeName in folder (which ends in a separator). False on
// a read-only mount or a folder the user may not write into.
bool CanWriteInFolder(const std::string& folder, std::string_view probeName);

// The bytes an unprivileged writer may still use on folder's file system; nullopt when the
// file system does not say.
std::optional<std::uint64_t> FreeBytesInFolder(const std::string& folder);

}  // namespace morvo
