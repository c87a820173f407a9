// The downloader on libcurl's easy interface: one handle, reused so that connections are kept
// between the downloads of a run.
#include <curl/curl.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <memory>
#include <string>
#include <thread>

#include "download/Downloader.h"
#include "download/PartFile.h"
#include "download/RangeResponse.h"

namespace morvo {

namespace {

constexpr long kReceiveBufferBytes = 128 * 1024;
constexpr std::chrono::milliseconds kWaitSlice{50};

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

bool IsHttpUrl(const std::string& url) {
  auto lower = url.substr(0, 8);
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return lower.starts_with("http://") || lower.starts_with("https://");
}

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

bool IsTransientHttpStatus(long status) {
  return status == 408 || status == 416 || status == 429 || status == 500 || status == 502 ||
         status == 503 || status == 504;
}

// Leaves the reused handle pointing at nothing of one attempt (its error buffer, its hooks'
// object, its header list) once the attempt returns; the connections stay open.
struct UnbindOnExit {
  CURL* handle;
  ~UnbindOnExit() { curl_easy_reset(handle); }
};

struct AttemptResult {
  DownloadStatus Status;
  bool Transient = false;
  bool RangesUnusable = false;
};

// One request and its response body, appended to the part file.
class Attempt {
 public:
  Attempt(PartFile& file, BindStatusCallback& callback, std::uint64_t& expected,
          std::uint64_t rangeStart, bool http)
      : file_(file),
        callback_(callback),
        expected_(expected),
        rangeStart_(rangeStart),
        http_(http) {}

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
  // True when the transfer moved too slowly over the last stall window. The window's own time
  // (spent in the receiver's handler) has been taken out by the caller.
  bool Stalled(std::uint64_t received, std::chrono::steady_clock::time_point now);

  PartFile& file_;
  BindStatusCallback& callback_;
  std::uint64_t& expected_;
  std::uint64_t rangeStart_;
  bool http_;
  ResponseHeaders headers_;
  CURL* handle_ = nullptr;
  std::chrono::seconds stallWindow_{0};
  std::uint64_t stallMinimumBytes_ = 0;
  std::chrono::steady_clock::time_point windowStart_;
  std::uint64_t windowStartBytes_ = 0;
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
  const long status = headers_.Status();
  if (rangeStart_ == 0) {
    rangeRefused_ = status == 206;
  } else if (status == 206) {
    rangeRefused_ = !headers_.HasContentRange() || headers_.ContentRangeStart() != rangeStart_;
    base_ = rangeStart_;
  } else {
    // The server sends the whole file: start over. A 200 that carries a Content-Range is a
    // server that cut the body without saying so; its bytes cannot be trusted either way.
    rangeRefused_ = headers_.HasContentRange();
    writeFailed_ = !rangeRefused_ && !file_.Truncate();
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

bool Attempt::Stalled(std::uint64_t received, std::chrono::steady_clock::time_point now) {
  if (stallWindow_.count() <= 0 || now - windowStart_ < stallWindow_) return false;
  // A body that starts over (received drops) has moved as well.
  const bool moved =
      received < windowStartBytes_ || received - windowStartBytes_ >= stallMinimumBytes_;
  windowStart_ = now;
  windowStartBytes_ = received;
  return !moved;
}

int Attempt::OnTransferInfo(void* self, curl_off_t total, curl_off_t now, curl_off_t, curl_off_t) {
  auto& attempt = *static_cast<Attempt*>(self);
  if (attempt.bodyAccepted_ && total > 0) {
    attempt.expected_ = attempt.base_ + static_cast<std::uint64_t>(total);
  }
  const auto before = std::chrono::steady_clock::now();
  if (attempt.Stalled(static_cast<std::uint64_t>(now), before)) {
    attempt.stalled_ = true;
    return 1;
  }
  attempt.callback_.OnProgress(attempt.file_.Size(), attempt.expected_);
  // The receiver may have run a modal window: the transfer could not move meanwhile.
  attempt.windowStart_ += std::chrono::steady_clock::now() - before;
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
  stallWindow_ = std::chrono::seconds(options.LowSpeedSeconds);
  stallMinimumBytes_ = static_cast<std::uint64_t>(std::max(options.LowSpeedBytesPerSecond, 0L)) *
                       static_cast<std::uint64_t>(std::max(options.LowSpeedSeconds, 0L));
  windowStart_ = std::chrono::steady_clock::now();
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

  DownloadStatus Download(const std::string& url, const std::string& path,
                          BindStatusCallback& callback) override {
    callback.OnStartBinding();
    DownloadStatus status = Fetch(url, path, callback);
    if (!status.Succeeded) std::remove(path.c_str());
    return callback.OnStopBinding(status);
  }

 private:
  DownloadStatus Fetch(const std::string& url, const std::string& path,
                       BindStatusCallback& callback);
  void WaitBeforeRetry(int retry, const PartFile& file, std::uint64_t expected,
                       BindStatusCallback& callback) const;

  DownloadOptions options_;
  std::unique_ptr<CURL, HandleDeleter> handle_;
};

DownloadStatus CurlDownloader::Fetch(const std::string& url, const std::string& path,
                                     BindStatusCallback& callback) {
  if (!handle_) return {false, "no transfer handle"};
  PartFile file(path);
  if (!file.IsOpen()) return {false, "cannot create " + path + ".part"};
  const bool http = IsHttpUrl(url);
  bool rangesUsable = http;
  std::uint64_t expected = 0;
  std::string validator;
  AttemptResult result;
  for (int attempt = 0; attempt <= options_.Retries; ++attempt) {
    if (attempt > 0) WaitBeforeRetry(attempt, file, expected, callback);
    const bool resume = rangesUsable && file.Size() > 0;
    if (!resume && file.Size() > 0 && !file.Truncate()) return {false, "write error"};
    Attempt transfer(file, callback, expected, resume ? file.Size() : 0, http);
    result = transfer.Run(handle_.get(), url, options_, validator);
    if (!transfer.Validator().empty()) validator = transfer.Validator();
    if (result.Status.Succeeded) {
      if (!file.Commit()) return {false, "cannot rename the download into " + path};
      return result.Status;
    }
    if (!result.Transient) break;
    if (result.RangesUnusable) rangesUsable = false;
  }
  return result.Status;
}

void CurlDownloader::WaitBeforeRetry(int retry, const PartFile& file, std::uint64_t expected,
                                     BindStatusCallback& callback) const {
  const auto wait = options_.FirstRetryWait * (1 << std::min(retry - 1, 16));
  const auto end = std::chrono::steady_clock::now() + wait;
  for (auto now = std::chrono::steady_clock::now(); now < end;
       now = std::chrono::steady_clock::now()) {
    std::this_thread::sleep_for(
        std::min<std::chrono::steady_clock::duration>(kWaitSlice, end - now));
    callback.OnProgress(file.Size(), expected);
  }
}

}  // namespace

std::unique_ptr<Downloader> MakeSystemDownloader(const DownloadOptions& options) {
  return std::make_unique<CurlDownloader>(options);
}

}  // namespace morvo
