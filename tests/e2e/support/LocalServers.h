// The real servers the end-to-end tests talk to, each private to one test and on 127.0.0.1:
// nginx serving a patch server folder, and an Xvfb display for the launcher's window.
#pragma once

#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "Process.h"

class NginxServer {
 public:
  // Serves root on a free port of 127.0.0.1, each transfer at most bytesPerSecond (0: as fast
  // as it goes); configuration, logs and pid live in stateDir. serveCommand runs the server
  // script with ROOT STATE PORT RATE appended; empty: demo/nginx-serve.sh itself.
  NginxServer(const std::string& root, const std::string& stateDir, long bytesPerSecond = 0,
              std::vector<std::string> serveCommand = {});
  bool Running() const { return process_ && process_->Running(); }
  int Port() const { return port_; }
  // "http://127.0.0.1:PORT" followed by path (which starts with '/').
  std::string Url(const std::string& path = "") const;
  // How many requests of path the access log holds with the given status.
  int RequestCount(const std::string& path, int status = 200) const;

 private:
  std::string stateDir_;
  int port_ = 0;
  std::unique_ptr<ChildProcess> process_;
};

// A socket listening on a free port of 127.0.0.1 (its number in port); -1 on failure.
int ListenOnLoopback(int& port);

// A server on 127.0.0.1 that accepts every connection and never answers: a page that never
// completes loading. It counts the connections it accepted.
class SilentServer {
 public:
  SilentServer();
  ~SilentServer();
  SilentServer(const SilentServer&) = delete;
  SilentServer& operator=(const SilentServer&) = delete;
  bool Running() const { return listener_ >= 0; }
  // "http://127.0.0.1:PORT" followed by path (which starts with '/').
  std::string Url(const std::string& path) const;
  int Connections() const { return connections_; }

 private:
  void AcceptUntilStopped();

  int listener_ = -1;
  int port_ = 0;
  std::atomic<bool> stop_{false};
  std::atomic<int> connections_{0};
  std::vector<int> accepted_;  // kept open, unanswered, until the server ends
  std::thread acceptor_;
};

class XvfbDisplay {
 public:
  explicit XvfbDisplay(const std::string& stateDir);
  bool Running() const { return process_ && process_->Running(); }
  // ":N", for $DISPLAY.
  const std::string& Name() const { return name_; }

 private:
  std::string name_;
  std::unique_ptr<ChildProcess> process_;
};
