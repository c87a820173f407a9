#include "engine/GameRunningWait.h"

#include "engine/LiveWait.h"
#include "platform/FileSystem.h"
#include "platform/GamePath.h"
#include "text/FixedText.h"

namespace morvo {

void WaitWhileGameRuns(PatchContext& context, const ProgramRunningCheck& isRunning,
                       std::chrono::milliseconds pollInterval) {
  const PatcherSettings& settings = context.Settings;
  // Only a program of the game folder: one elsewhere (a name with "..") may run for reasons of
  // its own, and the launcher itself runs in every other launcher waiting for this one.
  const auto game = ResolveGamePath(context.ProgramDir, settings.GameExe);
  if (!game || SameFile(*game, context.ProgramPath)) return;
  WaitWithLiveWindow(context.Window,
                     FixedText(settings.Language, kWaitingForGameFrench, kWaitingForGameEnglish),
                     pollInterval, [&] { return isRunning(*game); });
}

}  // namespace morvo
