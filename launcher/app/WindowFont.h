// Fonts of the skinned window.
#pragma once

#include <QFont>
#include <string>

// Line height of the design font (8-point MS Sans Serif at 96 dpi).
inline constexpr int kDesignLineHeight = 13;

// MS Sans Serif 8 pt when installed, otherwise the default interface font sized so that its
// line is 13 pixels high: the window measures captions and the status line in this font.
QFont DesignFont();

// A font of the settings: face (Windows-1252), size in points at 96 dpi, bold or not. A size of
// 0 or less keeps the design font's size.
QFont SettingsFont(const std::string& name, int points, bool bold);
