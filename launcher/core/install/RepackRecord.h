// A small record, kept in the program's folder, of archives that received a merge and still wait
// for their repack, so that a run killed before its repack pass ended has it finished by the
// next start.
#pragma once

#include <string>
#include <vector>

#include "engine/TemporaryNames.h"

namespace morvo {

// Adds archivePath (a full path in programDir) to the record; one write, so a kill leaves the
// record as it was or with the whole line.
void RecordPendingRepack(const std::string& programDir, const std::string& archivePath);

// The recorded archives that still exist, each once, in the order they were recorded.
std::vector<std::string> PendingRepacks(const std::string& programDir);

void ClearPendingRepacks(const std::string& programDir);

}  // namespace morvo
