// VKA_Fusion, VKA_CheckVersion and VKA_GetFileCount: short sequences of ArchiveFile steps.
#include "ArchiveFile.h"
#include "vka/vka.h"

using vka::ArchiveEntry;
using vka::ArchiveFile;

extern "C" VKA_API int32_t VKA_CALL VKA_Fusion(const char* sourcePath, const char* destinationPath,
                                               VKA_Progress progress) {
  ArchiveFile source;
  const int opened = source.open(sourcePath, "r");
  if (opened != VKA_OK) return opened;
  ArchiveFile destination;
  // Whatever is wrong with the destination, it is reported as "cannot be opened".
  if (destination.open(destinationPath, "r+") != VKA_OK) return VKA_ERR_OPEN;
  // Both archives were checked whole by open: nothing is written for a damaged one. The
  // new data and table go behind the old table; the header moves to them only at the end.
  std::vector<const ArchiveEntry*> chosen;
  chosen.reserve(source.entryCount());
  for (const ArchiveEntry& entry : source.entries()) chosen.push_back(&entry);
  const int merged = destination.copyEntriesAndCommit(
      source, chosen,
      [progress] {
        if (progress != nullptr) progress();
      },
      vka::SourceAfterCopy::Kept);
  if (merged != VKA_OK) {
    destination.discard();
    return merged;
  }
  return destination.close();
}

extern "C" VKA_API int32_t VKA_CALL VKA_CheckVersion(const char* path) {
  ArchiveFile archive;
  const int opened = archive.open(path, "r");
  return opened == VKA_OK ? static_cast<int32_t>(archive.version()) : opened;
}

extern "C" VKA_API int32_t VKA_CALL VKA_GetFileCount(const char* path) {
  ArchiveFile archive;
  const int opened = archive.open(path, "r");
  return opened == VKA_OK ? static_cast<int32_t>(archive.entryCount()) : opened;
}
