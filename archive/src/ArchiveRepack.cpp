// VKA_Repack: rebuild an archive into a temporary file that keeps the last entry of each
// name, then put it in the archive's place with one atomic rename.
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "ArchiveFile.h"
#include "FileSystem.h"
#include "vka/vka.h"

using vka::ArchiveEntry;
using vka::ArchiveFile;

namespace {

int copyNewestOfEachName(const ArchiveFile& archive, ArchiveFile& rebuilt, VKA_Progress progress) {
  // The rebuilt archive already holds the "data" directory, which wins over any old "data".
  std::unordered_set<std::string_view> taken;
  taken.reserve(archive.entryCount() + 1);
  taken.insert(vka::kDataDirectoryName);
  std::vector<const ArchiveEntry*> kept;
  const auto& entries = archive.entries();
  for (auto entry = entries.rbegin(); entry != entries.rend(); ++entry) {
    if (taken.insert(archive.name(*entry)).second) {
      kept.push_back(&*entry);
    } else if (progress != nullptr) {
      progress();  // an entry dropped counts at once, one kept when its bytes move
    }
  }
  return rebuilt.copyEntriesAndCommit(
      archive, kept,
      [progress] {
        if (progress != nullptr) progress();
      },
      vka::SourceAfterCopy::Deleted);
}

}  // namespace

extern "C" VKA_API int32_t VKA_CALL VKA_Repack(const char* archivePath, const char* tempPath,
                                               VKA_Progress progress) {
  ArchiveFile archive;
  const int opened = archive.open(archivePath, "r+");
  if (opened != VKA_OK) return opened;
  // Building into the archive's own file would empty it before it is read.
  if (tempPath == nullptr || vka::sameFile(archivePath, tempPath)) return VKA_ERR_OPEN;
  ArchiveFile rebuilt;
  if (rebuilt.open(tempPath, "w+") != VKA_OK) {
    vka::removeRegularFile(tempPath);  // created but its header could not be written
    return VKA_ERR_OPEN;
  }
  rebuilt.file().copyAccessFrom(archive.file());
  int result = copyNewestOfEachName(archive, rebuilt, progress);
  rebuilt.close();
  archive.close();
  if (result == VKA_OK && !vka::replaceFile(tempPath, archivePath)) result = VKA_ERR_OPEN;
  if (result != VKA_OK) vka::removeRegularFile(tempPath);
  return result;
}
