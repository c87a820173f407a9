// run_install_bench GAME_DIR CONTAINER: installs one container into GAME_DIR with a window
// that records every call; prints the seconds it took.
#include <chrono>
#include <cstdio>
#include <string>

#include "FakeWindow.h"
#include "install/InstallPatches.h"

using namespace morvo;

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: run_install_bench GAME_DIR CONTAINER\n");
    return 1;
  }
  const std::string gameDir = std::string(argv[1]) + "/";
  PatcherSettings settings;
  settings.Messages[7] = "Installation";
  Logger log(gameDir);
  FakeWindow window;
  PatchRunState state(gameDir);
  state.InstallFiles = {argv[2]};
  PatchContext context{settings, log, window, state, gameDir, gameDir + "MorvoPatcher"};

  const auto start = std::chrono::steady_clock::now();
  InstallPatches(context);
  const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
  std::printf("%.3f %zu\n", elapsed.count(), window.calls.size());
  return 0;
}
