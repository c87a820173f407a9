#include "patch/ProgramCopy.h"

#include <sys/stat.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

constexpr char kUnfinishedWriteSuffix[] = ".MorvoTMP";  // the atomic writer's temporary name

bool SameBytes(const std::string& a, const std::string& b) {
  std::ifstream first(a, std::ios::binary);
  std::ifstream second(b, std::ios::binary);
  if (!first || !second) return false;
  return std::equal(std::istreambuf_iterator<char>(first), std::istreambuf_iterator<char>(),
                    std::istreambuf_iterator<char>(second), std::istreambuf_iterator<char>());
}

// What the installer leaves as a program copy: a runnable regular file, completely written.
bool IsProgramCopy(const std::filesystem::directory_entry& entry) {
  const std::string name = entry.path().filename().string();
  if (!name.starts_with(kProgramCopyPrefix) || name.ends_with(kUnfinishedWriteSuffix)) {
    return false;
  }
  struct stat info {};
  return ::lstat(entry.path().c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
         (info.st_mode & S_IXUSR) != 0;
}

}  // namespace

void StartProgramCopy(PatchContext& context, const std::string& copy) {
  context.Window.StartProgram(copy, "UPDATE_1 " + context.ProgramPath, "");
  context.Window.CloseMainWindow();
}

bool ResumeInterruptedSelfUpdate(PatchContext& context) {
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(context.ProgramDir, error)) {
    if (!IsProgramCopy(entry)) continue;
    const std::string copy = entry.path().string();
    if (SameBytes(copy, context.ProgramPath)) {
      std::remove(copy.c_str());
      continue;
    }
    StartProgramCopy(context, copy);
    return true;
  }
  return false;
}
