// UTF-8 texts of the core (paths, addresses) as the UTF-16 that the wide Windows calls take.
#pragma once

#include <string>
#include <string_view>

namespace morvo {

// Empty when text is no valid UTF-8 (or is empty).
std::wstring WideOfUtf8(std::string_view text);
// Lossless for every valid UTF-16 text.
std::string Utf8OfWide(std::wstring_view text);

}  // namespace morvo
