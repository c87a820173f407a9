#include "entry/ProgramEntry.h"

#include "entry/CommandTail.h"

namespace morvo {

bool RunEntry(const std::vector<std::string>& parameters, const std::string& programPath,
              Shell& shell, const HandoffOptions& options) {
  switch (ModeOfParameters(parameters)) {
    case EntryMode::HandoffStep1:
      RunHandoffStep1(GetCommandTail(parameters), programPath, shell, options);
      return false;
    case EntryMode::HandoffStep2:
      RunHandoffStep2(GetCommandTail(parameters), programPath, options);
      return true;
    case EntryMode::Normal:
      return true;
  }
  return true;
}

}  // namespace morvo
