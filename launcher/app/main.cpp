// MorvoPatcher: the handoff modes first, then the skinned window and its event loop.
#include <QApplication>
#include <cstdlib>

#include "AboutForm.h"
#include "FirstPaintProbe.h"
#include "MainForm.h"
#include "SanitizerOptions.h"
#include "WindowCaption.h"
#include "engine/PatchRunState.h"
#include "entry/ProgramEntry.h"
#include "media/NewsPane.h"
#include "platform/ProgramDir.h"
#include "platform/Shell.h"

using namespace morvo;

namespace {

int RunWindows(int argc, char** argv, LauncherContext context) {
  NewsPane::PrepareWebEngine();
  QApplication application(argc, argv);
  // The application's name is what a task bar groups the program's windows under. It is not
  // the display name, which the window system would append to every window title.
  QCoreApplication::setApplicationName(QString::fromLatin1(kApplicationTitle));

  const PatcherSettings& settings = context.Settings;
  TMainForm mainForm(std::move(context));
  TAboutForm aboutForm(settings, mainForm.Sound());
  mainForm.SetAboutForm(&aboutForm);
  if (mainForm.TerminateRequested()) return 0;

  WatchFirstPaint(&mainForm);
  mainForm.show();
  mainForm.activateWindow();
  application.exec();
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string programDir = ProgramDir();
  PatcherSettings settings;
  Logger log(programDir);
  PatchRunState runState(programDir);
  SystemShell shell;
  const std::string programPath = ProgramPath();

  if (!RunEntry(std::vector<std::string>(argv, argv + argc), programPath, shell)) return 0;
  return RunWindows(argc, argv,
                    LauncherContext{settings, log, runState, shell, programDir, programPath,
                                    [](int code) { std::_Exit(code); }});
}
