// Arbitrary bytes read as a profile file, then used as a server patch list and a register.
#include <cstdint>
#include <string_view>

#include "lists/IniFile.h"
#include "lists/PatchLists.h"

using namespace morvo;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const IniFile ini = IniFile::Parse(text);

  PatchRunState state("/nonexistent/");
  state.DenyPlay = ini.ReadFlag("options", "deny_play");
  if (ini.ReadInteger("options", "deny_getpatch", 0) != 1 && ini.SectionPresent("patchs")) {
    state.ServerEntries = ini.ReadSection("patchs");
    state.InstalledEntries = ini.ReadSection("installed");
    BuildDownloadList(state);
    for (const std::string& url : state.DownloadUrls) FileNameOfUrl(url);
  }
  std::int32_t value = 0;
  ParseIniInteger(ini.ReadString("options", "value", ""), value);
  return 0;
}
