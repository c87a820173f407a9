// The text of the About window: the configured free text, then the product lines.
#pragma once

#include <string>

inline constexpr char kProductVersionLine[] = "Morvo Patcher version 1.3.0.3.";

// aboutText (Windows-1252), CR LF twice, 50 hyphens, CR LF twice, then the version, credit,
// rights and web lines in French or English; Windows-1252 bytes, lines ended by CR LF.
std::string AboutBody(const std::string& aboutText, bool english);
