// VKA_Repack: rebuild an archive into a temporary file that keeps the last entry of each
// name, then put it in the archive's place with one atomic rename.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <string_view>
#include <unordered_set>

#include "ArchiveFile.h"
#include "vka/vka.h"

using vka::ArchiveEntry;
using vka::ArchiveFile;

namespace {

bool sameFile(const char* first, const char* second) {
  struct stat a {
  }, b{};
  return ::stat(first, &a) == 0 && ::stat(second, &b) == 0 && a.st_dev == b.st_dev &&
         a.st_ino == b.st_ino;
}

// Never a folder that happens to bear the temporary name.
void removeRegularFile(const char* path) {
  struct stat status {};
  if (::lstat(path, &status) == 0 && S_ISREG(status.st_mode)) ::unlink(path);
}

// Makes the rename itself durable; a failure here loses nothing, so it is not reported.
void syncFolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

int copyNewestOfEachName(const ArchiveFile& archive, ArchiveFile& rebuilt, VKA_Progress progress) {
  // The rebuilt archive already holds the "data" directory, which wins over any old "data".
  std::unordered_set<std::string_view> taken;
  taken.reserve(archive.entryCount() + 1);
  taken.insert(vka::kDataDirectoryName);
  const auto& entries = archive.entries();
  for (auto entry = entries.rbegin(); entry != entries.rend(); ++entry) {
    if (progress != nullptr) progress();
    if (!taken.insert(archive.name(*entry)).second) continue;
    const int copied = rebuilt.copyEntry(archive, *entry);
    if (copied != VKA_OK) return copied;
  }
  return rebuilt.writeTable();
}

}  // namespace

extern "C" VKA_API int32_t VKA_Repack(const char* archivePath, const char* tempPath,
                                      VKA_Progress progress) {
  ArchiveFile archive;
  const int opened = archive.open(archivePath, "r+");
  if (opened != VKA_OK) return opened;
  // Building into the archive's own file would empty it before it is read.
  if (tempPath == nullptr || sameFile(archivePath, tempPath)) return VKA_ERR_OPEN;
  ArchiveFile rebuilt;
  if (rebuilt.open(tempPath, "w+") != VKA_OK) {
    removeRegularFile(tempPath);  // created but its header could not be written
    return VKA_ERR_OPEN;
  }
  struct stat status {};
  if (::fstat(archive.file().descriptor(), &status) == 0) {
    ::fchmod(rebuilt.file().descriptor(), status.st_mode & 07777);
  }
  int result = copyNewestOfEachName(archive, rebuilt, progress);
  rebuilt.close();
  archive.close();
  if (result == VKA_OK && std::rename(tempPath, archivePath) != 0) result = VKA_ERR_OPEN;
  if (result == VKA_OK) {
    syncFolderOf(archivePath);
  } else {
    removeRegularFile(tempPath);
  }
  return result;
}
