// Colours of the configuration: 0x00BBGGRR (red in the lowest byte), or 0x80000000 + n for the
// platform's system colour n, which maps to the matching role of the application palette.
#pragma once

#include <QColor>
#include <cstdint>

QColor ColorFromSetting(std::int32_t value);
