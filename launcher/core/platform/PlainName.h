// The one rule for a file or folder name that every platform reads as itself. Windows reads
// some names as something else (a device, a shorter name, a path) while Linux takes them as
// they are; the launcher refuses them on both, so that the same patches and registers behave
// alike wherever they are installed.
#pragma once

#include <string_view>

namespace morvo {

// True when name is one plain file or folder name: not empty, not "." or "..", no control
// character, none of \ / : < > " | ? *, not ending in a dot or a blank, and not a device name
// of Windows (CON, PRN, AUX, NUL, COM0-COM9, LPT0-LPT9, also with superscript digits), in any
// letter case, alone or before an extension ("nul.txt", "Com1 .log").
bool IsPlainName(std::string_view name);

}  // namespace morvo
