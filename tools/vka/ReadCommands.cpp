// vka list, extract and check: commands that read an archive.
#include <cinttypes>
#include <cstdio>
#include <fstream>
#include <unordered_map>

#include "ArchiveFile.h"
#include "EntryContent.h"
#include "EntryNames.h"
#include "Progress.h"
#include "ToolConsole.h"
#include "Utf8Path.h"
#include "VkaCommands.h"
#include "text/Windows1252.h"
#include "vka/vka.h"

using namespace morvo;

namespace fs = std::filesystem;
using vka::ArchiveEntry;
using vka::ArchiveFile;

namespace {

std::string kindOf(const ArchiveEntry& entry) {
  if (!entry.hasData()) return "dir";
  if (entry.flags == vka::kFileFlag) return "file";
  char flags[8];
  std::snprintf(flags, sizeof flags, "0x%02X", entry.flags);
  return flags;
}

// The last entry of each name (the newest after merges), in table order; or the entries
// of the names asked for.
std::vector<const ArchiveEntry*> newestEntries(const ArchiveFile& archive,
                                               const std::vector<std::string>& wanted,
                                               std::string& missing) {
  std::unordered_map<std::string_view, const ArchiveEntry*> newest;
  for (const ArchiveEntry& entry : archive.entries()) newest[archive.name(entry)] = &entry;
  std::vector<const ArchiveEntry*> chosen;
  if (wanted.empty()) {
    for (const ArchiveEntry& entry : archive.entries()) {
      if (newest[archive.name(entry)] == &entry) chosen.push_back(&entry);
    }
    return chosen;
  }
  for (const std::string& utf8 : wanted) {
    const std::string name = Utf8ToWindows1252(utf8).value_or(utf8);
    const auto found = newest.find(name);
    if (found == newest.end()) {
      missing = utf8;
      return {};
    }
    chosen.push_back(found->second);
  }
  return chosen;
}

// Through the path itself, which holds every character of the output folder's name.
bool writeContent(const ArchiveFile& archive, const ArchiveEntry& entry, const fs::path& target) {
  std::error_code error;
  fs::create_directories(target.parent_path(), error);
  std::ofstream out(target, std::ios::binary | std::ios::trunc);
  if (!out) return false;
  const bool inflated =
      vka::inflateEntry(archive, entry, [&](const std::uint8_t* piece, std::size_t length) {
        out.write(reinterpret_cast<const char*>(piece), static_cast<std::streamsize>(length));
        return out.good();
      });
  out.close();
  return inflated && !out.fail();
}

}  // namespace

int ListArchive(const CommandArguments& args) {
  const std::string& path = args.operands[0];
  ArchiveFile archive;
  if (!OpenOrFail(archive, path, "r")) return kExitFailure;
  for (const ArchiveEntry& entry : archive.entries()) {
    PrintText(stdout, "%-4s %10" PRIu32 " %10" PRIu32 "  %s\n", kindOf(entry).c_str(),
              entry.uncompressedSize, entry.compressedSize,
              Windows1252ToUtf8(archive.name(entry)).c_str());
  }
  return kExitOk;
}

int ExtractArchive(const CommandArguments& args) {
  const std::string& path = args.operands[0];
  ArchiveFile archive;
  if (!OpenOrFail(archive, path, "r")) return kExitFailure;
  std::string missing;
  const auto chosen =
      newestEntries(archive, {args.operands.begin() + 1, args.operands.end()}, missing);
  if (!missing.empty()) return Fail(path, "no entry named " + missing);
  // Every name is checked before anything is written.
  std::vector<fs::path> targets;
  for (const ArchiveEntry* entry : chosen) {
    const auto relative = ExtractPathOf(archive.name(*entry));
    if (!relative) {
      return Fail(path, "entry name " + Windows1252ToUtf8(archive.name(*entry)) +
                            " would land outside the output folder; nothing extracted");
    }
    targets.push_back(PathOfUtf8(args.outputFolder) / *relative);
  }
  TerminalProgress progress("extracting", chosen.size());
  for (std::size_t i = 0; i < chosen.size(); ++i) {
    progress.step();
    std::error_code error;
    if (!chosen[i]->hasData()) {
      fs::create_directories(targets[i], error);
      if (error) return Fail(Utf8OfPath(targets[i]), "cannot create the folder");
    } else if (!writeContent(archive, *chosen[i], targets[i])) {
      return Fail(Utf8OfPath(targets[i]), "cannot be written, or the entry does not decompress");
    }
  }
  return kExitOk;
}

int CheckArchive(const CommandArguments& args) {
  const std::string& path = args.operands[0];
  ArchiveFile archive;
  if (!OpenOrFail(archive, path, "r")) return kExitFailure;
  TerminalProgress progress("checking", archive.entryCount());
  std::uint64_t files = 0;
  std::vector<std::string> bad;
  for (const ArchiveEntry& entry : archive.entries()) {
    progress.step();
    if (!entry.hasData()) continue;
    ++files;
    if (!vka::inflateEntry(archive, entry, [](const std::uint8_t*, std::size_t) { return true; })) {
      bad.push_back(Windows1252ToUtf8(archive.name(entry)));
    }
  }
  if (!bad.empty()) {
    return Fail(path, "entry " + bad.front() + " does not decompress to its size" +
                          (bad.size() > 1 ? " (and " + std::to_string(bad.size() - 1) + " more)"
                                          : std::string()));
  }
  PrintText(stdout,
            "%s: version %" PRIu32 ", %" PRIu32 " entries, %" PRIu64
            " files decompress to their sizes\n",
            path.c_str(), archive.version(), archive.entryCount(), files);
  return kExitOk;
}
