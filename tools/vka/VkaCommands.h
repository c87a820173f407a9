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
// Opens the archive; on failure prints why and gives false.
bool OpenOrFail(vka::ArchiveFile& archive, const std::string& path, const char* mode);
