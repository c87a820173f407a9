// Where the running program lies; every file the program reads or writes by itself is
// ProgramDir() followed by a plain file name.
#pragma once

#include <string>

namespace morvo {

// The characters that end a folder name in a path of this platform: '/', and on Windows '\'
// too.
extern const char kFolderSeparators[];

// Full path of the running executable, in UTF-8.
std::string ProgramPath();

// The folder of ProgramPath(), ending in its separator.
std::string ProgramDir();

// The file-name part of a path: the text after the last folder separator.
std::string FileNameOfPath(const std::string& path);

// The folder part of a path: the text up to and including the last separator, empty when none.
std::string FolderOfPath(const std::string& path);

// Creates the folder part of path and any missing parents; true when it exists afterwards (or
// path has no folder part).
bool EnsureFolderOf(const std::string& path);

}  // namespace morvo
