// Writing a configuration file, for the description tool and for tests that need one.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "config/PatcherSettings.h"

namespace morvo {

// The file bytes: magic, fields in order, SkinImage, and BannerData (empty when absent) only
// when BannerKind > 0. nullopt when a text is longer than the format's 255 bytes or a blob is
// larger than a count can say.
std::optional<std::vector<std::uint8_t>> SerializeConfig(const PatcherSettings& settings);

// Writes directory + "Config.mpc" through a temporary file and one rename.
bool SaveConfig(const std::string& directory, const PatcherSettings& settings);

}  // namespace morvo
