#include <sys/wait.h>

#include <cstdio>

#include "ArchiveTestSupport.h"
#include "ToolRun.h"

namespace vka::test {

namespace {

std::string quoted(const std::string& arg) {
  std::string text = "'";
  for (char c : arg) text += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return text + "'";
}

}  // namespace

Outcome runTool(const std::string& program, const std::vector<std::string>& args,
                const std::filesystem::path& folder) {
  const std::string errors = (folder / "stderr.txt").string();
  std::string command = "cd " + quoted(folder.string()) + " && " + quoted(program);
  for (const std::string& arg : args) command.append(" ").append(quoted(arg));
  command.append(" 2>").append(quoted(errors));
  Outcome outcome{};
  std::FILE* pipe = ::popen(command.c_str(), "r");
  char buffer[4096];
  for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
    outcome.out.append(buffer, got);
  }
  const int status = ::pclose(pipe);
  outcome.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  const Bytes err = readBytes(errors);
  outcome.err.assign(err.begin(), err.end());
  return outcome;
}

}  // namespace vka::test
