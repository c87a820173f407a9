// Values of a configuration description line: texts, numbers, flags and lists, both ways.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The Windows-1252 bytes of a text value: taken as it stands, or in double quotes with the
// escapes \\ \" \r \n \t \xNN. nullopt with error set when it cannot be converted.
std::optional<std::string> ParseTextValue(std::string_view value, std::string& error);

// A text in double quotes with escapes, whose ParseTextValue gives bytes back unchanged.
std::string QuoteTextValue(std::string_view bytes);

// A decimal int32, or 0x followed by up to 8 hex digits (taken as the stored 32 bits).
std::optional<std::int32_t> ParseNumberValue(std::string_view value);

// count numbers separated by commas.
std::optional<std::vector<std::int32_t>> ParseNumberList(std::string_view value, std::size_t count);

// true, false, or a number stored as it is.
std::optional<std::int32_t> ParseFlagValue(std::string_view value);

std::string FormatHex(std::int32_t value);
std::string FormatFlag(std::int32_t stored);

std::string_view Trim(std::string_view text);
