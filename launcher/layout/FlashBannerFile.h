// The Flash banner's movie file: written for a Flash control to read while it loads, then
// deleted. Neither window program has such a control, so the band stays empty; the file still
// comes and goes as the installation expects.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace morvo {

// Writes movie (nothing when absent) to programDir + "MorvoTMPBanner.swf" and deletes it again.
// Written as every other file: a link planted under the file's name is replaced, never
// followed. The file never outlives this call, whatever happened while it was written.
void HandOverFlashMovie(const std::optional<std::vector<std::uint8_t>>& movie,
                        const std::string& programDir);

}  // namespace morvo
