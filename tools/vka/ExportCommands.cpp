// vka merge and repack, through the library's exports as the patch client calls them.
#include "Progress.h"
#include "VkaCommands.h"
#include "vka/vka.h"

int MergeArchives(const CommandArguments& args) {
  const std::string& source = args.operands[0];
  const std::string& destination = args.operands[1];
  const int count = VKA_GetFileCount(source.c_str());
  if (VKA_CheckVersion(source.c_str()) != VKA_FORMAT_VERSION) {
    return Fail(source, ResultInWords(count));
  }
  // The library answers 5 for any destination that does not open; name the real reason.
  const int destinationVersion = VKA_CheckVersion(destination.c_str());
  if (destinationVersion != VKA_FORMAT_VERSION) {
    return Fail(destination, ResultInWords(destinationVersion));
  }
  TerminalProgress progress("merging", static_cast<std::uint64_t>(count));
  const int merged = VKA_Fusion(source.c_str(), destination.c_str(), TerminalProgress::stepCurrent);
  if (merged != VKA_OK)
    return Fail(merged == VKA_ERR_OPEN ? destination : source, ResultInWords(merged));
  return kExitOk;
}

int RepackArchive(const CommandArguments& args) {
  const std::string& path = args.operands[0];
  const int count = VKA_GetFileCount(path.c_str());
  if (VKA_CheckVersion(path.c_str()) != VKA_FORMAT_VERSION) return Fail(path, ResultInWords(count));
  TerminalProgress progress("repacking", static_cast<std::uint64_t>(count));
  const std::string temp = path + ".tmp";
  const int repacked = VKA_Repack(path.c_str(), temp.c_str(), TerminalProgress::stepCurrent);
  if (repacked != VKA_OK) return Fail(path, ResultInWords(repacked));
  return kExitOk;
}
