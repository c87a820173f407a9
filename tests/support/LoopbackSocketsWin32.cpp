#include <winsock2.h>

#include "LoopbackSockets.h"

namespace morvo {

namespace {

// Winsock is started once for the test program and left running until it ends.
void StartWinsock() {
  static const bool started = [] {
    WSADATA data;
    return WSAStartup(MAKEWORD(2, 2), &data) == 0;
  }();
  (void)started;
}

sockaddr_in Loopback() {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  return address;
}

int BoundPort(SOCKET socket, sockaddr_in& address) {
  int length = sizeof address;
  getsockname(socket, reinterpret_cast<sockaddr*>(&address), &length);
  return ntohs(address.sin_port);
}

SOCKET SocketOf(std::intptr_t value) { return static_cast<SOCKET>(value); }

}  // namespace

int ClosedPort() {
  StartWinsock();
  const SOCKET socket = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address = Loopback();
  bind(socket, reinterpret_cast<sockaddr*>(&address), sizeof address);
  const int port = BoundPort(socket, address);
  closesocket(socket);
  return port;
}

FullListener::FullListener() {
  StartWinsock();
  const SOCKET listener = ::socket(AF_INET, SOCK_STREAM, 0);
  listener_ = static_cast<std::intptr_t>(listener);
  sockaddr_in address = Loopback();
  bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address);
  listen(listener, 0);
  port_ = BoundPort(listener, address);
  for (std::intptr_t& client : clients_) {
    const SOCKET socket = ::socket(AF_INET, SOCK_STREAM, 0);
    u_long nonBlocking = 1;
    ioctlsocket(socket, FIONBIO, &nonBlocking);
    connect(socket, reinterpret_cast<sockaddr*>(&address), sizeof address);
    client = static_cast<std::intptr_t>(socket);
  }
}

FullListener::~FullListener() {
  for (std::intptr_t client : clients_) closesocket(SocketOf(client));
  closesocket(SocketOf(listener_));
}

}  // namespace morvo
