// The twelve configured status texts by what they say, so that no file picks one by a bare
// number.
#pragma once

#include <cstddef>
#include <string>

#include "config/PatcherSettings.h"

namespace morvo {

enum class StatusMessage : std::size_t {
  GameStartFailed = 0,   // head of the error box when the game cannot be started
  RecoveryChecked = 1,   // unfinished patches checked, the news page loads
  NewsLoaded = 2,        // the news page is there, the list download starts
  ListFetching = 3,      // the server list download runs
  ListReceived = 4,      // the server list has arrived
  PatchesToFetch = 5,    // there are patches to download
  NothingToFetch = 6,    // nothing to download: end of the run
  Installing = 7,        // the installation; head of each installed file's line
  InstallationDone = 8,  // the installation is over: end of the run
  DownloadProgress = 9,  // head of the download progress line
  MergeProgress = 10,    // head of the archive merge line
  RepackProgress = 11,   // head of the archive repack line
};

inline const std::string& StatusText(const PatcherSettings& settings, StatusMessage message) {
  return settings.Messages[static_cast<std::size_t>(message)];
}

}  // namespace morvo
