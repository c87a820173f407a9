// One installation pass that exercises every kind of work (loose files in new and existing
// folders, a new configuration, first copies, merges and repacks of archives), for the tests
// that interrupt it (a killed process, a power cut) and compare what recovery makes of it with
// an uninterrupted pass.
#pragma once

#include <map>
#include <string>

#include "InstallTestSupport.h"

namespace morvo {

// The game folder before the pass: installed archives, a loose file, three downloaded and
// registered containers.
void PrepareThreeContainerGame(GameFolder& folder);

// What the game folder holds, archives by content; the log is left out.
using GameSnapshot = std::map<std::string, ArchiveEntries>;
GameSnapshot Snapshot(const GameFolder& folder);

// What the launcher's start does before the list is fetched: finish pending repacks, find the
// registered containers still present, install them.
void RecoverAtStart(GameFolder& folder);

}  // namespace morvo
