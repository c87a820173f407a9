// Files for secrets: created new, readable and writable by their owner only from the first
// moment (no window in which others may open them), never replacing anything.
#pragma once

#include <string>
#include <string_view>

// Creates path (UTF-8) with bytes. False, with why set, when anything has the name already or
// the file cannot be written; a file that could not be written whole is removed.
bool CreateOwnerOnlyFile(const std::string& path, std::string_view bytes, std::string& why);
