// The launcher's start-up and patch run without a window, for the headless tool and tests:
// every line the window would log, the news page fetched with the downloader, the run.
#pragma once

#include <string>

#include "patch/PatchWindow.h"
#include "run/PatchRun.h"

inline constexpr char kNewsPageFileName[] = "MorvoTMPNews.html";

struct WindowlessRunResult {
  bool ConfigRead = false;
  bool Finished = false;  // the run reached FinishRun
};

// Reads programDir + "Config.mpc", opens the log when it asks for one and writes what window
// creation and first activation write (the music file is only looked for), recovers unfinished
// patches, fetches NewsUrl to a temporary file (its end, failed or not, counts as the page's
// first completed navigation) and runs the list download with everything after it.
WindowlessRunResult RunWithoutWindow(const std::string& programDir,
                                     const std::string& programPath, PatchWindow& window,
                                     PatchRunServices services = {});
