#include "LauncherProgram.h"

#include <filesystem>
#include <set>

#include "Utf8Path.h"
#include "text/AsciiText.h"

using namespace morvo;

std::string LauncherProgramPath(const std::string& programDir) {
  std::set<std::string> matches;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(PathOfUtf8(programDir), error)) {
    const std::string name = Utf8OfPath(entry.path().filename());
    if (EqualsIgnoringAsciiCase(name, kLauncherFileName)) matches.insert(name);
  }
  return programDir + (matches.empty() ? std::string(kLauncherFileName) : *matches.begin());
}
