// Arbitrary bytes installed as a downloaded patch container in a scratch game folder. Besides
// the sanitizers, it stops on anything written beside the game folder: no destination may lead
// out of it.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "FakeWindow.h"
#include "config/PatcherSettings.h"
#include "install/InstallPatches.h"
#include "log/Logger.h"

using namespace morvo;

namespace fs = std::filesystem;

namespace {

const std::string& Scratch() {
  static const std::string scratch =
      (fs::temp_directory_path() / ("morvo-fuzz-container-" + std::to_string(::getpid())))
          .string() +
      "/";
  return scratch;
}

void CheckNothingOutside() {
  for (const auto& entry : fs::directory_iterator(Scratch())) {
    if (entry.path().filename() != "game") std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string game = Scratch() + "game/";
  fs::remove_all(Scratch());
  fs::create_directories(game + "Data");
  std::ofstream(game + "Config.mpc") << "settings";

  const std::string container = game + "MorvoTMPfuzz.pak";
  std::ofstream(container, std::ios::binary)
      .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  std::ofstream(game + "MorvoPatchsList.ini", std::ios::binary) << "[patchs]\r\nfuzz.pak=1\r\n";

  PatcherSettings settings;
  settings.Messages.fill("%s %d");  // configured texts may hold directives of their own
  Logger log(game);
  log.LogOpen();
  FakeWindow window;
  PatchRunState state(game);
  state.InstallFiles.push_back(container);
  PatchContext context{settings, log, window, state, game, game + "MorvoPatcher"};
  InstallPatches(context);
  log.LogClose();

  CheckNothingOutside();
  fs::remove_all(Scratch());
  return 0;
}
