#include <windows.h>

#include "ProcessTestSupport.h"
#include "platform/Shell.h"
#include "platform/UniqueHandle.h"
#include "platform/WideText.h"

namespace morvo {

std::string ProgramFileName(const std::string& name) { return name + ".exe"; }

int RunProgramAndWait(const std::string& program, const std::vector<std::string>& parameters) {
  std::string line = QuoteCommandLineWord(program);
  for (const auto& p : parameters) line += " " + QuoteCommandLineWord(p);
  std::wstring commandLine = Widen(line);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started{};
  if (!::CreateProcessW(Widen(program).c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0,
                        nullptr, nullptr, &startup, &started)) {
    return -1;
  }
  const UniqueHandle process(started.hProcess);
  const UniqueHandle thread(started.hThread);
  DWORD status = 0;
  if (::WaitForSingleObject(process.Get(), 60000) != WAIT_OBJECT_0 ||
      !::GetExitCodeProcess(process.Get(), &status)) {
    return -1;
  }
  return static_cast<int>(status);
}

StartedProgram::StartedProgram(const std::string& program) {
  std::wstring commandLine = Widen(QuoteCommandLineWord(program));
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started{};
  if (!::CreateProcessW(Widen(program).c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0,
                        nullptr, nullptr, &startup, &started)) {
    return;
  }
  ::CloseHandle(started.hThread);
  process_ = reinterpret_cast<std::intptr_t>(started.hProcess);
}

void StartedProgram::End() {
  if (!Running()) return;
  const UniqueHandle process(reinterpret_cast<HANDLE>(process_));
  process_ = kNone;
  ::TerminateProcess(process.Get(), 1);
  ::WaitForSingleObject(process.Get(), 10000);
}

void SetInheritedVariable(const std::string& name, const std::string& value) {
  ::SetEnvironmentVariableW(Widen(name).c_str(), value.empty() ? nullptr : Widen(value).c_str());
}

bool RunsUnderWine() {
  const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

}  // namespace morvo
