// Plays every program of the self-update chain for the handoff tests:
//   PLAY_OLD      the old program that has just installed "MorvoTMP_" + its own name: starts it
//                 with "UPDATE_1 " + its own path, lingers a little, and ends;
//   anything else the real entry logic; a normal start only records itself.
// Each step reached is appended to "events.txt" beside the program; when MORVO_ACTOR_KILL_AT
// names that step, the process ends there at once, as if killed: nothing after it runs.
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "entry/ProgramEntry.h"
#include "platform/FileSystem.h"
#include "platform/ProgramDir.h"

using namespace morvo;

namespace {

void Record(const std::string& event) {
  std::ofstream(FsPath(ProgramDir() + "events.txt"), std::ios::app | std::ios::binary)
      << event << "\n";
}

void OnStep(HandoffStep step) {
  const std::string name = HandoffStepName(step);
  Record(name);
  const char* killAt = std::getenv("MORVO_ACTOR_KILL_AT");
  if (killAt != nullptr && name == killAt) std::_Exit(137);
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> parameters(argv, argv + argc);
  const std::string self = ProgramPath();
  SystemShell shell;
  if (parameters.size() > 1 && parameters[1] == "PLAY_OLD") {
    const std::string copy = ProgramDir() + "MorvoTMP_" + FileNameOfPath(self);
    shell.Start(copy, "UPDATE_1 " + self, "");
    std::this_thread::sleep_for(std::chrono::milliseconds(400));
    Record("OldProgramEnds");
    return 0;
  }
  HandoffOptions options;
  options.onStep = OnStep;
  if (RunEntry(parameters, self, shell, options)) Record("NormalStart");
  return 0;
}
