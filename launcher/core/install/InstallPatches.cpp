#include "install/InstallPatches.h"

#include <array>
#include <optional>
#include <string>

#include "config/PatcherSettings.h"
#include "config/StatusMessages.h"
#include "install/ArchiveMerge.h"
#include "install/FilesInUse.h"
#include "install/InstalledFiles.h"
#include "install/PatchContainer.h"
#include "install/ProgramCopy.h"
#include "install/RepackRecord.h"
#include "lists/PatchLists.h"
#include "log/LogLines.h"
#include "platform/AtomicFile.h"
#include "platform/FileSystem.h"
#include "platform/GamePath.h"
#include "platform/ProgramDir.h"
#include "text/AsciiText.h"
#include "text/MessageFormat.h"
#include "text/Windows1252.h"

namespace morvo {

namespace {

constexpr std::size_t kChunkSize = 4096;
constexpr std::int64_t kPieceSize = 1024 * 1024;

// Where one entry's data go, and what follows their writing.
struct EntryTarget {
  enum class Kind { LooseFile, Archive, Configuration, ProgramCopy };
  Kind Type = Kind::LooseFile;
  std::string Path;         // the file written
  std::string Destination;  // an archive's place in the game folder
  bool PathExists = true;   // false when Path is known to be a new file
};

// One container being installed: position k of n in the pass.
class ContainerInstall {
 public:
  ContainerInstall(PatchContext& context, ContainerReader& reader, std::size_t k, std::size_t n)
      : context_(context), reader_(reader), k_(k), n_(n), installed_(context.ProgramDir) {}

  // False when the entry could not be installed; its error line has been logged.
  bool InstallEntry();
  const std::string& ProgramCopy() const { return programCopy_; }
  // The files put in place so far, to be forced to the disk before the container goes.
  const InstalledFiles& Installed() const { return installed_; }

 private:
  std::optional<EntryTarget> ChooseTarget(const ContainerEntryHeader& header);
  bool CheckConfiguration(const ContainerEntryHeader& header, bool& accepted);
  bool CopyData(const std::string& target, std::int32_t size, unsigned mode);
  bool EnsureFolderFor(const std::string& target);
  bool Corrupt();

  PatchContext& context_;
  ContainerReader& reader_;
  std::size_t k_, n_;
  std::string programCopy_;
  InstalledFiles installed_;
  // The folders searched for names in another letter case, with what this container created.
  FolderListings listings_;
};

bool ContainerInstall::Corrupt() {
  context_.Log.LogLine(loglines::kContainerInvalid);
  return false;
}

// The destination written by a program copy is the running program's own file name.
bool IsProgramCopy(const PatchContext& context, std::string_view destName) {
  const std::string program = FileNameOfPath(context.ProgramPath);
  return !program.empty() && EqualsIgnoringAsciiCase(Windows1252ToUtf8(destName), program);
}

std::optional<EntryTarget> ContainerInstall::ChooseTarget(const ContainerEntryHeader& header) {
  const std::string& dir = context_.ProgramDir;
  const std::string sourceFile = Windows1252ToUtf8(WindowsFileName(header.SourceName));
  if (IsProgramCopy(context_, header.DestName)) {
    return EntryTarget{EntryTarget::Kind::ProgramCopy, dir + kProgramCopyPrefix + sourceFile, {}};
  }
  if (EqualsIgnoringAsciiCase(header.DestName, kConfigFileName)) {
    // Whatever case the container writes, the file the launcher reads is replaced.
    bool exists = true;
    auto config = ResolveGamePath(dir, kConfigFileName, &listings_, &exists);
    if (!config) return std::nullopt;
    return EntryTarget{EntryTarget::Kind::Configuration, *config, {}, exists};
  }
  bool exists = true;
  auto destination = ResolveGamePath(dir, header.DestName, &listings_, &exists);
  if (!destination) return std::nullopt;
  if (IsArchiveFile(header.SourceName)) {
    return EntryTarget{EntryTarget::Kind::Archive, dir + kExtractedArchivePrefix + sourceFile,
                       *destination};
  }
  return EntryTarget{EntryTarget::Kind::LooseFile, *destination, {}, exists};
}

// Reads the configuration magic at the head of the data. accepted tells whether the data are
// to be written; when not, they have been skipped. False when the container ends early.
bool ContainerInstall::CheckConfiguration(const ContainerEntryHeader& header, bool& accepted) {
  Logger& log = context_.Log;
  log.LogLine(loglines::kConfigCheck);
  std::array<char, kConfigMagicSize> magic{};
  const bool fits = static_cast<std::size_t>(header.DataSize) >= kConfigMagicSize;
  if (fits && !reader_.ReadExact(magic.data(), magic.size())) return Corrupt();
  accepted = fits && std::string_view(magic.data(), magic.size()) == kConfigMagic;
  if (accepted) {
    reader_.Rewind(kConfigMagicSize);
    log.LogLine(loglines::kConfigCheckDone);
    return true;
  }
  log.LogLine(loglines::kConfigCheckError);
  const std::int64_t rest = header.DataSize - (fits ? std::int64_t{kConfigMagicSize} : 0);
  return reader_.Skip(rest) || Corrupt();
}

bool ContainerInstall::CopyData(const std::string& target, std::int32_t size, unsigned mode) {
  PatchWindow& window = context_.Window;
  AtomicFileWriter writer(target);
  window.SetGaugeMaxValue(size);
  context_.Log.LogFormat(loglines::kEntryWrite, {ShownFileName(target)});
  if (!writer.IsOpen()) {
    context_.Log.LogLine(loglines::kEntryWriteError);
    return false;
  }
  // The gauge and the window's events keep their 4096-byte steps; the bytes move in pieces of
  // up to 1 MiB, inside the kernel where it can, so a large file is copied once, not twice.
  std::int64_t stepped = 0;
  std::int64_t written = 0;
  while (stepped < size) {
    window.SetGaugeProgress(stepped);
    window.ProcessPendingEvents();
    stepped += std::min<std::int64_t>(kChunkSize, size - stepped);
    if (stepped - written < kPieceSize && stepped < size) continue;
    const std::int64_t piece = stepped - written;
    const std::int64_t got = reader_.CopyTo(writer, piece);
    if (writer.Failed()) break;
    if (got < piece) return Corrupt();
    written = stepped;
  }
  // A file in use (a loaded library, a running program) is renamed aside to let the new one in.
  const auto putInPlace = [this](const std::string& temp, const std::string& placed) {
    return PutInPlace(context_, temp, placed);
  };
  if (written == size && writer.Commit(mode, false, putInPlace)) return true;
  context_.Log.LogLine(loglines::kEntryWriteError);
  return false;
}

// The folder of target, created where missing; known to exist once a file went there, so that
// thousands of files in one folder do not ask for it each time.
bool ContainerInstall::EnsureFolderFor(const std::string& target) {
  const std::string folder = FolderOfPath(target);
  if (listings_.KnownToExist(folder)) return true;
  if (!EnsureFolderOf(target)) return false;
  listings_.Exists(folder);
  return true;
}

// The permission bits of the file replaced, so that an update keeps them.
unsigned ModeFor(const EntryTarget& target) {
  constexpr unsigned kNewFileMode = 0644;
  const unsigned mode =
      target.PathExists ? PermissionBits(target.Path).value_or(kNewFileMode) : kNewFileMode;
  return target.Type == EntryTarget::Kind::ProgramCopy ? mode | 0111 : mode;
}

bool ContainerInstall::InstallEntry() {
  ContainerEntryHeader header;
  if (!reader_.ReadEntryHeader(header)) return Corrupt();
  context_.Window.SetStatusText(
      FormatMessage(StatusText(context_.Settings, StatusMessage::Installing) + " (%d/%d - %s) ...",
                    {k_, n_, header.SourceName}));
  context_.Log.LogFormat(loglines::kEntryRead, {header.SourceName, header.DataSize});

  const auto target = ChooseTarget(header);
  if (!target) {
    context_.Log.LogFormat(loglines::kDestinationRefused, {WithoutControls(header.DestName)});
    return false;
  }
  if (target->Type == EntryTarget::Kind::Configuration) {
    bool accepted = false;
    if (!CheckConfiguration(header, accepted)) return false;
    if (!accepted) return true;
  }
  if (target->Type == EntryTarget::Kind::LooseFile && !EnsureFolderFor(target->Path)) {
    context_.Log.LogLine(loglines::kEntryWriteError);
    return false;
  }
  if (!CopyData(target->Path, header.DataSize, ModeFor(*target))) return false;

  if (target->Type == EntryTarget::Kind::Archive) {
    // A first copy renames the extracted archive into its place; a merge flushes by itself, and
    // flushing it again finds nothing left to write.
    if (!MergeArchive(context_, target->Path, target->Destination)) return false;
    installed_.Add(target->Destination);
    listings_.Added(context_.ProgramDir, target->Destination);
    return true;
  }
  installed_.Add(target->Path);
  listings_.Added(context_.ProgramDir, target->Path);
  if (target->Type == EntryTarget::Kind::Configuration) context_.State.ConfigReplaced = true;
  if (target->Type == EntryTarget::Kind::ProgramCopy) programCopy_ = target->Path;
  return true;
}

// The register name of a container: its file name without the "MorvoTMP" prefix.
std::string PatchNameOf(const std::string& containerPath) {
  std::string name = FileNameOfPath(containerPath);
  if (name.starts_with(kContainerPrefix)) name.erase(0, sizeof kContainerPrefix - 1);
  return name;
}

// False when the container was there but could not be installed completely.
bool InstallContainer(PatchContext& context, const std::string& path, std::size_t k,
                      std::size_t n) {
  Logger& log = context.Log;
  log.LogFormat(loglines::kPatchLine, {ShownFileName(path)});
  auto reader = ContainerReader::Open(path);
  if (!reader) return true;  // a failed download, already counted by the run

  std::int32_t count = 0;
  bool complete = reader->ReadHeader(count);
  std::string programCopy;
  if (!complete) {
    log.LogLine(loglines::kContainerInvalid);
  } else {
    log.LogFormat(loglines::kContainerExtract, {count});
    ContainerInstall install(context, *reader, k, n);
    for (std::int32_t i = 0; i < count && complete; ++i) complete = install.InstallEntry();
    programCopy = install.ProgramCopy();
    // Deleting the container records the patch as installed: what it wrote must be on the disk
    // first, or a power cut could leave empty files that nothing would repair.
    if (complete && !install.Installed().FlushToDisk()) {
      log.LogLine(loglines::kContainerFlushError);
      complete = false;
    }
  }
  reader.reset();
  RemoveFile(path);
  if (!complete) {
    // A container that did not install completely is not an installed patch: the next run
    // downloads it again.
    RemoveFromRegister(context.State, PatchNameOf(path));
    return false;
  }
  if (!programCopy.empty()) StartProgramCopy(context, programCopy);
  return true;
}

}  // namespace

int InstallPatches(PatchContext& context) {
  PatchRunState& state = context.State;
  const std::size_t n = state.InstallFiles.size();
  int failed = 0;
  for (std::size_t k = 0; k < n; ++k) {
    if (!InstallContainer(context, state.InstallFiles[k], k + 1, n)) ++failed;
  }

  RemoveDuplicateArchives(state);
  RepackArchives(context, state.MergedArchives);
  ClearPendingRepacks(context.ProgramDir);
  return failed;
}

void ResumeInterruptedRepacks(PatchContext& context) {
  RepackArchives(context, PendingRepacks(context.ProgramDir));
  ClearPendingRepacks(context.ProgramDir);
}

}  // namespace morvo
