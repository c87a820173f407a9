// Addresses on 127.0.0.1 that fail in the ways a network can: nobody listening, or a server
// that never takes the connection. LoopbackSocketsPosix.cpp and LoopbackSocketsWin32.cpp.
#pragma once

#include <cstdint>
#include <memory>

namespace morvo {

// A port on 127.0.0.1 on which nothing listens.
int ClosedPort();

// A listening socket whose accept queue is full: the kernel drops further connection attempts,
// so a connect to it never completes.
class FullListener {
 public:
  FullListener();
  ~FullListener();
  FullListener(const FullListener&) = delete;
  FullListener& operator=(const FullListener&) = delete;
  int port() const { return port_; }

 private:
  std::intptr_t listener_ = -1;
  std::intptr_t clients_[3] = {-1, -1, -1};
  int port_ = 0;
};

}  // namespace morvo
