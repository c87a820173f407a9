#include <windows.h>
// After windows.h, whose types it uses.
#include <tlhelp32.h>

#include "platform/FileIdentity.h"
#include "platform/RunningProgram.h"
#include "platform/UniqueHandle.h"
#include "platform/WideText.h"

namespace morvo {

namespace {

// The program file that process id runs, or nullopt when the process cannot be asked.
std::optional<FileIdentity> ProgramOfProcess(DWORD id) {
  const UniqueHandle process(::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id));
  if (!process.IsOpen()) return std::nullopt;
  std::wstring image(32768, L'\0');
  DWORD size = static_cast<DWORD>(image.size());
  if (!::QueryFullProcessImageNameW(process.Get(), 0, image.data(), &size)) return std::nullopt;
  image.resize(size);
  return IdentityOfPath(image);
}

}  // namespace

bool IsProgramRunning(const std::string& path) {
  const auto file = IdentityOfPath(Widen(path));
  if (!file) return false;
  const UniqueHandle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  if (!snapshot.IsOpen()) return false;
  const DWORD self = ::GetCurrentProcessId();
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = ::Process32FirstW(snapshot.Get(), &entry); more;
       more = ::Process32NextW(snapshot.Get(), &entry)) {
    if (entry.th32ProcessID == self || entry.th32ProcessID == 0) continue;
    // Compared by identity, not by name: the same file under any of its names.
    if (ProgramOfProcess(entry.th32ProcessID) == file) return true;
  }
  return false;
}

}  // namespace morvo
