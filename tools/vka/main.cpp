// vka: list, build, extract, merge, repack and check the game's data archives.
#include <string>
#include <vector>

#include "ToolConsole.h"
#include "VkaCommands.h"

namespace {

struct Command {
  const char* name;
  const char* synopsis;
  const char* description;
  std::size_t minOperands;
  std::size_t maxOperands;
  int (*run)(const CommandArguments&);
};

constexpr std::size_t kAny = ~std::size_t{0};

const Command kCommands[] = {
    {"list", "vka list ARCHIVE", "kind, content size, stored size and name of every entry", 1, 1,
     ListArchive},
    {"create", "vka create ARCHIVE [--root DIR] [--sep /] FILE...",
     "a new archive of the files (folders walked), compressed, named by their path relative\n"
     "  to DIR (default: the current folder) with '\\' between folders unless --sep /",
     2, kAny, CreateArchive},
    {"add", "vka add ARCHIVE [--root DIR] [--sep /] FILE...",
     "the files appended to an existing archive, named as by create; a name already present\n"
     "  is added again and the newer entry wins at the next repack",
     2, kAny, AddToArchive},
    {"extract", "vka extract ARCHIVE [NAME...] -o DIR",
     "the newest entry of each name (or of the names given) decompressed under DIR; names\n"
     "  that are absolute or hold '..' are refused before anything is written",
     1, kAny, ExtractArchive},
    {"merge", "vka merge SOURCE DEST", "every entry of SOURCE appended to DEST", 2, 2,
     MergeArchives},
    {"repack", "vka repack ARCHIVE",
     "the archive rebuilt with the newest entry of each name, through ARCHIVE.tmp", 1, 1,
     RepackArchive},
    {"check", "vka check ARCHIVE",
     "opens the archive, counts its entries and decompresses every file entry", 1, 1, CheckArchive},
};

void printHelp(const Command* only) {
  for (const Command& command : kCommands) {
    if (only != nullptr && only != &command) continue;
    PrintText(stdout, "%s\n  %s\n", command.synopsis, command.description);
  }
  WriteText(stdout, "Exit status: 0 success, 1 failure (one line on stderr), 2 wrong usage.\n");
}

int usage(const Command* command, const std::string& problem) {
  PrintText(stderr, "vka: %s\nusage: %s\n", problem.c_str(),
            command != nullptr ? command->synopsis : "vka COMMAND ... (vka --help)");
  return kExitUsage;
}

int run(const std::vector<std::string>& argv) {
  if (argv.empty()) return usage(nullptr, "no command");
  if (argv[0] == "--help" || argv[0] == "-h") {
    printHelp(nullptr);
    return kExitOk;
  }
  const Command* command = nullptr;
  for (const Command& candidate : kCommands) {
    if (argv[0] == candidate.name) command = &candidate;
  }
  if (command == nullptr) return usage(nullptr, "unknown command " + argv[0]);
  CommandArguments args;
  const bool takesNames = command->run == CreateArchive || command->run == AddToArchive;
  for (std::size_t i = 1; i < argv.size(); ++i) {
    const std::string& arg = argv[i];
    const bool hasValue = i + 1 < argv.size();
    if (arg == "--help" || arg == "-h") {
      printHelp(command);
      return kExitOk;
    } else if (arg == "-o" && command->run == ExtractArchive && hasValue) {
      args.outputFolder = argv[++i];
    } else if (arg == "--root" && takesNames && hasValue) {
      args.root = argv[++i];
    } else if (arg == "--sep" && takesNames && hasValue) {
      const std::string separator = argv[++i];
      if (separator != "/" && separator != "\\") return usage(command, "--sep takes / or \\");
      args.separator = separator[0];
    } else if (arg.size() > 1 && arg[0] == '-') {
      return usage(command, "unknown or incomplete option " + arg);
    } else {
      args.operands.push_back(arg);
    }
  }
  if (args.operands.size() < command->minOperands || args.operands.size() > command->maxOperands) {
    return usage(command, "wrong number of arguments");
  }
  if (command->run == ExtractArchive && args.outputFolder.empty()) {
    return usage(command, "extract needs -o DIR");
  }
  return command->run(args);
}

}  // namespace

int main(int argc, char** argv) { return run(ToolArguments(argc, argv)); }
