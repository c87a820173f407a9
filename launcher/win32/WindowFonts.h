// Fonts of the skinned window and their measurements.
#pragma once

#include <windows.h>

#include <string>

#include "GdiOwners.h"

// MS Sans Serif 8 pt at 96 dpi (13-pixel lines); the font mapper picks the nearest face where it
// is missing.
UniqueFont DesignFont();

// A font of the settings: face (Windows-1252), size in points at 96 dpi, bold or not. A size of 0
// or less keeps the design font's size; an empty face keeps its face.
UniqueFont SettingsFont(const std::string& name, int points, bool bold);

// Width and height of text (lines split at CR LF) in font.
SIZE MeasureText(HFONT font, const std::wstring& text);
