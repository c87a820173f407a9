// The Windows stand-in for a game: it records that it was started, in which folder and with
// which parameters, in game-started.txt beside itself (UTF-8, one item a line):
//   command line: <the whole command line>
//   folder: <the current folder>
//   parameter: <each parameter, as the program's start-up code splits the line>
// The file is written under a temporary name and renamed, so a reader never sees half of it.
#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include <string>

namespace {

std::string Utf8(const std::wstring& text) {
  if (text.empty()) return {};
  const int size = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                         nullptr, 0, nullptr, nullptr);
  std::string bytes(size, '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), bytes.data(), size,
                        nullptr, nullptr);
  return bytes;
}

std::wstring CurrentFolder() {
  std::wstring folder(::GetCurrentDirectoryW(0, nullptr), L'\0');
  folder.resize(::GetCurrentDirectoryW(static_cast<DWORD>(folder.size()), folder.data()));
  return folder;
}

std::wstring OwnFolder() {
  std::wstring path(32768, L'\0');
  path.resize(::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size())));
  return path.substr(0, path.find_last_of(L'\\') + 1);
}

std::string Record() {
  const wchar_t* line = ::GetCommandLineW();
  std::string record = "command line: " + Utf8(line) + "\r\n";
  record += "folder: " + Utf8(CurrentFolder()) + "\r\n";
  int count = 0;
  if (wchar_t** words = ::CommandLineToArgvW(line, &count)) {
    for (int i = 1; i < count; ++i) record += "parameter: " + Utf8(words[i]) + "\r\n";
    ::LocalFree(words);
  }
  return record;
}

bool WriteWhole(const std::wstring& path, const std::string& bytes) {
  HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const bool whole =
      ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
      written == bytes.size();
  ::CloseHandle(file);
  return whole;
}

}  // namespace

int main() {
  const std::wstring folder = OwnFolder();
  const std::wstring temporary = folder + L"game-started.tmp";
  if (!WriteWhole(temporary, Record())) return 1;
  return ::MoveFileExW(temporary.c_str(), (folder + L"game-started.txt").c_str(),
                       MOVEFILE_REPLACE_EXISTING)
             ? 0
             : 1;
}
