// One attempt at an http or https address through the system's HTTP client.
#pragma once

#include <string>

#include "download/BindStatusCallback.h"
#include "download/Downloader.h"
#include "download/InternetHandleWin32.h"
#include "download/RetriedDownload.h"
#include "download/SystemProxyWin32.h"

// A session for HttpAttempt: asynchronous, no proxy of its own (each request gets the user's),
// nothing reported to it that HttpAttempt does not handle. Empty when it cannot be made.
UniqueInternet OpenHttpSession();

// Asks for the body of url from target.RangeStart on and appends it to target.File. The client
// works asynchronously; the calling thread waits for each of its steps in short slices and
// reports progress and watches for a stall in between, so every notification comes on the
// calling thread, also while no byte arrives.
AttemptResult RunHttpAttempt(HINTERNET session, const std::wstring& url, SystemProxy& proxy,
                             const DownloadOptions& options, BindStatusCallback& callback,
                             AttemptTarget& target);
