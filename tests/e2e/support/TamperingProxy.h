// A man in the middle on 127.0.0.1: relays every request to an upstream server and changes one
// byte of every patch container (a path ending in ".pak") it sends back. The launcher reaches
// it as its server address or as its HTTP proxy (requests in absolute form are relayed alike).
#pragma once

#include <atomic>
#include <string>
#include <thread>

class TamperingProxy {
 public:
  explicit TamperingProxy(int upstreamPort);
  ~TamperingProxy();
  TamperingProxy(const TamperingProxy&) = delete;
  TamperingProxy& operator=(const TamperingProxy&) = delete;

  bool Running() const { return listener_ >= 0; }
  // "http://127.0.0.1:PORT" followed by path (which starts with '/').
  std::string Url(const std::string& path = "") const;
  // How many container bodies were changed on their way.
  int Tampered() const { return tampered_; }

 private:
  void RelayUntilStopped();
  void Relay(int client);

  int upstreamPort_;
  int port_ = 0;  // before listener_, which sets it
  int listener_ = -1;
  std::atomic<bool> stop_{false};
  std::atomic<int> tampered_{0};
  std::thread relay_;
};
