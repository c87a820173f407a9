#include "install/InstalledFiles.h"

#include <algorithm>
#include <atomic>
#include <mutex>
#include <set>
#include <system_error>
#include <thread>
#include <vector>

#include "platform/FileSystem.h"
#include "platform/ProgramDir.h"

namespace morvo {

namespace {

// Flushes waiting side by side are served together: the file system commits its journal and
// empties the disk's cache once for all of them, where one after the other each waits for its
// own commit (20 000 small files: minutes instead of seconds).
constexpr std::size_t kFlushers = 16;

// Calls flush on every path, from up to kFlushers threads; false when any call failed.
template <typename Paths>
bool FlushEach(const Paths& paths, bool (*flush)(const std::string&)) {
  auto next = paths.begin();
  std::mutex taking;
  std::atomic<bool> failed{false};
  const auto work = [&] {
    while (true) {
      std::unique_lock lock(taking);
      if (next == paths.end()) return;
      const std::string& path = *next++;
      lock.unlock();
      if (!flush(path)) failed = true;
    }
  };
  {
    std::vector<std::jthread> flushers;
    for (std::size_t i = 1; i < std::min(kFlushers, paths.size()); ++i) {
      try {
        flushers.emplace_back(work);
      } catch (const std::system_error&) {
        break;  // the threads running take over the share of one that could not start
      }
    }
    work();
  }  // joins the flushers
  return !failed;
}

}  // namespace

bool InstalledFiles::FlushToDisk() const {
  std::set<std::string> folders{gameFolder_};
  for (const std::string& file : files_) {
    // FolderOfPath keeps the separator, so the parent is the folder of the text without it.
    for (std::string folder = FolderOfPath(file);
         folder.size() > gameFolder_.size() && folder.starts_with(gameFolder_);
         folder = FolderOfPath(folder.substr(0, folder.size() - 1))) {
      if (!folders.insert(folder).second) break;  // its parents are in already
    }
  }
  if (std::all_of(folders.begin(), folders.end(),
                  [this](const std::string& folder) { return wholeFileSystem_.Covers(folder); })) {
    return wholeFileSystem_.Flush();
  }
  // Every file's data before the folders that name them.
  const bool filesFlushed = FlushEach(files_, FlushFileAt);
  return FlushEach(folders, FlushFolder) && filesFlushed;
}

}  // namespace morvo
