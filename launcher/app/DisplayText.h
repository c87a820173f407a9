// Texts and file names of the settings are Windows-1252 bytes; these turn them into what Qt
// shows and what this platform opens.
#pragma once

#include <QString>
#include <string>
#include <string_view>

// Windows-1252 bytes to a QString; CR LF pairs become single line feeds.
QString DisplayText(std::string_view windows1252);

// programDir + a file name from the settings, as this platform opens it: an existing file whose
// name differs only in letter case is the one meant, as on the file system the game was made
// for. Names that cannot be resolved inside programDir (".." parts, a drive letter) are joined
// as they stand, in UTF-8 with '\' turned into '/'.
std::string SettingsFilePath(const std::string& programDir, std::string_view windows1252Name);
