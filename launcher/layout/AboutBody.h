// The text of the About window: the configured free text, then the product lines.
#pragma once

#include <optional>
#include <string>

namespace morvo {

inline constexpr char kProductVersionLine[] = "Morvo Patcher version 1.3.0.3.";

// aboutText (Windows-1252), CR LF twice, 50 hyphens, CR LF twice, then the version, credit,
// rights and web lines in French or English; Windows-1252 bytes, lines ended by CR LF.
std::string AboutBody(const std::string& aboutText, bool english);

// The About window's buttons, in French or English.
struct AboutCaptions {
  const char* Register;
  const char* Close;
};
AboutCaptions AboutButtonCaptions(bool english);

// The About window's language for a Language setting: 0 French (false), 1 English (true), any
// other value none (the window keeps what it showed before).
std::optional<bool> AboutLanguageIsEnglish(int language);

}  // namespace morvo
