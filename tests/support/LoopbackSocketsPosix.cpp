#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include "LoopbackSockets.h"

namespace morvo {

namespace {

sockaddr_in Loopback() {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  return address;
}

int BoundPort(int fd, sockaddr_in& address) {
  socklen_t length = sizeof address;
  ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
  return ntohs(address.sin_port);
}

}  // namespace

int ClosedPort() {
  const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address = Loopback();
  ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
  const int port = BoundPort(fd, address);
  ::close(fd);
  return port;
}

FullListener::FullListener() {
  const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  listener_ = fd;
  sockaddr_in address = Loopback();
  ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
  ::listen(fd, 0);
  port_ = BoundPort(fd, address);
  for (std::intptr_t& client : clients_) {
    client = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
    ::connect(static_cast<int>(client), reinterpret_cast<sockaddr*>(&address), sizeof address);
  }
}

FullListener::~FullListener() {
  for (std::intptr_t client : clients_) ::close(static_cast<int>(client));
  ::close(static_cast<int>(listener_));
}

}  // namespace morvo
