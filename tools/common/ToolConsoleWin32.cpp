#include <fcntl.h>
#include <io.h>
#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include <algorithm>
#include <cwchar>
#include <memory>

#include "ToolConsole.h"

namespace {

struct LocalFreeDeleter {
  void operator()(wchar_t** block) const { LocalFree(block); }
};

std::string Utf8Of(const wchar_t* wide, int length) {
  if (length <= 0) return {};
  const int size = WideCharToMultiByte(CP_UTF8, 0, wide, length, nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<std::size_t>(size > 0 ? size : 0), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide, length, utf8.data(), size, nullptr, nullptr);
  return utf8;
}

// Bytes that are no UTF-8 become U+FFFD rather than vanishing.
std::wstring WideOf(std::string_view utf8) {
  if (utf8.empty()) return {};
  const int length = static_cast<int>(utf8.size());
  const int size = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), length, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(size > 0 ? size : 0), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), length, wide.data(), size);
  return wide;
}

// The standard streams through the process's standard handles, so that a handle set with
// SetStdHandle is the one written; any other stream through the C runtime's own handle.
HANDLE HandleOf(std::FILE* stream) {
  if (stream == stdout) return GetStdHandle(STD_OUTPUT_HANDLE);
  if (stream == stderr) return GetStdHandle(STD_ERROR_HANDLE);
  return reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream)));
}

bool IsConsole(HANDLE handle) {
  DWORD mode = 0;
  return handle != nullptr && handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode) != 0;
}

}  // namespace

std::vector<std::string> ToolArguments(int argc, char** argv) {
  int count = 0;
  const std::unique_ptr<wchar_t*, LocalFreeDeleter> wide(
      CommandLineToArgvW(GetCommandLineW(), &count));
  // Without the wide command line, the C runtime's ANSI arguments are all there is.
  if (!wide) {
    return argc > 1 ? std::vector<std::string>(argv + 1, argv + argc) : std::vector<std::string>();
  }
  std::vector<std::string> args;
  for (int i = 1; i < count; ++i) {
    args.push_back(Utf8Of(wide.get()[i], static_cast<int>(std::wcslen(wide.get()[i]))));
  }
  return args;
}

void WriteText(std::FILE* stream, std::string_view utf8) {
  const HANDLE handle = HandleOf(stream);
  if (!IsConsole(handle)) {
    std::fwrite(utf8.data(), 1, utf8.size(), stream);
    return;
  }
  // What the C runtime still buffers comes first.
  std::fflush(stream);
  const std::wstring wide = WideOf(utf8);
  for (std::size_t done = 0; done < wide.size();) {
    DWORD written = 0;
    const auto piece = static_cast<DWORD>(std::min<std::size_t>(wide.size() - done, 16384));
    if (WriteConsoleW(handle, wide.data() + done, piece, &written, nullptr) == 0 || written == 0) {
      return;
    }
    done += written;
  }
}

void WriteBytesToStdout(std::string_view bytes) {
  std::fflush(stdout);
  const int previous = _setmode(_fileno(stdout), _O_BINARY);
  std::fwrite(bytes.data(), 1, bytes.size(), stdout);
  std::fflush(stdout);
  if (previous != -1) _setmode(_fileno(stdout), previous);
}

bool IsTerminal(std::FILE* stream) { return IsConsole(HandleOf(stream)); }
