// The commands of the vka tool. Each returns the process exit status.
#pragma once

#include <string>
#include <vector>

namespace vka {
class ArchiveFile;
}

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;

// Every text in UTF-8, as the command line gave it.
struct CommandArguments {
  std::vector<std::string> operands;
  std::string root = ".";    // --root: entry names are paths relative to it
  char separator = '\\';     // --sep: folder separator inside entry names
  std::string outputFolder;  // -o
};

int ListArchive(const CommandArguments& args);
int CreateArchive(const CommandArguments& args);
int AddToArchive(const CommandArguments& args);
int ExtractArchive(const CommandArguments& args);
int MergeArchives(const CommandArguments& args);
int RepackArchive(const CommandArguments& args);
int CheckArchive(const CommandArguments& args);

// Prints "vka: FILE: REASON" on stderr and gives kExitFailure.
int Fail(const std::string& file, const std::string& reason);
// A library result code in words.
std::string ResultInWords(int result);
// A path given in UTF-8 as the library's 8-bit calls take it (the ANSI code page on
// Windows); empty, which opens nothing, when that encoding cannot hold it.
std::string NarrowPathOf(const std::string& utf8);
// Opens the archive at a UTF-8 path; on failure prints why and gives false.
bool OpenOrFail(vka::ArchiveFile& archive, const std::string& path, const char* mode);
