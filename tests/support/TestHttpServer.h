// An HTTP server on 127.0.0.1 in a thread of the test, whose paths can fail on purpose.
// TestHttpServer.cpp decides how each request is answered; the transport that carries the
// answers is TestHttpServerPosix.cpp (cpp-httplib) or TestHttpServerWin32.cpp (winsock).
#pragma once

#include <atomic>
#include <cstddef>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace morvo {

class TestHttpServer {
 public:
  TestHttpServer();
  ~TestHttpServer();
  TestHttpServer(const TestHttpServer&) = delete;
  TestHttpServer& operator=(const TestHttpServer&) = delete;

  std::string Url(const std::string& path) const;

  // body, with byte ranges honoured.
  void Serve(const std::string& path, std::string body);
  // An error page with that status.
  void Fail(const std::string& path, int status);
  // The first `times` requests announce all of body but close the connection after `bytes`
  // bytes of it; later requests are served whole. honourRanges false: a server that answers
  // every request with status 200 and the whole body, whatever range is asked.
  void DropAfter(const std::string& path, std::string body, std::size_t bytes, int times,
                 bool honourRanges = true);
  // Every request is cut at byte position `bytes` of body, whatever range it asks.
  void ShortBody(const std::string& path, std::string body, std::size_t bytes);
  // Sends `bytes` bytes of body, then nothing until the server stops.
  void Stall(const std::string& path, std::string body, std::size_t bytes);
  // Sends the headers, waits waitMs milliseconds, then sends the whole body.
  void PauseBeforeBody(const std::string& path, std::string body, std::size_t waitMs);
  // The first request gets before (entity tag "1"), cut after `bytes` bytes; later ones get
  // after (entity tag "2"), ranges honoured only for a matching If-Range.
  void ChangeAfterDrop(const std::string& path, std::string before, std::string after,
                       std::size_t bytes);
  // 302 to target, a full URL.
  void Redirect(const std::string& path, const std::string& target);

  int Requests(const std::string& path) const;
  // The Range header of every request of path, in order ("" when none was sent).
  std::vector<std::string> RangeHeaders(const std::string& path) const;

 private:
  enum class Kind { Serve, Fail, DropAfter, ShortBody, Stall, Pause, ChangeAfterDrop, Redirect };
  struct Route {
    Kind kind = Kind::Serve;
    std::string body;
    std::string secondBody;
    std::size_t bytes = 0;
    int times = 0;
    int status = 200;
    bool honourRanges = true;
    std::vector<std::string> ranges;
  };
  static constexpr std::size_t kNoCut = static_cast<std::size_t>(-1);
  // How one request is answered, whatever carries it.
  struct Answer {
    int status = 200;
    std::string contentType = "application/octet-stream";
    std::string body;  // the whole entity; a range of it is sent when asked and honoured
    std::vector<std::pair<std::string, std::string>> headers;
    bool honourRanges = true;
    // The connection closes after `cut` bytes of the body sent, or at body position `cut`
    // when cutAtPosition; with stall, only once the server stops.
    std::size_t cut = kNoCut;
    bool cutAtPosition = false;
    bool stall = false;
    std::size_t pauseMs = 0;  // between the headers and the body
  };
  class Transport;

  static Route MakeRoute(Kind kind, std::string body, std::size_t bytes);
  void Add(const std::string& path, Route route);
  // Counts the request and says how to answer it; nullopt for a path without a route.
  std::optional<Answer> AnswerFor(const std::string& path, const std::string& range,
                                  const std::string& ifRange);
  // Waits up to 10 s, less when the server stops meanwhile.
  void StallUntilStopped() const;

  std::unique_ptr<Transport> transport_;
  int port_ = 0;
  std::atomic<bool> stopping_{false};
  mutable std::mutex mutex_;
  std::map<std::string, Route> routes_;
};

}  // namespace morvo
