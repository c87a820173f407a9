// The kinds of address a download takes: http and https, and local files
// ("file:///C:/Games/p0001.pak", "file://localhost/srv/list.ini").
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace morvo {

// True for an http or https address (the scheme's letter case ignored).
bool IsHttpUrl(std::string_view url);

// The path a file address names, percent escapes decoded: the part after an empty host or
// "localhost", without a slash in front of a drive letter ("/C:/x" -> "C:/x"); a drive letter
// in the host's place ("file://C:/x") names that drive too. nullopt for any other host, no
// path, an escape of a NUL or control byte, or an address that is no file address.
std::optional<std::string> LocalPathOfFileUrl(std::string_view url);

}  // namespace morvo
