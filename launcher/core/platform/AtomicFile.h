// Files that are never half-written: the bytes go to a temporary file beside the target, are
// flushed, and replace the target in one rename.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <span>
#include <string>

// Writes bytes to path with permission bits mode. On false the target is as it was and no
// temporary file is left.
bool ReplaceFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes,
                           mode_t mode = 0644);
