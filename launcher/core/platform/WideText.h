// The one place where the core's UTF-8 paths and texts meet the wide-character calls of
// Windows. Included by ...Win32.cpp files only.
#pragma once

#include <string>
#include <string_view>

namespace morvo {

// UTF-8 to UTF-16; bytes that are not UTF-8 become U+FFFD, which no file name matches.
std::wstring Widen(std::string_view utf8);

// UTF-16 to UTF-8.
std::string Utf8OfWide(std::wstring_view wide);

}  // namespace morvo
