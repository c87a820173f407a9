// MorvoPatcher.exe: the handoff modes first, then the skinned window and its message loop.
#include <windows.h>
// These need windows.h before them.
#include <commctrl.h>
#include <ole2.h>
#include <shellapi.h>

#include <memory>
#include <string>
#include <vector>

#include "AboutWindow.h"
#include "MainWindow.h"
#include "engine/PatchRunState.h"
#include "entry/ProgramEntry.h"
#include "platform/ProgramDir.h"
#include "platform/Shell.h"
#include "platform/WideText.h"

using namespace morvo;

namespace {

// The command line as the platform splits it, parameter 0 included, in UTF-8.
std::vector<std::string> CommandLineParameters() {
  int count = 0;
  const std::unique_ptr<wchar_t*, decltype(&::LocalFree)> wide(
      ::CommandLineToArgvW(::GetCommandLineW(), &count), &::LocalFree);
  std::vector<std::string> parameters;
  if (!wide) return parameters;
  for (int i = 0; i < count; ++i) parameters.push_back(Utf8OfWide(wide.get()[i]));
  return parameters;
}

// The window thread's OLE, which the news page's control needs, for the program's life.
class OleScope {
 public:
  OleScope() : initialised_(SUCCEEDED(::OleInitialize(nullptr))) {}
  ~OleScope() {
    if (initialised_) ::OleUninitialize();
  }
  OleScope(const OleScope&) = delete;
  OleScope& operator=(const OleScope&) = delete;

 private:
  bool initialised_;
};

void RunMessageLoop() {
  MSG message;
  while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  const std::string programDir = ProgramDir();
  PatcherSettings settings;
  Logger log(programDir);
  PatchRunState runState(programDir);
  SystemShell shell;
  const std::string programPath = ProgramPath();

  if (!RunEntry(CommandLineParameters(), programPath, shell)) return 0;

  const OleScope ole;
  INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_STANDARD_CLASSES};
  ::InitCommonControlsEx(&controls);

  MainWindow mainWindow(LauncherContext{settings, log, runState, shell, programDir, programPath,
                                        [](int code) { ::ExitProcess(static_cast<UINT>(code)); }});
  AboutWindow aboutWindow(mainWindow.Window(), settings, mainWindow.Sound(), shell);
  mainWindow.SetAboutWindow(&aboutWindow);
  if (mainWindow.TerminateRequested()) return 0;

  mainWindow.Show();
  RunMessageLoop();
  return 0;
}
