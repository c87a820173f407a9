// mkpatch: build, list, extract and index patch containers.
#include <string>
#include <string_view>
#include <vector>

#include "MkpatchCommands.h"
#include "ToolConsole.h"

namespace {

constexpr char kUsage[] =
    "usage: mkpatch build OUT FILE[=DEST]...     container of the files; DEST defaults to the\n"
    "                                            file's name, '/' in DEST is written as '\\'\n"
    "       mkpatch build OUT --from-dir DIR     every file of DIR, named by its relative path\n"
    "       mkpatch list PATCH                   source, destination and size of each entry\n"
    "       mkpatch extract PATCH -o DIR         write each entry under DIR by its destination\n"
    "       mkpatch index --base-url URL PATCH...\n"
    "                                            print a server patch list of the containers\n"
    "Exit status: 0 success, 1 failure (one line on stderr), 2 wrong usage.\n";

int Usage(const std::string& problem) {
  PrintText(stderr, "mkpatch: %s\n%s", problem.c_str(), kUsage);
  return kExitUsage;
}

int Run(const std::vector<std::string>& args) {
  for (const std::string& arg : args) {
    if (arg == "--help" || arg == "-h") {
      WriteText(stdout, kUsage);
      return kExitOk;
    }
  }
  if (args.empty()) return Usage("no command");
  const std::string& command = args[0];
  if (command == "build") {
    if (args.size() == 4 && args[2] == "--from-dir") return BuildContainerFromDir(args[1], args[3]);
    if (args.size() < 3) return Usage("build needs OUT and at least one FILE");
    return BuildContainer(args[1], {args.begin() + 2, args.end()});
  }
  if (command == "list") {
    if (args.size() != 2) return Usage("list needs one PATCH");
    return ListContainer(args[1]);
  }
  if (command == "extract") {
    if (args.size() != 4 || args[2] != "-o") return Usage("extract needs PATCH -o DIR");
    return ExtractContainer(args[1], args[3]);
  }
  if (command == "index") {
    if (args.size() < 4 || args[1] != "--base-url")
      return Usage("index needs --base-url URL PATCH...");
    return PrintIndex(args[2], {args.begin() + 3, args.end()});
  }
  return Usage("unknown command '" + command + "'");
}

}  // namespace

int Fail(const std::string& message) {
  PrintText(stderr, "mkpatch: %s\n", message.c_str());
  return kExitFailure;
}

int main(int argc, char** argv) { return Run(ToolArguments(argc, argv)); }
