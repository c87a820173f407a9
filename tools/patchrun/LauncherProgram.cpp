#include "LauncherProgram.h"

#include <filesystem>
#include <set>

#include "text/AsciiText.h"

using namespace morvo;

std::string LauncherProgramPath(const std::string& programDir) {
  std::set<std::string> matches;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(programDir, error)) {
    const std::string name = entry.path().filename().string();
    if (EqualsIgnoringAsciiCase(name, kLauncherFileName)) matches.insert(name);
  }
  return programDir + (matches.empty() ? std::string(kLauncherFileName) : *matches.begin());
}
