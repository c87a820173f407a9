#include "install/ProgramCopy.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <span>

#include "engine/TemporaryNames.h"
#include "log/LogLines.h"
#include "platform/AtomicFile.h"
#include "platform/FileSystem.h"
#include "platform/ProgramDir.h"

namespace morvo {

namespace {

bool SameBytes(const std::string& a, const std::string& b) {
  std::ifstream first(FsPath(a), std::ios::binary);
  std::ifstream second(FsPath(b), std::ios::binary);
  if (!first || !second) return false;
  return std::equal(std::istreambuf_iterator<char>(first), std::istreambuf_iterator<char>(),
                    std::istreambuf_iterator<char>(second), std::istreambuf_iterator<char>());
}

// What the installer leaves as a program copy: a runnable regular file, completely written.
bool IsProgramCopy(const std::filesystem::directory_entry& entry) {
  const std::string name = Utf8Path(entry.path().filename());
  if (!name.starts_with(kProgramCopyPrefix) || name.ends_with(kAtomicWriteSuffix)) {
    return false;
  }
  return IsRunnableFile(Utf8Path(entry.path()));
}

// The file name of the copy that a start already tried again; empty when none was.
std::string TriedCopy(const std::string& recordPath) {
  std::ifstream record(FsPath(recordPath), std::ios::binary);
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
  const std::string name = FileNameOfPath(copy);
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
  for (const auto& entry : std::filesystem::directory_iterator(FsPath(context.ProgramDir), error)) {
    if (!IsProgramCopy(entry)) continue;
    const std::string copy = Utf8Path(entry.path());
    const std::string name = Utf8Path(entry.path().filename());
    if (SameBytes(copy, context.ProgramPath)) {
      RemoveFile(copy);
      continue;
    }
    if (name == tried) {
      // Started again once already and still here: it cannot finish the handoff.
      RemoveFile(copy);
      context.Log.LogFormat(loglines::kProgramCopyDropped, {name});
      continue;
    }
    // Recorded before the start: the copy may end this process at once.
    if (SurvivesHandoff(context.ProgramPath)) RecordTriedCopy(recordPath, name);
    return StartProgramCopy(context, copy);
  }
  // No copy waits any more: the record of an earlier one is done with.
  RemoveFile(recordPath);
  return false;
}

}  // namespace morvo
