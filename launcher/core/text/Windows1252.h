// Every file format of the system holds Windows-1252 bytes; these convert at the edges only.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace morvo {

// Windows-1252 bytes to UTF-8. The five bytes the code page leaves undefined (0x81, 0x8D, 0x8F,
// 0x90, 0x9D) map to the C1 control of the same number, so the conversion never fails.
std::string Windows1252ToUtf8(std::string_view bytes);

// UTF-8 to Windows-1252; nullopt when the text is not valid UTF-8 or holds a character that has
// no Windows-1252 byte.
std::optional<std::string> Utf8ToWindows1252(std::string_view utf8);

}  // namespace morvo
