#include <windows.h>

#include "platform/FileSystem.h"
#include "platform/Shell.h"
#include "platform/UniqueHandle.h"
#include "platform/WideText.h"

namespace morvo {

namespace {

bool StartProgram(const std::string& program, std::string_view parameters,
                  const std::string& workingDir) {
  // The program's own name first, then each parameter quoted so that the program's start-up
  // code splits the line back into exactly these words.
  std::string line = QuoteCommandLineWord(program);
  for (const std::string& word : SplitCommandLine(parameters)) {
    line += ' ';
    line += QuoteCommandLineWord(word);
  }
  std::wstring commandLine = Widen(line);  // CreateProcessW may write into it
  const std::wstring folder = Widen(workingDir);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started{};
  // No handle is inherited: the run lock and the log stay with this process.
  if (!::CreateProcessW(Widen(program).c_str(), commandLine.data(), nullptr, nullptr, FALSE,
                        CREATE_NEW_PROCESS_GROUP, nullptr,
                        folder.empty() ? nullptr : folder.c_str(), &startup, &started)) {
    return false;
  }
  const UniqueHandle process(started.hProcess);
  const UniqueHandle thread(started.hThread);
  return true;
}

bool OpenThroughDesktop(const std::string& target, std::string_view parameters,
                        const std::string& workingDir) {
  const std::wstring file = Widen(target);
  const std::wstring words = Widen(parameters);
  const std::wstring folder = Widen(workingDir);
  SHELLEXECUTEINFOW info{};
  info.cbSize = sizeof info;
  // Done before returning, and no dialog of the shell's own: the result is ours to report.
  info.fMask = SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI | SEE_MASK_NOCLOSEPROCESS;
  info.lpFile = file.c_str();
  info.lpParameters = words.empty() ? nullptr : words.c_str();
  info.lpDirectory = folder.empty() ? nullptr : folder.c_str();
  info.nShow = SW_SHOWNORMAL;
  if (!::ShellExecuteExW(&info)) return false;
  const UniqueHandle process(info.hProcess);
  return true;
}

bool IsAddress(const std::string& target) { return target.find("://") != std::string::npos; }

}  // namespace

bool SystemShell::Start(const std::string& program, std::string_view parameters,
                        const std::string& workingDir) {
  if (program.empty()) return false;
  // A program file (a link to one opens through the shell, which runs it as well).
  if (!IsAddress(program) && IsRunnableFile(program)) {
    return StartProgram(program, parameters, workingDir);
  }
  // A missing document is a failure, not the opener's.
  if (!IsAddress(program) && !IsRegularFile(program)) return false;
  return OpenThroughDesktop(program, parameters, workingDir);
}

}  // namespace morvo
