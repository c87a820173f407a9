// Texts and file names of the settings are Windows-1252 bytes; these turn them into what Qt
// shows and what this platform opens.
#pragma once

#include <QString>
#include <string>
#include <string_view>

// Windows-1252 bytes to a QString; CR LF pairs become single line feeds.
QString DisplayText(std::string_view windows1252);

// programDir + a file name from the settings: UTF-8, with '\' turned into '/'.
std::string SettingsFilePath(const std::string& programDir, std::string_view windows1252Name);
