// vka create and add: files compressed into an archive, named by their path.
#include <algorithm>
#include <fstream>

#include "ArchiveFile.h"
#include "EntryNames.h"
#include "FileSystem.h"
#include "Progress.h"
#include "Utf8Path.h"
#include "VkaCommands.h"
#include "vka/vka.h"

namespace fs = std::filesystem;
using vka::ArchiveFile;

namespace {

// The files named on the command line, folders walked in name order.
bool collectFiles(const std::vector<std::string>& operands, std::vector<fs::path>& files) {
  for (const std::string& operand : operands) {
    const fs::path path = PathOfUtf8(operand);
    std::error_code error;
    if (fs::is_directory(path, error)) {
      std::vector<fs::path> found;
      for (const auto& item : fs::recursive_directory_iterator(path, error)) {
        if (item.is_regular_file()) found.push_back(item.path());
      }
      if (error) return Fail(operand, "cannot read the folder: " + error.message()), false;
      std::sort(found.begin(), found.end());
      files.insert(files.end(), found.begin(), found.end());
    } else if (fs::is_regular_file(path, error)) {
      files.push_back(path);
    } else {
      return Fail(operand, "no such file"), false;
    }
  }
  return true;
}

int addFile(ArchiveFile& archive, const fs::path& file, const CommandArguments& args) {
  std::string problem;
  const std::string shown = Utf8OfPath(file);
  const auto name = EntryNameOf(file, PathOfUtf8(args.root), args.separator, problem);
  if (!name) return Fail(shown, problem);
  // Through the path itself, which holds every character of the file's name.
  std::ifstream input(file, std::ios::binary);
  if (!input) return Fail(shown, "cannot be read");
  std::vector<std::uint8_t> buffer(vka::kCopyBufferSize);
  const int added =
      archive.addCompressed(*name, vka::kFileFlag, [&](const std::uint8_t*& piece) -> std::int64_t {
        piece = buffer.data();
        input.read(reinterpret_cast<char*>(buffer.data()),
                   static_cast<std::streamsize>(buffer.size()));
        return input.bad() ? -1 : input.gcount();
      });
  if (added != VKA_OK) return Fail(shown, ResultInWords(added));
  return kExitOk;
}

int addFiles(ArchiveFile& archive, const std::string& archivePath, const CommandArguments& args) {
  std::vector<fs::path> files;
  if (!collectFiles({args.operands.begin() + 1, args.operands.end()}, files)) return kExitFailure;
  TerminalProgress progress("adding", files.size());
  for (const fs::path& file : files) {
    progress.step();
    if (addFile(archive, file, args) != kExitOk) return kExitFailure;
  }
  const int closed = archive.close();
  if (closed != VKA_OK) return Fail(archivePath, ResultInWords(closed));
  return kExitOk;
}

}  // namespace

int CreateArchive(const CommandArguments& args) {
  const std::string& path = args.operands[0];
  // Built beside the target and renamed over it: an existing archive of that name is
  // replaced whole or not at all.
  const std::string building = path + ".tmp";
  const std::string narrowBuilding = NarrowPathOf(building), narrowPath = NarrowPathOf(path);
  ArchiveFile archive;
  if (archive.open(narrowBuilding.c_str(), "w") != VKA_OK) {
    return Fail(building, ResultInWords(VKA_ERR_OPEN));
  }
  int status = addFiles(archive, path, args);
  archive.discard();
  if (status == kExitOk && !vka::replaceFile(narrowBuilding.c_str(), narrowPath.c_str())) {
    status = Fail(path, ResultInWords(VKA_ERR_OPEN));
  }
  if (status != kExitOk) vka::removeRegularFile(narrowBuilding.c_str());
  return status;
}

int AddToArchive(const CommandArguments& args) {
  const std::string& path = args.operands[0];
  ArchiveFile archive;
  if (!OpenOrFail(archive, path, "r+")) return kExitFailure;
  const int status = addFiles(archive, path, args);
  // A failure leaves the archive as it was: nothing was committed.
  archive.discard();
  return status;
}
