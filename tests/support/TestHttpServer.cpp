#include "TestHttpServer.h"

#include <chrono>
#include <thread>

namespace morvo {

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

void TestHttpServer::StallUntilStopped() const {
  for (int i = 0; !stopping_ && i < 1000; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
}

std::optional<TestHttpServer::Answer> TestHttpServer::AnswerFor(const std::string& path,
                                                                const std::string& range,
                                                                const std::string& ifRange) {
  Route route;
  int index = 0;
  {
    std::lock_guard lock(mutex_);
    const auto found = routes_.find(path);
    if (found == routes_.end()) return std::nullopt;
    found->second.ranges.push_back(range);
    index = static_cast<int>(found->second.ranges.size());
    route = found->second;
  }
  Answer answer;
  answer.body = route.body;
  switch (route.kind) {
    case Kind::Serve:
      break;
    case Kind::Fail:
      answer.status = route.status;
      answer.honourRanges = false;
      answer.contentType = "text/html";
      answer.body = "<html><body><h1>Error " + std::to_string(route.status) + "</h1></body></html>";
      break;
    case Kind::DropAfter:
      answer.honourRanges = route.honourRanges;
      if (index <= route.times) answer.cut = route.bytes;
      break;
    case Kind::ShortBody:
      answer.cut = route.bytes;
      answer.cutAtPosition = true;
      break;
    case Kind::Stall:
      answer.cut = route.bytes;
      answer.stall = true;
      break;
    case Kind::Pause:
      answer.pauseMs = route.bytes;
      break;
    case Kind::ChangeAfterDrop:
      if (index == 1) {
        answer.headers.emplace_back("ETag", "\"1\"");
        answer.cut = route.bytes;
      } else {
        answer.honourRanges = ifRange == "\"2\"";
        answer.headers.emplace_back("ETag", "\"2\"");
        answer.body = route.secondBody;
      }
      break;
    case Kind::Redirect:
      answer.status = 302;
      answer.body.clear();
      answer.headers.emplace_back("Location", route.body);
      break;
  }
  return answer;
}

}  // namespace morvo
