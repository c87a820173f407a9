// mkpatch list and extract: what a container holds, and its files written out.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>

#include "MkpatchCommands.h"
#include "ToolConsole.h"
#include "Utf8Path.h"
#include "install/PatchContainer.h"
#include "platform/AtomicFile.h"
#include "platform/GamePath.h"
#include "platform/ProgramDir.h"
#include "text/Windows1252.h"

using namespace morvo;

namespace {

// Walks every entry; visit reads or skips the entry's data and returns false to stop.
template <typename Visit>
int ForEachEntry(const std::string& patch, Visit visit) {
  auto reader = ContainerReader::Open(patch);
  if (!reader) return Fail(patch + ": cannot be opened");
  std::int32_t count = 0;
  if (!reader->ReadHeader(count)) return Fail(patch + ": not a patch container");
  int status = kExitOk;
  for (std::int32_t i = 0; i < count; ++i) {
    ContainerEntryHeader header;
    if (!reader->ReadEntryHeader(header)) {
      return Fail(patch + ": damaged or cut short at entry " + std::to_string(i + 1));
    }
    if (!visit(*reader, header, status)) {
      return Fail(patch + ": cut short in the data of entry " + std::to_string(i + 1));
    }
  }
  return status;
}

bool CopyEntry(ContainerReader& reader, std::int32_t size, AtomicFileWriter& out) {
  char buffer[64 * 1024];
  for (std::int64_t left = size; left > 0;) {
    const std::size_t n = reader.Read(buffer, std::min<std::int64_t>(left, sizeof buffer));
    if (n == 0) return false;
    out.Write(buffer, n);
    left -= static_cast<std::int64_t>(n);
  }
  return true;
}

}  // namespace

int ListContainer(const std::string& patch) {
  return ForEachEntry(patch, [](ContainerReader& reader, const ContainerEntryHeader& header, int&) {
    PrintText(stdout, "%s\t%s\t%d\n", Windows1252ToUtf8(header.SourceName).c_str(),
              Windows1252ToUtf8(header.DestName).c_str(), header.DataSize);
    return reader.Skip(header.DataSize);
  });
}

int ExtractContainer(const std::string& patch, const std::string& outDir) {
  std::error_code error;
  std::filesystem::create_directories(PathOfUtf8(outDir), error);
  if (!std::filesystem::is_directory(PathOfUtf8(outDir), error)) {
    return Fail(outDir + ": not a folder");
  }
  const char separator = std::filesystem::path::preferred_separator;
  const bool ended = outDir.ends_with('/') || outDir.ends_with(separator);
  const std::string root = ended ? outDir : outDir + separator;
  return ForEachEntry(
      patch, [&](ContainerReader& reader, const ContainerEntryHeader& header, int& status) {
        const std::string shown = Windows1252ToUtf8(WithoutControls(header.DestName));
        const auto target = ResolveGamePath(root, header.DestName);
        if (!target) {
          status = Fail(patch + ": destination '" + shown + "' refused: it would leave " + outDir);
          return reader.Skip(header.DataSize);
        }
        if (!EnsureFolderOf(*target)) {
          status = Fail(*target + ": its folder cannot be created");
          return reader.Skip(header.DataSize);
        }
        AtomicFileWriter out(*target);
        if (!CopyEntry(reader, header.DataSize, out)) return false;
        if (!out.Commit()) status = Fail(*target + ": cannot be written");
        return true;
      });
}
