// Runs a command-line tool as its users do, in a folder of the test's, and collects what it
// printed. ToolRunPosix.cpp (the shell) and ToolRunWin32.cpp (CreateProcess).
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace vka::test {

struct Outcome {
  int status;  // the exit code, -1 when the tool did not end normally
  std::string out;
  std::string err;
};

// `program` run with `args` in `folder`; its output lands in files there first.
Outcome runTool(const std::string& program, const std::vector<std::string>& args,
                const std::filesystem::path& folder);

}  // namespace vka::test
