// mkpatch: build, list, extract, index and sign patch containers and their lists.
#include <map>
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
    "       mkpatch index --base-url URL [--sign NAME.key] [-o LIST] PATCH...\n"
    "                                            a server patch list of the containers, with\n"
    "                                            their SHA-256 in [sha256]: printed, or written\n"
    "                                            to LIST; --sign writes LIST.sig beside it\n"
    "       mkpatch keygen -o NAME               a key pair: NAME.key (private, readable by its\n"
    "                                            owner only) and NAME.pub (for mkconfig)\n"
    "       mkpatch verify LIST [--key NAME.pub] [PATCH...]\n"
    "                                            check LIST.sig and that the list offers each\n"
    "                                            patch with a digest (with --key), and each\n"
    "                                            PATCH against its listed digest\n"
    "Exit status: 0 success, 1 failure (one line on stderr), 2 wrong usage.\n";

int Usage(const std::string& problem) {
  PrintText(stderr, "mkpatch: %s\n%s", problem.c_str(), kUsage);
  return kExitUsage;
}

// Splits args (after the command) into the values of the options named and the rest, in
// order; false when an option is given twice or without its value.
bool SplitOptions(const std::vector<std::string>& args, std::map<std::string, std::string>& values,
                  std::vector<std::string>& rest) {
  for (std::size_t i = 1; i < args.size(); ++i) {
    if (!values.contains(args[i])) {
      rest.push_back(args[i]);
      continue;
    }
    if (i + 1 == args.size() || !values[args[i]].empty() || args[i + 1].empty()) return false;
    values[args[i]] = args[i + 1];
    ++i;
  }
  return true;
}

int Index(const std::vector<std::string>& args) {
  std::map<std::string, std::string> options = {{"--base-url", ""}, {"--sign", ""}, {"-o", ""}};
  IndexRequest request;
  if (!SplitOptions(args, options, request.Patches) || options["--base-url"].empty() ||
      request.Patches.empty()) {
    return Usage("index needs --base-url URL and at least one PATCH");
  }
  request.BaseUrl = options["--base-url"];
  request.SigningKey = options["--sign"];
  request.Output = options["-o"];
  if (!request.SigningKey.empty() && request.Output.empty()) {
    return Usage("index --sign needs -o LIST, beside which LIST.sig is written");
  }
  return WriteIndex(request);
}

int Verify(const std::vector<std::string>& args) {
  std::map<std::string, std::string> options = {{"--key", ""}};
  std::vector<std::string> rest;
  if (!SplitOptions(args, options, rest) || rest.empty()) {
    return Usage("verify needs LIST, then --key NAME.pub and the PATCHes to check");
  }
  return VerifyList(rest[0], options["--key"], {rest.begin() + 1, rest.end()});
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
  if (command == "index") return Index(args);
  if (command == "verify") return Verify(args);
  if (command == "keygen") {
    if (args.size() != 3 || args[1] != "-o" || args[2].empty())
      return Usage("keygen needs -o NAME");
    return GenerateKeys(args[2]);
  }
  return Usage("unknown command '" + command + "'");
}

}  // namespace

int Fail(const std::string& message) {
  PrintText(stderr, "mkpatch: %s\n", message.c_str());
  return kExitFailure;
}

int main(int argc, char** argv) { return Run(ToolArguments(argc, argv)); }
