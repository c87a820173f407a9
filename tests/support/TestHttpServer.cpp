#include "TestHttpServer.h"

#include <httplib.h>

#include <algorithm>
#include <chrono>

namespace morvo {

namespace {
constexpr char kOctets[] = "application/octet-stream";
}

TestHttpServer::TestHttpServer() : server_(std::make_unique<httplib::Server>()) {
  server_->Get(".*", [this](const httplib::Request& request, httplib::Response& response) {
    Handle(request, response);
  });
  port_ = server_->bind_to_any_port("127.0.0.1");
  thread_ = std::thread([this] { server_->listen_after_bind(); });
  while (!server_->is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

TestHttpServer::~TestHttpServer() {
  stopping_ = true;
  server_->stop();
  thread_.join();
}

std::string TestHttpServer::Url(const std::string& path) const {
  return "http://127.0.0.1:" + std::to_string(port_) + path;
}

void TestHttpServer::Add(const std::string& path, Route route) {
  std::lock_guard lock(mutex_);
  routes_[path] = std::move(route);
}

TestHttpServer::Route TestHttpServer::MakeRoute(Kind kind, std::string body, std::size_t bytes) {
  Route route;
  route.kind = kind;
  route.body = std::move(body);
  route.bytes = bytes;
  return route;
}

void TestHttpServer::Serve(const std::string& path, std::string body) {
  Add(path, MakeRoute(Kind::Serve, std::move(body), 0));
}
void TestHttpServer::Fail(const std::string& path, int status) {
  Route route = MakeRoute(Kind::Fail, "", 0);
  route.status = status;
  Add(path, std::move(route));
}
void TestHttpServer::DropAfter(const std::string& path, std::string body, std::size_t bytes,
                               int times, bool honourRanges) {
  Route route = MakeRoute(Kind::DropAfter, std::move(body), bytes);
  route.times = times;
  route.honourRanges = honourRanges;
  Add(path, std::move(route));
}
void TestHttpServer::ShortBody(const std::string& path, std::string body, std::size_t bytes) {
  Add(path, MakeRoute(Kind::ShortBody, std::move(body), bytes));
}
void TestHttpServer::Stall(const std::string& path, std::string body, std::size_t bytes) {
  Add(path, MakeRoute(Kind::Stall, std::move(body), bytes));
}
void TestHttpServer::PauseBeforeBody(const std::string& path, std::string body,
                                     std::size_t waitMs) {
  Add(path, MakeRoute(Kind::Pause, std::move(body), waitMs));
}
void TestHttpServer::ChangeAfterDrop(const std::string& path, std::string before, std::string after,
                                     std::size_t bytes) {
  Route route = MakeRoute(Kind::ChangeAfterDrop, std::move(before), bytes);
  route.secondBody = std::move(after);
  Add(path, std::move(route));
}
void TestHttpServer::Redirect(const std::string& path, const std::string& target) {
  Add(path, MakeRoute(Kind::Redirect, target, 0));
}

int TestHttpServer::Requests(const std::string& path) const {
  return static_cast<int>(RangeHeaders(path).size());
}

std::vector<std::string> TestHttpServer::RangeHeaders(const std::string& path) const {
  std::lock_guard lock(mutex_);
  const auto found = routes_.find(path);
  return found == routes_.end() ? std::vector<std::string>() : found->second.ranges;
}

// Announces the whole body (or the asked range of it) and closes the connection after `bytes`
// bytes of the response, or at byte position `bytes` of the body when atPosition is set; when
// stall is set, it first waits until the server stops.
void TestHttpServer::CutAfter(httplib::Response& response, std::string body, std::size_t bytes,
                              bool stall, bool atPosition) {
  const std::size_t size = body.size();
  response.set_content_provider(
      size, kOctets,
      [this, body = std::move(body), bytes, stall, atPosition](
          std::size_t offset, std::size_t length, httplib::DataSink& sink) {
        const std::size_t limit = !atPosition ? bytes : bytes > offset ? bytes - offset : 0;
        const std::size_t sent = std::min(length, limit);
        sink.write(body.data() + offset, sent);
        for (int i = 0; stall && !stopping_ && i < 1000; ++i) {
          std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return false;
      });
}

void TestHttpServer::Handle(const httplib::Request& request, httplib::Response& response) {
  Route route;
  int index = 0;
  {
    std::lock_guard lock(mutex_);
    const auto found = routes_.find(request.path);
    if (found == routes_.end()) {
      response.status = 404;
      return;
    }
    found->second.ranges.push_back(request.get_header_value("Range"));
    index = static_cast<int>(found->second.ranges.size());
    route = found->second;
  }
  // The server applies byte ranges by itself after the handler; a server that ignores them is
  // made by dropping the parsed ranges of the request.
  auto& ranges = const_cast<httplib::Request&>(request).ranges;
  switch (route.kind) {
    case Kind::Serve:
      response.set_content(route.body, kOctets);
      break;
    case Kind::Fail:
      ranges.clear();
      response.status = route.status;
      response.set_content(
          "<html><body><h1>Error " + std::to_string(route.status) + "</h1></body></html>",
          "text/html");
      break;
    case Kind::DropAfter:
      if (!route.honourRanges) ranges.clear();
      if (index <= route.times) {
        CutAfter(response, route.body, route.bytes, false, false);
      } else {
        response.set_content(route.body, kOctets);
      }
      break;
    case Kind::ShortBody:
      CutAfter(response, route.body, route.bytes, false, true);
      break;
    case Kind::Stall:
      CutAfter(response, route.body, route.bytes, true, false);
      break;
    case Kind::Pause: {
      const std::size_t size = route.body.size();
      response.set_content_provider(
          size, kOctets,
          [body = route.body, waitMs = route.bytes](std::size_t offset, std::size_t length,
                                                    httplib::DataSink& sink) {
            if (offset == 0) std::this_thread::sleep_for(std::chrono::milliseconds(waitMs));
            sink.write(body.data() + offset, length);
            return true;
          });
      break;
    }
    case Kind::ChangeAfterDrop:
      if (index == 1) {
        response.set_header("ETag", "\"1\"");
        CutAfter(response, route.body, route.bytes, false, false);
      } else {
        if (request.get_header_value("If-Range") != "\"2\"") ranges.clear();
        response.set_header("ETag", "\"2\"");
        response.set_content(route.secondBody, kOctets);
      }
      break;
    case Kind::Redirect:
      response.set_redirect(route.body);
      break;
  }
}

}  // namespace morvo
