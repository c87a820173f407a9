#include "Win32Text.h"

#include "platform/WideText.h"
#include "text/Windows1252.h"

using namespace morvo;

std::wstring WideFrom1252(std::string_view windows1252) {
  return Widen(Windows1252ToUtf8(windows1252));
}
