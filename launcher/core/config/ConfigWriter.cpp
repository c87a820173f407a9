#include "config/ConfigWriter.h"

#include "config/ConfigRecord.h"
#include "platform/AtomicFile.h"

namespace morvo {

std::optional<std::vector<std::uint8_t>> SerializeConfig(const PatcherSettings& settings) {
  return EncodeConfigRecord(RecordOfSettings(settings));
}

bool SaveConfig(const std::string& directory, const PatcherSettings& settings) {
  const auto bytes = SerializeConfig(settings);
  return bytes && ReplaceFileAtomically(directory + kConfigFileName, *bytes);
}

}  // namespace morvo
