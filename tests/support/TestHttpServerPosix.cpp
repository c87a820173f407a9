// The test server's transport on cpp-httplib, which applies byte ranges by itself.
#include <httplib.h>

#include <algorithm>
#include <chrono>
#include <thread>

#include "TestHttpServer.h"

namespace morvo {

class TestHttpServer::Transport {
 public:
  httplib::Server server;
  std::thread thread;
};

TestHttpServer::TestHttpServer() : transport_(std::make_unique<Transport>()) {
  httplib::Server& server = transport_->server;
  server.Get(".*", [this](const httplib::Request& request, httplib::Response& response) {
    const auto answer = AnswerFor(request.path, request.get_header_value("Range"),
                                  request.get_header_value("If-Range"));
    if (!answer) {
      response.status = 404;
      return;
    }
    // A server that ignores ranges is made by dropping the request's parsed ones.
    if (!answer->honourRanges) const_cast<httplib::Request&>(request).ranges.clear();
    // Left unset for a plain answer: the server then makes it 206 for a range it serves.
    if (answer->status != 200) response.status = answer->status;
    for (const auto& [name, value] : answer->headers) response.set_header(name, value);
    if (answer->cut == kNoCut && answer->pauseMs == 0) {
      response.set_content(answer->body, answer->contentType);
      return;
    }
    response.set_content_provider(
        answer->body.size(), answer->contentType,
        [this, answer = *answer](std::size_t offset, std::size_t length, httplib::DataSink& sink) {
          if (offset == 0 && answer.pauseMs > 0) {
            std::this_thread::sleep_for(std::chrono::milliseconds(answer.pauseMs));
          }
          if (answer.cut == kNoCut) {
            sink.write(answer.body.data() + offset, length);
            return true;
          }
          // The provider is called once per response, from the range's first byte on.
          const std::size_t limit = !answer.cutAtPosition ? answer.cut
                                    : answer.cut > offset ? answer.cut - offset
                                                          : 0;
          sink.write(answer.body.data() + offset, std::min(length, limit));
          if (answer.stall) StallUntilStopped();
          return false;
        });
  });
  port_ = server.bind_to_any_port("127.0.0.1");
  transport_->thread = std::thread([&server] { server.listen_after_bind(); });
  while (!server.is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

TestHttpServer::~TestHttpServer() {
  stopping_ = true;
  transport_->server.stop();
  transport_->thread.join();
}

}  // namespace morvo
