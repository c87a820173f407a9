// Reading a configuration from memory, for checks of a file that is not installed yet.
#pragma once

#include <cstdint>
#include <span>

#include "config/ConfigRecord.h"
#include "config/PatcherSettings.h"

namespace morvo {

// The same rules as LoadConfig, over bytes already read; settings change only on true.
bool ParseConfig(std::span<const std::uint8_t> bytes, PatcherSettings& settings);

// The same rules, keeping every field as stored; record changes only on true.
bool ParseConfigRecord(std::span<const std::uint8_t> bytes, ConfigRecord& record);

// True when bytes begin with the 23 bytes of the magic, exactly.
bool HasConfigMagic(std::span<const std::uint8_t> bytes);

}  // namespace morvo
