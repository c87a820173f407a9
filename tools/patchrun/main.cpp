// patchrun GAME_DIR [--start]: the launcher's patch run without a window.
#include <filesystem>
#include <string>

#include "ConsoleWindow.h"
#include "LauncherProgram.h"
#include "ToolConsole.h"
#include "Utf8Path.h"
#include "config/PatcherSettings.h"
#include "engine/WindowlessRun.h"
#include "platform/Shell.h"
#include "text/Windows1252.h"

using namespace morvo;

namespace {

constexpr char kUsage[] =
    "usage: patchrun GAME_DIR [--start]\n"
    "\n"
    "Runs the launcher's patch run on GAME_DIR without a window: reads GAME_DIR/Config.mpc,\n"
    "fetches the news page and the patch list, downloads and installs new patches, and\n"
    "writes the launcher's log there. Each status text is printed as a line.\n"
    "\n"
    "  --start   then start the game as the Start button does\n"
    "\n"
    "Exit status: 0 the run reached its end (and, with --start, the game started);\n"
    "1 usage error or the run stopped early; 2 Config.mpc cannot be read;\n"
    "3 --start was given but play is not allowed or the game could not be started;\n"
    "4 the run reached its end but left patches for the next start: some could not be\n"
    "  downloaded or installed, or the game folder cannot be written (with --start, the\n"
    "  game is still started when play is allowed, and 3 wins when it cannot be).\n";

enum ExitCode { kDone = 0, kUsageError = 1, kNoConfig = 2, kNoGame = 3, kPatchesLeft = 4 };

// The game folder as the launcher's own folder: absolute, ending in the platform's separator.
std::string ProgramDirOf(const std::string& folder) {
  std::error_code error;
  std::string dir = Utf8OfPath(std::filesystem::canonical(PathOfUtf8(folder), error));
  if (!dir.ends_with(std::filesystem::path::preferred_separator)) {
    dir += std::filesystem::path::preferred_separator;
  }
  return dir;
}

}  // namespace

int main(int argc, char** argv) {
  std::string folder;
  bool start = false;
  for (const std::string& arg : ToolArguments(argc, argv)) {
    if (arg == "--help" || arg == "-h") {
      WriteText(stdout, kUsage);
      return kDone;
    }
    if (arg == "--start") {
      start = true;
    } else if (folder.empty() && !arg.empty() && arg[0] != '-') {
      folder = arg;
    } else {
      PrintText(stderr, "patchrun: unexpected argument %s\n%s", arg.c_str(), kUsage);
      return kUsageError;
    }
  }
  std::error_code error;
  if (folder.empty() || !std::filesystem::is_directory(PathOfUtf8(folder), error)) {
    PrintText(stderr, "patchrun: %s\n%s",
              folder.empty() ? "GAME_DIR is missing" : "GAME_DIR is not a folder", kUsage);
    return kUsageError;
  }
  const std::string programDir = ProgramDirOf(folder);
  const std::string programPath = LauncherProgramPath(programDir);

  SystemShell shell;
  ConsoleWindow window(stdout, IsTerminal(stdout), programPath, shell);
  WindowlessLauncher launcher(programDir, programPath, window);
  const WindowlessRunResult result = launcher.Run();
  window.Finish();
  if (!result.ConfigRead) {
    PrintText(stderr, "patchrun: cannot read %s%s\n", programDir.c_str(), kConfigFileName);
    return kNoConfig;
  }
  if (!result.Finished) {
    WriteText(stderr, "patchrun: the run stopped before its end\n");
    return kUsageError;
  }
  if (window.RestartRequested()) {
    WriteText(stdout, "A new configuration was installed: the launcher restarts to read it.\n");
  }
  WriteText(stdout, window.StartShown() ? "Start would be shown.\n" : "Start would stay hidden.\n");
  std::fflush(stdout);
  const ExitCode runEnd = result.FailedPatches > 0 || !result.FolderWritable || !result.ListVerified
                              ? kPatchesLeft
                              : kDone;
  if (!start) return runEnd;
  if (!window.StartShown()) {
    WriteText(stderr, "patchrun: --start: the game may not be started now\n");
    return kNoGame;
  }
  launcher.ClickStart();
  if (!launcher.ErrorText().empty()) {
    PrintText(stderr, "patchrun: %s\n", Windows1252ToUtf8(launcher.ErrorText()).c_str());
    return kNoGame;
  }
  return runEnd;
}
