#include "TamperingProxy.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <sstream>

#include "LocalServers.h"

namespace {

constexpr int kSocketTimeoutSeconds = 10;

void SetTimeouts(int fd) {
  const timeval limit{kSocketTimeoutSeconds, 0};
  setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
  setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit);
}

bool SendAll(int fd, const std::string& bytes) {
  for (std::size_t sent = 0; sent < bytes.size();) {
    const ssize_t done = send(fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
    if (done <= 0) return false;
    sent += static_cast<std::size_t>(done);
  }
  return true;
}

// The request head, up to and with its blank line; empty when the client sent none.
std::string ReadRequestHead(int fd) {
  std::string head;
  char piece[4096];
  while (head.find("\r\n\r\n") == std::string::npos) {
    const ssize_t got = recv(fd, piece, sizeof piece, 0);
    if (got <= 0) return {};
    head.append(piece, static_cast<std::size_t>(got));
  }
  return head.substr(0, head.find("\r\n\r\n") + 4);
}

std::string ReadUntilClosed(int fd) {
  std::string bytes;
  char piece[65536];
  for (ssize_t got; (got = recv(fd, piece, sizeof piece, 0)) > 0;)
    bytes.append(piece, static_cast<std::size_t>(got));
  return bytes;
}

// The head with one request per connection asked for, so that the response ends with it.
std::string OneRequestPerConnection(const std::string& head) {
  std::istringstream lines(head);
  std::string rewritten;
  for (std::string line; std::getline(lines, line);) {
    if (line == "\r" || line.empty()) break;
    if (line.rfind("Connection:", 0) == 0 || line.rfind("Proxy-Connection:", 0) == 0) continue;
    rewritten += line + "\n";
  }
  return rewritten + "Connection: close\r\n\r\n";
}

// The path of the request line, "GET /a/b.pak HTTP/1.1" or in absolute form.
std::string RequestPath(const std::string& head) {
  const std::size_t start = head.find(' ') + 1;
  std::string target = head.substr(start, head.find(' ', start) - start);
  if (target.rfind("http://", 0) == 0) {
    const std::size_t path = target.find('/', 7);
    target = path == std::string::npos ? "/" : target.substr(path);
  }
  return target.substr(0, target.find('?'));
}

}  // namespace

TamperingProxy::TamperingProxy(int upstreamPort)
    : upstreamPort_(upstreamPort), listener_(ListenOnLoopback(port_)) {
  if (listener_ >= 0) relay_ = std::thread([this] { RelayUntilStopped(); });
}

TamperingProxy::~TamperingProxy() {
  stop_ = true;
  if (relay_.joinable()) relay_.join();
  if (listener_ >= 0) close(listener_);
}

std::string TamperingProxy::Url(const std::string& path) const {
  return "http://127.0.0.1:" + std::to_string(port_) + path;
}

void TamperingProxy::RelayUntilStopped() {
  while (!stop_) {
    pollfd waiting{listener_, POLLIN, 0};
    if (poll(&waiting, 1, 100) <= 0) continue;
    const int client = accept(listener_, nullptr, nullptr);
    if (client < 0) continue;
    Relay(client);
    close(client);
  }
}

void TamperingProxy::Relay(int client) {
  SetTimeouts(client);
  const std::string head = ReadRequestHead(client);
  if (head.empty()) return;
  const int upstream = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(static_cast<std::uint16_t>(upstreamPort_));
  SetTimeouts(upstream);
  if (connect(upstream, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      !SendAll(upstream, OneRequestPerConnection(head))) {
    close(upstream);
    return;
  }
  std::string response = ReadUntilClosed(upstream);
  close(upstream);
  const std::size_t body = response.find("\r\n\r\n");
  const std::string path = RequestPath(head);
  if (body != std::string::npos && body + 4 < response.size() && path.size() > 4 &&
      path.substr(path.size() - 4) == ".pak") {
    // A byte in the middle of the body: the container keeps its length and its header.
    char& byte = response[body + 4 + (response.size() - body - 4) / 2];
    byte = static_cast<char>(byte ^ 0x5A);
    ++tampered_;
  }
  SendAll(client, response);
}
