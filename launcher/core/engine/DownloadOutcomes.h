// Which patch downloads of a run arrived, so that only those are registered as installed and a
// failed one is fetched again by the next run.
#pragma once

#include <map>
#include <string>

#include "engine/PatchRunState.h"

namespace morvo {

class DownloadOutcomes {
 public:
  // A patch is known by its file name; when two URLs share one, the later download decides,
  // as it replaced the earlier one's container.
  void Record(const std::string& url, bool arrived);

  // Removes from DownloadUrls every patch that did not arrive, and from InstalledEntries any
  // line of such a patch (a "name=0" line would otherwise be written back as "name=1").
  void KeepArrivedOnly(PatchRunState& state) const;

  // How many patches (by name) did not arrive.
  int FailedCount() const;

 private:
  bool Arrived(const std::string& name) const;

  std::map<std::string, bool> arrivedByName_;
};

}  // namespace morvo
