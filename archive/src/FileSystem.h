// The few whole-file operations of a repack, on 8-bit paths as the exports take them.
// FileSystemPosix.cpp and FileSystemWin32.cpp implement them; the build picks one.
#pragma once

namespace vka {

// True when both paths name one existing file (links and different spellings included).
bool sameFile(const char* first, const char* second);
// Deletes `path` when it is a regular file; never a folder that happens to bear the name.
void removeRegularFile(const char* path);
// Puts `from` in the place of `to` in one atomic step that survives a power cut once it
// returned true; `to` is either its old self or `from` at every instant.
bool replaceFile(const char* from, const char* to);

}  // namespace vka
