// run_list_bench GAME_DIR LIST_FILE: one patch run in GAME_DIR, without a window, whose patch
// list is LIST_FILE (read through a file:// address); prints the seconds the run took and how
// many patches it failed to bring.
#include <chrono>
#include <cstdio>
#include <string>

#include "FakeWindow.h"
#include "engine/PatchRun.h"

using namespace morvo;

int main(int argc, char** argv) {
  if (argc != 3 || argv[2][0] != '/') {
    std::fprintf(stderr, "usage: run_list_bench GAME_DIR /ABSOLUTE/LIST_FILE\n");
    return 1;
  }
  const std::string gameDir = std::string(argv[1]) + "/";
  PatcherSettings settings;
  settings.LogEnabled = true;
  settings.PatchListUrl = std::string("file://") + argv[2];
  Logger log(gameDir);
  FakeWindow window;
  PatchRunState state(gameDir);
  PatchContext context{settings, log, window, state, gameDir, gameDir + "MorvoPatcher"};

  const auto start = std::chrono::steady_clock::now();
  {
    PatchRun run(context);
    run.RecoverUnfinishedPatches();
    run.RunPatches();
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    std::printf("%.3f %d\n", elapsed.count(), run.Outcome().FailedPatches);
  }
  return 0;
}
