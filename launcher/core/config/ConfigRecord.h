// A configuration file field by field, exactly as stored: texts with all their L bytes, flags
// with their whole int32. The description tool works on this; the program reads settings.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "config/PatcherSettings.h"

namespace morvo {

enum class ConfigFieldKind { Text, Int32, Flag, Colour, Rect, Size, Blob, SigningKey };

struct ConfigField {
  std::string Name;
  ConfigFieldKind Kind = ConfigFieldKind::Int32;
  std::string Text;                   // Text: the stored bytes
  std::vector<std::int32_t> Numbers;  // Int32, Flag, Colour: 1; Rect: 4 (X, Y, W, H); Size: 2
  std::vector<std::uint8_t> Blob;     // Blob; SigningKey: the 64 bytes of the key

  bool operator==(const ConfigField&) const = default;
};

// The fields after the magic, in file order.
using ConfigRecord = std::vector<ConfigField>;

// How many int32 values a field of kind holds (0 for texts and blobs).
std::size_t NumberCount(ConfigFieldKind kind);

// The fields a file holds, with empty values; BannerData only when bannerPresent. The optional
// SigningKey trailer is not among them.
ConfigRecord ConfigSchema(bool bannerPresent);

// The stored form of settings (flags as 0 or 1).
ConfigRecord RecordOfSettings(const PatcherSettings& settings);

// The file bytes: magic, then the fields. nullopt when a text is longer than 255 bytes, a blob
// larger than a count can say, a field has the wrong number of values, or a SigningKey field
// is not the last one or does not hold 64 bytes.
std::optional<std::vector<std::uint8_t>> EncodeConfigRecord(const ConfigRecord& record);

}  // namespace morvo
