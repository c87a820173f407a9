#include "entry/Handoff.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>
#include <vector>

#include "engine/TemporaryNames.h"
#include "entry/CommandTail.h"
#include "platform/AtomicFile.h"
#include "platform/FileSystem.h"
#include "platform/ProgramDir.h"
#include "platform/RunningProgram.h"

namespace morvo {

namespace {

void Notify(const HandoffOptions& options, HandoffStep step) {
  if (options.onStep) options.onStep(step);
}

std::filesystem::path CanonicalFolderOf(const std::string& path, std::error_code& error) {
  const std::string folder = FolderOfPath(path);
  return std::filesystem::weakly_canonical(FsPath(folder.empty() ? "." : folder), error);
}

bool SameFolder(const std::string& a, const std::string& b) {
  std::error_code error;
  const auto left = CanonicalFolderOf(a, error);
  if (error) return false;
  const auto right = CanonicalFolderOf(b, error);
  return !error && left == right;
}

bool ReplaceWithCopy(const std::string& target, const std::string& selfPath) {
  std::ifstream in(FsPath(selfPath), std::ios::binary);
  if (!in) return false;
  const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
  if (in.bad()) return false;
  // The target's own permission bits, so it stays runnable as it was; the copy's otherwise.
  std::optional<unsigned> mode = PermissionBits(target);
  if (!mode) mode = PermissionBits(selfPath);
  return mode && ReplaceFileAtomically(target, bytes, *mode);
}

}  // namespace

const char* HandoffStepName(HandoffStep step) {
  switch (step) {
    case HandoffStep::OldProgramGone:
      return "OldProgramGone";
    case HandoffStep::TargetReplaced:
      return "TargetReplaced";
    case HandoffStep::TargetStarted:
      return "TargetStarted";
    case HandoffStep::CopyDeleting:
      return "CopyDeleting";
  }
  return "";
}

void RunHandoffStep1(const std::string& target, const std::string& selfPath, Shell& shell,
                     const HandoffOptions& options) {
  if (target.empty() || SameFile(target, selfPath)) return;
  WaitUntilProgramEnds(target, options.OldProgramWait);
  Notify(options, HandoffStep::OldProgramGone);
  if (ReplaceWithCopy(target, selfPath)) Notify(options, HandoffStep::TargetReplaced);
  if (shell.Start(target, std::string(kHandoffStep2Word) + " " + selfPath, "")) {
    Notify(options, HandoffStep::TargetStarted);
  }
}

void RunHandoffStep2(const std::string& copyPath, const std::string& selfPath,
                     const HandoffOptions& options) {
  if (FileNameOfPath(copyPath).rfind(kTemporaryPrefix, 0) != 0) return;
  if (!SameFolder(copyPath, selfPath) || SameFile(copyPath, selfPath)) return;
  Notify(options, HandoffStep::CopyDeleting);
  const auto deadline = std::chrono::steady_clock::now() + options.DeleteRetry;
  while (!RemoveFile(copyPath)) {
    if (std::chrono::steady_clock::now() >= deadline || !IsProgramRunning(copyPath)) return;
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
}

}  // namespace morvo
