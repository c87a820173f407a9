// The proxy the user's Internet settings give for an address: none, a named one with its
// bypass list, or the one an automatic configuration script (configured or detected) picks.
#pragma once

#include <string>

#include "download/InternetHandleWin32.h"

namespace morvo {

struct ProxyChoice {
  std::wstring Proxy;  // empty: a direct connection
  std::wstring Bypass;
  bool operator==(const ProxyChoice&) const = default;
};

class SystemProxy {
 public:
  // Direct when the settings say so or cannot be read.
  ProxyChoice For(const std::wstring& url);

 private:
  // Runs the automatic configuration; false when it finds nothing.
  bool FindAutomatic(const std::wstring& url, const wchar_t* scriptUrl, bool detect,
                     ProxyChoice& choice);

  // Scripts are fetched and run through a session of their own, a synchronous one.
  UniqueInternet resolver_;
  // Detection asks the network for a script; once none was found, it is not asked again.
  bool detectionFailed_ = false;
};

}  // namespace morvo
