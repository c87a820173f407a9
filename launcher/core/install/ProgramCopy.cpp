#include "install/ProgramCopy.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <span>

#include "engine/TemporaryNames.h"
#include "log/LogLines.h"
#include "platform/AtomicFile.h"

namespace morvo {

namespace {

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
  if (!name.starts_with(kProgramCopyPrefix) || name.ends_with(kAtomicWriteSuffix)) {
    return false;
  }
  struct stat info {};
  return ::lstat(entry.path().c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
         (info.st_mode & S_IXUSR) != 0;
}

// The file name of the copy that a start already tried again; empty when none was.
std::string TriedCopy(const std::string& recordPath) {
  std::ifstream record(recordPath, std::ios::binary);
  std::string name;
  std::getline(record, name);
  return name;
}

void RecordTriedCopy(const std::string& recordPath, const std::string& name) {
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(name.data());
  ReplaceFileAtomically(recordPath, std::span<const std::uint8_t>(bytes, name.size()));
}

}  // namespace

bool SurvivesHandoff(std::string_view path) {
  const auto control = [](char c) { return static_cast<unsigned char>(c) < 0x20; };
  return !path.empty() && path.front() != ' ' && path.back() != ' ' &&
         path.find("  ") == std::string_view::npos && path.find('"') == std::string_view::npos &&
         std::none_of(path.begin(), path.end(), control);
}

bool StartProgramCopy(PatchContext& context, const std::string& copy) {
  const std::string name = std::filesystem::path(copy).filename().string();
  if (!SurvivesHandoff(context.ProgramPath)) {
    context.Log.LogFormat(loglines::kProgramCopyDeferred, {name});
    context.State.SelfUpdateDeferred = true;
    return false;
  }
  if (!context.Window.StartProgram(copy, "UPDATE_1 " + context.ProgramPath, "")) {
    context.Log.LogFormat(loglines::kProgramCopyStartError, {name});
    return false;
  }
  context.Window.CloseMainWindow();
  return true;
}

bool ResumeInterruptedSelfUpdate(PatchContext& context) {
  const std::string recordPath = context.ProgramDir + kSelfUpdateRecordFileName;
  const std::string tried = TriedCopy(recordPath);
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(context.ProgramDir, error)) {
    if (!IsProgramCopy(entry)) continue;
    const std::string copy = entry.path().string();
    const std::string name = entry.path().filename().string();
    if (SameBytes(copy, context.ProgramPath)) {
      std::remove(copy.c_str());
      continue;
    }
    if (name == tried) {
      // Started again once already and still here: it cannot finish the handoff.
      std::remove(copy.c_str());
      context.Log.LogFormat(loglines::kProgramCopyDropped, {name});
      continue;
    }
    // Recorded before the start: the copy may end this process at once.
    if (SurvivesHandoff(context.ProgramPath)) RecordTriedCopy(recordPath, name);
    return StartProgramCopy(context, copy);
  }
  // No copy waits any more: the record of an earlier one is done with.
  std::remove(recordPath.c_str());
  return false;
}

}  // namespace morvo
