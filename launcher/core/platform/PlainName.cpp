#include "platform/PlainName.h"

#include <algorithm>

#include "text/AsciiText.h"

namespace morvo {

namespace {

bool IsRefusedCharacter(char c) {
  const auto code = static_cast<unsigned char>(c);
  return code < 0x20 || code == 0x7F ||
         std::string_view("\\/:<>\"|?*").find(c) != std::string_view::npos;
}

// The digits a COM or LPT device takes: 0 to 9 and the superscripts 1, 2, 3, written in
// Windows-1252 (a container's names) or in UTF-8 (a URL's).
bool IsDeviceDigit(std::string_view digit) {
  static constexpr std::string_view kSuperscripts[] = {"\xB9",     "\xB2",     "\xB3",
                                                       "\xC2\xB9", "\xC2\xB2", "\xC2\xB3"};
  if (digit.size() == 1 && digit[0] >= '0' && digit[0] <= '9') return true;
  return std::find(std::begin(kSuperscripts), std::end(kSuperscripts), digit) !=
         std::end(kSuperscripts);
}

// Windows opens a device for its name whatever extension follows, and drops the blanks
// before that extension: "con", "CON.txt" and "con .log" all reach the console.
bool IsDeviceName(std::string_view name) {
  std::string_view base = name.substr(0, name.find('.'));
  while (!base.empty() && base.back() == ' ') base.remove_suffix(1);
  static constexpr std::string_view kDevices[] = {"con", "prn", "aux", "nul", "conin$", "conout$"};
  const std::string lower = AsciiLower(base);
  if (std::find(std::begin(kDevices), std::end(kDevices), lower) != std::end(kDevices)) {
    return true;
  }
  return (lower.starts_with("com") || lower.starts_with("lpt")) &&
         IsDeviceDigit(std::string_view(lower).substr(3));
}

}  // namespace

bool IsPlainName(std::string_view name) {
  if (name.empty() || std::any_of(name.begin(), name.end(), IsRefusedCharacter)) return false;
  // Windows drops a trailing dot or blank, so "data.vka." would write "data.vka" (and "." and
  // ".." end in a dot).
  if (name.back() == '.' || name.back() == ' ') return false;
  return !IsDeviceName(name);
}

}  // namespace morvo
