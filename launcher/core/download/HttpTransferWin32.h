// One attempt at an http or https address through the system's HTTP client.
#pragma once

#include <string>

#include "download/BindStatusCallback.h"
#include "download/Downloader.h"
#include "download/InternetHandleWin32.h"
#include "download/RetriedDownload.h"
#include "download/SystemProxyWin32.h"

namespace morvo {

// A session for RunHttpAttempt, its requests going through proxy: asynchronous, nothing
// reported to it that RunHttpAttempt does not handle. Empty when it cannot be made.
UniqueInternet OpenHttpSession(const ProxyChoice& proxy);

// Asks for the body of url from target.RangeStart on and appends it to target.File. The client
// works asynchronously; the calling thread waits for each of its steps in short slices and
// reports progress and watches for a stall in between, so every notification comes on the
// calling thread, also while no byte arrives.
AttemptResult RunHttpAttempt(HINTERNET session, const std::wstring& url,
                             const DownloadOptions& options, BindStatusCallback& callback,
                             AttemptTarget& target);

}  // namespace morvo
