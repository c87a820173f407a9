#include <windows.h>

#include "ArchiveTestSupport.h"
#include "ToolRun.h"

namespace vka::test {

namespace {

// One argument quoted for the C runtime's command-line parser: backslashes are literal
// except before a double quote, where they are doubled.
std::wstring quoted(const std::wstring& arg) {
  std::wstring text = L"\"";
  std::size_t backslashes = 0;
  for (wchar_t c : arg) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    text.append(c == L'"' ? 2 * backslashes + 1 : backslashes, L'\\');
    backslashes = 0;
    text += c;
  }
  text.append(2 * backslashes, L'\\');
  return text + L"\"";
}

// The test's texts are UTF-8, as on every platform; the tool reads them back from its ANSI
// command line.
std::wstring wide(const std::string& utf8) { return utf8Path(utf8).wstring(); }

HANDLE inheritableFile(const std::filesystem::path& path) {
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  return CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS,
                     FILE_ATTRIBUTE_NORMAL, nullptr);
}

// Text written in the C runtime's text mode ends its lines with CR LF on Windows.
std::string withoutCarriageReturns(const Bytes& bytes) {
  std::string text;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') continue;
    text += static_cast<char>(bytes[i]);
  }
  return text;
}

}  // namespace

Outcome runTool(const std::string& program, const std::vector<std::string>& args,
                const std::filesystem::path& folder) {
  std::wstring commandLine = quoted(wide(program));
  for (const std::string& arg : args) commandLine.append(L" ").append(quoted(wide(arg)));
  const std::filesystem::path out = folder / "stdout.txt", err = folder / "stderr.txt";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  startup.hStdOutput = inheritableFile(out);
  startup.hStdError = inheritableFile(err);
  PROCESS_INFORMATION process{};
  const bool started = CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0,
                                      nullptr, folder.c_str(), &startup, &process) != 0;
  CloseHandle(startup.hStdOutput);
  CloseHandle(startup.hStdError);
  Outcome outcome{-1, {}, {}};
  if (!started) return outcome;
  WaitForSingleObject(process.hProcess, INFINITE);
  DWORD code = 0;
  if (GetExitCodeProcess(process.hProcess, &code) != 0) outcome.status = static_cast<int>(code);
  CloseHandle(process.hProcess);
  CloseHandle(process.hThread);
  outcome.out = withoutCarriageReturns(readBytes(out.string()));
  outcome.err = withoutCarriageReturns(readBytes(err.string()));
  return outcome;
}

}  // namespace vka::test
