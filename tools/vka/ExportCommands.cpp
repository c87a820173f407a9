// vka merge and repack, through the library's exports as the patch client calls them.
#include "Progress.h"
#include "VkaCommands.h"
#include "vka/vka.h"

int MergeArchives(const CommandArguments& args) {
  const std::string& source = args.operands[0];
  const std::string& destination = args.operands[1];
  const std::string narrowSource = NarrowPathOf(source),
                    narrowDestination = NarrowPathOf(destination);
  const int count = VKA_GetFileCount(narrowSource.c_str());
  if (VKA_CheckVersion(narrowSource.c_str()) != VKA_FORMAT_VERSION) {
    return Fail(source, ResultInWords(count));
  }
  // The library answers 5 for any destination that does not open; name the real reason.
  const int destinationVersion = VKA_CheckVersion(narrowDestination.c_str());
  if (destinationVersion != VKA_FORMAT_VERSION) {
    return Fail(destination, ResultInWords(destinationVersion));
  }
  TerminalProgress progress("merging", static_cast<std::uint64_t>(count));
  const int merged =
      VKA_Fusion(narrowSource.c_str(), narrowDestination.c_str(), TerminalProgress::stepCurrent);
  if (merged != VKA_OK)
    return Fail(merged == VKA_ERR_OPEN ? destination : source, ResultInWords(merged));
  return kExitOk;
}

int RepackArchive(const CommandArguments& args) {
  const std::string& path = args.operands[0];
  const std::string narrowPath = NarrowPathOf(path);
  const int count = VKA_GetFileCount(narrowPath.c_str());
  if (VKA_CheckVersion(narrowPath.c_str()) != VKA_FORMAT_VERSION)
    return Fail(path, ResultInWords(count));
  TerminalProgress progress("repacking", static_cast<std::uint64_t>(count));
  const std::string temp = NarrowPathOf(path + ".tmp");
  const int repacked = VKA_Repack(narrowPath.c_str(), temp.c_str(), TerminalProgress::stepCurrent);
  if (repacked != VKA_OK) return Fail(path, ResultInWords(repacked));
  return kExitOk;
}
