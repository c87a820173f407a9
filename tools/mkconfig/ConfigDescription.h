// The text description of a configuration file that operators edit: one "Name = value" line
// per field, "#" comment lines, any order.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "config/ConfigRecord.h"

// The record a description gives. SkinImage and BannerData name files relative to baseDir.
// nullopt with error set ("line N: Field: why", or "Field: why" for a missing field).
std::optional<morvo::ConfigRecord> ParseDescription(std::string_view description,
                                                    const std::filesystem::path& baseDir,
                                                    std::string& error);

// The file names dump gives the two blobs: skin.bmp, and banner.<ext> after BannerKind.
std::string SkinFileName();
std::string BannerFileName(std::int32_t bannerKind);

// The description of record: texts quoted, numbers and colours as stored, blobs named by the
// two functions above (their bytes are written by the caller).
std::string DescribeRecord(const morvo::ConfigRecord& record);
