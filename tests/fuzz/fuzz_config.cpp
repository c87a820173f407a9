// Config.mpc parsing over arbitrary bytes: a refused input must leave the settings untouched,
// and an accepted one must survive a write and a second read unchanged.
#include <cstdint>
#include <cstdlib>
#include <span>

#include "config/ConfigReader.h"
#include "config/ConfigWriter.h"

using namespace morvo;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  PatcherSettings settings;
  settings.GameExe = "untouched";
  const PatcherSettings before = settings;
  if (!ParseConfig(std::span(data, size), settings)) {
    if (!(settings == before)) std::abort();
    return 0;
  }
  const auto written = SerializeConfig(settings);
  PatcherSettings again;
  if (!written || !ParseConfig(*written, again) || !(again == settings)) std::abort();
  return 0;
}
