// Between entry names (Windows-1252 bytes, '\' between folders) and paths on this system.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

// The entry name of `file`: its path relative to `root`, folders joined by `separator`,
// in Windows-1252. Nullopt, with the reason in `problem`, when the file lies outside the
// root or its name cannot be stored.
std::optional<std::string> EntryNameOf(const std::filesystem::path& file,
                                       const std::filesystem::path& root, char separator,
                                       std::string& problem);

// The relative path an entry is extracted to, in UTF-8. Nullopt for a name that would land
// outside the output folder: absolute, with a drive, or with a ".." folder.
std::optional<std::filesystem::path> ExtractPathOf(std::string_view entryName);
