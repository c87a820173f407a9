// Texts of the settings are Windows-1252 bytes; this turns them into what Qt shows.
#pragma once

#include <QString>
#include <string>
#include <string_view>

// Windows-1252 bytes to a QString; CR LF pairs become single line feeds.
QString DisplayText(std::string_view windows1252);
