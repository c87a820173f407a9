#include "LocalServers.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <filesystem>
#include <sstream>
#include <thread>

#include "TestPaths.h"

namespace fs = std::filesystem;

namespace {

// A port that was free a moment ago; the caller retries when someone takes it meanwhile.
int FreePort() {
  int fd = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t size = sizeof address;
  int port = 0;
  if (bind(fd, reinterpret_cast<sockaddr*>(&address), size) == 0 &&
      getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size) == 0)
    port = ntohs(address.sin_port);
  close(fd);
  return port;
}

bool Accepts(int port) {
  int fd = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(static_cast<uint16_t>(port));
  bool connected = connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
  close(fd);
  return connected;
}

}  // namespace

NginxServer::NginxServer(const std::string& root, const std::string& stateDir, long bytesPerSecond,
                         std::vector<std::string> serveCommand)
    : stateDir_(stateDir) {
  if (serveCommand.empty()) serveCommand.push_back(DemoPath("nginx-serve.sh"));
  fs::create_directories(stateDir);
  for (int attempt = 0; attempt < 10; ++attempt) {
    port_ = FreePort();
    std::vector<std::string> argv = serveCommand;
    argv.insert(argv.end(),
                {root, stateDir, std::to_string(port_), std::to_string(bytesPerSecond)});
    process_ = std::make_unique<ChildProcess>(argv, OutputTo(stateDir + "/nginx.out"));
    for (int wait = 0; wait < 100 && process_->Running(); ++wait) {
      if (Accepts(port_)) return;
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    process_->Kill();
  }
  process_.reset();
}

std::string NginxServer::Url(const std::string& path) const {
  return "http://127.0.0.1:" + std::to_string(port_) + path;
}

int NginxServer::RequestCount(const std::string& path, int status) const {
  // Lines of the combined format: ... "GET /path HTTP/1.1" 200 ...
  const std::string wanted = "\"GET " + path + " HTTP/1.1\" " + std::to_string(status) + " ";
  std::istringstream log(ReadFileBytes(stateDir_ + "/access.log"));
  int count = 0;
  for (std::string line; std::getline(log, line);)
    if (line.find(wanted) != std::string::npos) ++count;
  return count;
}

int ListenOnLoopback(int& port) {
  int listener = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t size = sizeof address;
  if (listener < 0 || bind(listener, reinterpret_cast<sockaddr*>(&address), size) != 0 ||
      listen(listener, 16) != 0 ||
      getsockname(listener, reinterpret_cast<sockaddr*>(&address), &size) != 0) {
    if (listener >= 0) close(listener);
    return -1;
  }
  port = ntohs(address.sin_port);
  return listener;
}

SilentServer::SilentServer() {
  listener_ = ListenOnLoopback(port_);
  if (listener_ >= 0) acceptor_ = std::thread([this] { AcceptUntilStopped(); });
}

SilentServer::~SilentServer() {
  stop_ = true;
  if (acceptor_.joinable()) acceptor_.join();
  for (int fd : accepted_) close(fd);
  if (listener_ >= 0) close(listener_);
}

std::string SilentServer::Url(const std::string& path) const {
  return "http://127.0.0.1:" + std::to_string(port_) + path;
}

void SilentServer::AcceptUntilStopped() {
  while (!stop_) {
    pollfd waiting{listener_, POLLIN, 0};
    if (poll(&waiting, 1, 100) <= 0) continue;
    const int fd = accept(listener_, nullptr, nullptr);
    if (fd < 0) continue;
    accepted_.push_back(fd);
    ++connections_;
  }
}

XvfbDisplay::XvfbDisplay(const std::string& stateDir) {
  fs::create_directories(stateDir);
  int pipeEnds[2];
  if (pipe(pipeEnds) != 0) return;
  // Xvfb picks a free display and writes its number to the descriptor it is given.
  process_ = std::make_unique<ChildProcess>(
      std::vector<std::string>{"/usr/bin/Xvfb", "-displayfd", std::to_string(pipeEnds[1]),
                               "-screen", "0", "1024x768x24", "-nolisten", "tcp"},
      OutputTo(stateDir + "/xvfb.log"));
  close(pipeEnds[1]);
  std::string number;
  char c;
  while (read(pipeEnds[0], &c, 1) == 1 && c != '\n') number += c;
  close(pipeEnds[0]);
  if (number.empty())
    process_.reset();
  else
    name_ = ":" + number;
}
