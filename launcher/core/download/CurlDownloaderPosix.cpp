// The downloader on libcurl's easy interface: one handle, reused so that connections are kept
// between the downloads of a run.
#include <curl/curl.h>

#include <memory>
#include <string>

#include "download/DownloadAddress.h"
#include "download/Downloader.h"
#include "download/PartFile.h"
#include "download/RangeResponse.h"
#include "download/RetriedDownload.h"
#include "download/StallWatch.h"

namespace morvo {

namespace {

constexpr long kReceiveBufferBytes = 128 * 1024;

void InitCurlOnce() {
  static const bool initialised = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
  (void)initialised;
}

struct HandleDeleter {
  void operator()(CURL* handle) const { curl_easy_cleanup(handle); }
};
struct ListDeleter {
  void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};

// Failures that another attempt may cure: the network, the server being busy or broken for a
// moment. A missing file (404) or a refused certificate stays as it is.
bool IsTransient(CURLcode code) {
  switch (code) {
    case CURLE_COULDNT_RESOLVE_PROXY:
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_CONNECT:
    case CURLE_OPERATION_TIMEDOUT:
    case CURLE_PARTIAL_FILE:
    case CURLE_RECV_ERROR:
    case CURLE_SEND_ERROR:
    case CURLE_GOT_NOTHING:
    case CURLE_HTTP2:
    case CURLE_HTTP2_STREAM:
    case CURLE_SSL_CONNECT_ERROR:
      return true;
    default:
      return false;
  }
}

// Leaves the reused handle pointing at nothing of one attempt (its error buffer, its hooks'
// object, its header list) once the attempt returns; the connections stay open.
struct UnbindOnExit {
  CURL* Handle;
  ~UnbindOnExit() { curl_easy_reset(Handle); }
};

// One request and its response body, appended to the part file.
class Attempt {
 public:
  Attempt(AttemptTarget& target, BindStatusCallback& callback, const DownloadOptions& options,
          bool http)
      : file_(target.File),
        callback_(callback),
        expected_(target.Expected),
        rangeStart_(target.RangeStart),
        http_(http),
        stallWatch_(options) {}

  AttemptResult Run(CURL* handle, const std::string& url, const DownloadOptions& options,
                    const std::string& validator);
  const std::string& Validator() const { return headers_.Validator(); }

 private:
  static size_t OnHeader(char* data, size_t size, size_t count, void* self);
  static size_t OnBody(char* data, size_t size, size_t count, void* self);
  static int OnTransferInfo(void* self, curl_off_t total, curl_off_t now, curl_off_t, curl_off_t);
  // Decides, once the final response's headers are in, whether its body continues the bytes
  // already in the file or replaces them, and whether the disk has room for it.
  bool AcceptBody();
  bool ContinuesOrReplacesFile();

  PartFile& file_;
  BindStatusCallback& callback_;
  std::uint64_t& expected_;
  std::uint64_t rangeStart_;
  bool http_;
  ResponseHeaders headers_;
  StallWatch stallWatch_;
  CURL* handle_ = nullptr;
  std::uint64_t base_ = 0;
  bool bodyAccepted_ = false;
  bool rangeRefused_ = false;
  bool writeFailed_ = false;
  bool noRoom_ = false;
  bool stalled_ = false;
};

bool Attempt::AcceptBody() {
  if (bodyAccepted_) return !rangeRefused_ && !writeFailed_ && !noRoom_;
  bodyAccepted_ = true;
  if (!ContinuesOrReplacesFile()) return false;
  curl_off_t length = -1;
  curl_easy_getinfo(handle_, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length);
  noRoom_ = length > 0 && !callback_.HasRoomFor(static_cast<std::uint64_t>(length));
  return !noRoom_;
}

bool Attempt::ContinuesOrReplacesFile() {
  base_ = 0;
  if (!http_) return true;
  switch (PlaceBody(headers_.Status(), headers_, rangeStart_)) {
    case BodyPlacement::Append:
      base_ = rangeStart_;
      break;
    case BodyPlacement::StartOver:
      writeFailed_ = !file_.Truncate();
      break;
    case BodyPlacement::Refused:
      rangeRefused_ = true;
      break;
  }
  return !rangeRefused_ && !writeFailed_;
}

size_t Attempt::OnHeader(char* data, size_t size, size_t count, void* self) {
  auto& attempt = *static_cast<Attempt*>(self);
  const size_t bytes = size * count;
  if (attempt.headers_.Feed(std::string_view(data, bytes)) && attempt.headers_.Status() < 300) {
    if (!attempt.AcceptBody()) return 0;
  }
  return bytes;
}

size_t Attempt::OnBody(char* data, size_t size, size_t count, void* self) {
  auto& attempt = *static_cast<Attempt*>(self);
  const size_t bytes = size * count;
  if (!attempt.AcceptBody()) return 0;
  if (!attempt.file_.Append(data, bytes)) {
    attempt.writeFailed_ = true;
    return 0;
  }
  return bytes;
}

int Attempt::OnTransferInfo(void* self, curl_off_t total, curl_off_t now, curl_off_t, curl_off_t) {
  auto& attempt = *static_cast<Attempt*>(self);
  if (attempt.bodyAccepted_ && total > 0) {
    attempt.expected_ = attempt.base_ + static_cast<std::uint64_t>(total);
  }
  if (attempt.stallWatch_.Stalled(static_cast<std::uint64_t>(now), StallWatch::Clock::now())) {
    attempt.stalled_ = true;
    return 1;
  }
  attempt.stallWatch_.Report(attempt.callback_, attempt.file_.Size(), attempt.expected_);
  return 0;
}

AttemptResult Attempt::Run(CURL* handle, const std::string& url, const DownloadOptions& options,
                           const std::string& validator) {
  char error[CURL_ERROR_SIZE] = {};
  std::unique_ptr<curl_slist, ListDeleter> requestHeaders;
  const std::string range = std::to_string(rangeStart_) + "-";
  // Every attempt leaves the handle reset, so it starts from the defaults here.
  const UnbindOnExit unbind{handle};
  handle_ = handle;
  curl_easy_setopt(handle, CURLOPT_URL, url.c_str());
  curl_easy_setopt(handle, CURLOPT_PROTOCOLS_STR, "http,https,file");
  curl_easy_setopt(handle, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(handle, CURLOPT_FOLLOWLOCATION, 1L);
  curl_easy_setopt(handle, CURLOPT_MAXREDIRS, 10L);
  curl_easy_setopt(handle, CURLOPT_FAILONERROR, 1L);
  curl_easy_setopt(handle, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(handle, CURLOPT_USERAGENT, "MorvoPatcher");
  curl_easy_setopt(handle, CURLOPT_BUFFERSIZE, kReceiveBufferBytes);
  curl_easy_setopt(handle, CURLOPT_CONNECTTIMEOUT, options.ConnectTimeoutSeconds);
  curl_easy_setopt(handle, CURLOPT_ERRORBUFFER, error);
  curl_easy_setopt(handle, CURLOPT_HEADERFUNCTION, &Attempt::OnHeader);
  curl_easy_setopt(handle, CURLOPT_HEADERDATA, this);
  curl_easy_setopt(handle, CURLOPT_WRITEFUNCTION, &Attempt::OnBody);
  curl_easy_setopt(handle, CURLOPT_WRITEDATA, this);
  curl_easy_setopt(handle, CURLOPT_XFERINFOFUNCTION, &Attempt::OnTransferInfo);
  curl_easy_setopt(handle, CURLOPT_XFERINFODATA, this);
  curl_easy_setopt(handle, CURLOPT_NOPROGRESS, 0L);
  if (rangeStart_ > 0) {
    curl_easy_setopt(handle, CURLOPT_RANGE, range.c_str());
    if (!validator.empty()) {
      requestHeaders.reset(curl_slist_append(nullptr, ("If-Range: " + validator).c_str()));
      curl_easy_setopt(handle, CURLOPT_HTTPHEADER, requestHeaders.get());
    }
  }

  const CURLcode code = curl_easy_perform(handle);
  AttemptResult result;
  // AcceptBody here covers an empty file:// body, which calls neither header nor body hook.
  if (code == CURLE_OK && AcceptBody()) {
    result.Status.Succeeded = true;
    return result;
  }
  if (writeFailed_) {
    result.Status.Error = "write error";
  } else if (noRoom_) {
    result.Status.Error = "not enough disk space";
  } else if (stalled_) {
    result.Status.Error = "transfer stalled for " + std::to_string(options.LowSpeedSeconds) + " s";
    result.Transient = true;
  } else if (rangeRefused_) {
    result.Status.Error = "byte range not honoured";
    result.Transient = true;
    result.RangesUnusable = true;
  } else if (code == CURLE_HTTP_RETURNED_ERROR) {
    long status = 0;
    curl_easy_getinfo(handle, CURLINFO_RESPONSE_CODE, &status);
    result.Status.Error = "HTTP " + std::to_string(status);
    result.Transient = IsTransientHttpStatus(status);
    result.RangesUnusable = status == 416;
  } else {
    result.Status.Error = error[0] != '\0' ? error : curl_easy_strerror(code);
    result.Transient = IsTransient(code);
  }
  return result;
}

class CurlDownloader final : public Downloader {
 public:
  explicit CurlDownloader(const DownloadOptions& options) : options_(options) {
    InitCurlOnce();
    handle_.reset(curl_easy_init());
  }

  using Downloader::Download;
  DownloadStatus Download(const std::string& url, const std::string& path,
                          BindStatusCallback& callback,
                          const std::optional<Sha256Digest>& expectedDigest) override {
    const bool http = IsHttpUrl(url);
    return RunDownload(path, callback, options_, http, expectedDigest, [&](AttemptTarget& target) {
      if (!handle_) return AttemptResult{{false, "no transfer handle"}};
      Attempt transfer(target, callback, options_, http);
      const AttemptResult result = transfer.Run(handle_.get(), url, options_, target.Validator);
      if (!transfer.Validator().empty()) target.Validator = transfer.Validator();
      return result;
    });
  }

 private:
  DownloadOptions options_;
  std::unique_ptr<CURL, HandleDeleter> handle_;
};

}  // namespace

std::unique_ptr<Downloader> MakeSystemDownloader(const DownloadOptions& options) {
  return std::make_unique<CurlDownloader>(options);
}

}  // namespace morvo
