#include <windows.h>

#include "platform/ProgramDir.h"
#include "platform/WideText.h"

namespace morvo {

// Windows takes both; the paths it gives use '\'.
const char kFolderSeparators[] = "\\/";

std::string ProgramPath() {
  std::wstring buffer(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n == 0) return {};
    // A full buffer may hold a cut path: try again with more room.
    if (n < buffer.size()) return Utf8OfWide(std::wstring_view(buffer.data(), n));
    buffer.resize(buffer.size() * 2);
  }
}

}  // namespace morvo
