// An HTTP server on 127.0.0.1 in a thread of the test, whose paths can fail on purpose.
#pragma once

#include <atomic>
#include <cstddef>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace httplib {
class Server;
struct Request;
struct Response;
}  // namespace httplib

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

  static Route MakeRoute(Kind kind, std::string body, std::size_t bytes);
  void Add(const std::string& path, Route route);
  void Handle(const httplib::Request& request, httplib::Response& response);
  void CutAfter(httplib::Response& response, std::string body, std::size_t bytes, bool stall,
                bool atPosition);

  std::unique_ptr<httplib::Server> server_;
  std::thread thread_;
  int port_ = 0;
  std::atomic<bool> stopping_{false};
  mutable std::mutex mutex_;
  std::map<std::string, Route> routes_;
};

}  // namespace morvo
