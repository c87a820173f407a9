// The proxy the user's Internet settings give for an address: none, a named one with its
// bypass list, or the one an automatic configuration script (configured or detected) picks.
#pragma once

#include <string>

#include "download/InternetHandleWin32.h"

class SystemProxy {
 public:
  // Sets that proxy on request (an http or https request for url); leaves the request going
  // direct when the settings say so or cannot be read.
  void ApplyTo(HINTERNET request, const std::wstring& url);

 private:
  // Finds the proxy through the automatic configuration; false when there is none.
  bool ApplyAutomatic(HINTERNET request, const std::wstring& url, const wchar_t* scriptUrl,
                      bool detect);

  // Scripts are fetched and run through a session of their own, a synchronous one.
  UniqueInternet resolver_;
  // Detection asks the network for a script; once none was found, it is not asked again.
  bool detectionFailed_ = false;
};
