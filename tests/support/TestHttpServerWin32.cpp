// The test server's transport on winsock (also a proxy for any host): one thread accepts, one
// thread per connection reads one request, answers it (applying a "bytes=FIRST-" or
// "bytes=FIRST-LAST" range where that is honoured) and closes the connection.
#include <winsock2.h>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <chrono>
#include <mutex>
#include <thread>
#include <vector>

#include "TestHttpServer.h"

namespace morvo {

namespace {

constexpr DWORD kRequestWaitMs = 10000;

// The value of header `name` (ASCII case ignored) in the request's header block.
std::string HeaderValue(const std::string& head, const std::string& name) {
  std::size_t line = head.find("\r\n");
  while (line != std::string::npos && line + 2 < head.size()) {
    const std::size_t start = line + 2;
    line = head.find("\r\n", start);
    const std::string text = head.substr(start, line - start);
    const std::size_t colon = text.find(':');
    if (colon != name.size()) continue;
    if (std::equal(name.begin(), name.end(), text.begin(), [](char a, char b) {
          return std::tolower(static_cast<unsigned char>(a)) ==
                 std::tolower(static_cast<unsigned char>(b));
        })) {
      const std::size_t value = text.find_first_not_of(' ', colon + 1);
      return value == std::string::npos ? std::string() : text.substr(value);
    }
  }
  return {};
}

struct Range {
  std::size_t first;
  std::size_t last;
};
std::optional<Range> ParseRange(const std::string& header, std::size_t size) {
  if (!header.starts_with("bytes=")) return std::nullopt;
  const char* begin = header.data() + 6;
  const char* end = header.data() + header.size();
  Range range{0, size == 0 ? 0 : size - 1};
  auto [dash, error] = std::from_chars(begin, end, range.first);
  if (error != std::errc() || dash == end || *dash != '-') return std::nullopt;
  if (dash + 1 != end && std::from_chars(dash + 1, end, range.last).ec != std::errc()) {
    return std::nullopt;
  }
  range.last = std::min(range.last, size == 0 ? 0 : size - 1);
  return range;
}

bool SendAll(SOCKET socket, const char* data, std::size_t size) {
  while (size > 0) {
    const int sent = send(socket, data, static_cast<int>(std::min<std::size_t>(size, 1 << 20)), 0);
    if (sent <= 0) return false;
    data += sent;
    size -= static_cast<std::size_t>(sent);
  }
  return true;
}

const char* Reason(int status) {
  switch (status) {
    case 200:
      return "OK";
    case 206:
      return "Partial Content";
    case 302:
      return "Found";
    case 404:
      return "Not Found";
    case 416:
      return "Range Not Satisfiable";
    default:
      return "Status";
  }
}

}  // namespace

class TestHttpServer::Transport {
 public:
  // Reads one request of client, answers it as server says, closes the connection.
  static void Converse(TestHttpServer& server, SOCKET client);

  SOCKET listener = INVALID_SOCKET;
  std::thread acceptor;
  std::mutex mutex;
  std::vector<std::thread> connections;
};

TestHttpServer::TestHttpServer() : transport_(std::make_unique<Transport>()) {
  WSADATA data;
  WSAStartup(MAKEWORD(2, 2), &data);
  Transport& transport = *transport_;
  transport.listener = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  bind(transport.listener, reinterpret_cast<sockaddr*>(&address), sizeof address);
  listen(transport.listener, SOMAXCONN);
  int length = sizeof address;
  getsockname(transport.listener, reinterpret_cast<sockaddr*>(&address), &length);
  port_ = ntohs(address.sin_port);
  transport.acceptor = std::thread([this, &transport] {
    for (;;) {
      const SOCKET client = accept(transport.listener, nullptr, nullptr);
      if (client == INVALID_SOCKET || stopping_) {
        if (client != INVALID_SOCKET) closesocket(client);
        return;
      }
      std::lock_guard lock(transport.mutex);
      transport.connections.emplace_back([this, client] { Transport::Converse(*this, client); });
    }
  });
}

TestHttpServer::~TestHttpServer() {
  stopping_ = true;
  closesocket(transport_->listener);
  transport_->acceptor.join();
  for (std::thread& connection : transport_->connections) connection.join();
  WSACleanup();
}

void TestHttpServer::Transport::Converse(TestHttpServer& server, SOCKET client) {
  DWORD wait = kRequestWaitMs;
  setsockopt(client, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&wait), sizeof wait);
  std::string head;
  char buffer[4096];
  while (head.find("\r\n\r\n") == std::string::npos) {
    const int got = recv(client, buffer, sizeof buffer, 0);
    if (got <= 0) {
      closesocket(client);
      return;
    }
    head.append(buffer, static_cast<std::size_t>(got));
  }
  // "GET /path?query HTTP/1.1": the route is the path.
  const std::size_t start = head.find(' ') + 1;
  const std::string target = head.substr(start, head.find(' ', start) - start);
  std::string path = target.substr(0, target.find('?'));
  // A request to a proxy names the whole address ("http://host:80/path"); the server answers
  // it as its own, so that it can stand for the proxy.
  if (path.starts_with("http://")) path.erase(0, std::min(path.find('/', 7), path.size()));
  const std::string rangeHeader = HeaderValue(head, "Range");
  const auto answer = server.AnswerFor(path, rangeHeader, HeaderValue(head, "If-Range"));

  int status = answer ? answer->status : 404;
  const std::string body = answer ? answer->body : std::string();
  std::size_t first = 0;
  std::size_t count = body.size();
  std::string extra;
  if (answer) {
    for (const auto& [name, value] : answer->headers) extra += name + ": " + value + "\r\n";
    extra += "Content-Type: " + answer->contentType + "\r\n";
  }
  if (answer && answer->honourRanges && status == 200 && !rangeHeader.empty()) {
    if (const auto range = ParseRange(rangeHeader, body.size());
        range && range->first < body.size() && range->first <= range->last) {
      status = 206;
      first = range->first;
      count = range->last - range->first + 1;
      extra += "Content-Range: bytes " + std::to_string(range->first) + "-" +
               std::to_string(range->last) + "/" + std::to_string(body.size()) + "\r\n";
    } else {
      status = 416;
      count = 0;
    }
  }
  const std::string headers = "HTTP/1.1 " + std::to_string(status) + " " + Reason(status) +
                              "\r\nContent-Length: " + std::to_string(count) +
                              "\r\nConnection: close\r\n" + extra + "\r\n";
  std::size_t sendable = count;
  if (answer && answer->cut != kNoCut) {
    sendable = std::min(count, !answer->cutAtPosition ? answer->cut
                               : answer->cut > first  ? answer->cut - first
                                                      : 0);
  }
  if (SendAll(client, headers.data(), headers.size())) {
    if (answer && answer->pauseMs > 0) {
      std::this_thread::sleep_for(std::chrono::milliseconds(answer->pauseMs));
    }
    SendAll(client, body.data() + first, sendable);
    if (answer && answer->stall) server.StallUntilStopped();
  }
  closesocket(client);
}

}  // namespace morvo
