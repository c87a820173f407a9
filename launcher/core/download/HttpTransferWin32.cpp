#include "download/HttpTransferWin32.h"

#include <atomic>
#include <charconv>
#include <chrono>
#include <memory>
#include <string_view>
#include <vector>

#include "download/RangeResponse.h"
#include "download/ReadSizer.h"
#include "download/StallWatch.h"
#include "platform/WideText.h"

namespace morvo {

namespace {

constexpr DWORD kWaitSliceMs = 50;
constexpr DWORD kMostRedirects = 10;

// What the client's threads report about the one step in flight. The calling thread and the
// client's callback share it; the callback keeps it alive until the request's handle is gone,
// since a step given up (a stall) may still complete afterwards, into its buffer.
struct RequestState {
  UniqueHandle StepDone{CreateEventW(nullptr, FALSE, FALSE, nullptr)};
  std::atomic<DWORD> Error{0};
  std::atomic<DWORD> BytesRead{0};
  std::vector<char> Buffer = std::vector<char>(ReadSizer::kMostBytes);
};
using StateKeeper = std::shared_ptr<RequestState>;

void CALLBACK OnClientStatus(HINTERNET, DWORD_PTR context, DWORD status, void* info, DWORD length) {
  if (context == 0) return;
  auto* keeper = reinterpret_cast<StateKeeper*>(context);
  RequestState& state = **keeper;
  switch (status) {
    case WINHTTP_CALLBACK_STATUS_SENDREQUEST_COMPLETE:
    case WINHTTP_CALLBACK_STATUS_HEADERS_AVAILABLE:
      state.Error = 0;
      SetEvent(state.StepDone.Get());
      break;
    case WINHTTP_CALLBACK_STATUS_READ_COMPLETE:
      state.BytesRead = length;
      state.Error = 0;
      SetEvent(state.StepDone.Get());
      break;
    case WINHTTP_CALLBACK_STATUS_REQUEST_ERROR:
      state.Error = static_cast<WINHTTP_ASYNC_RESULT*>(info)->dwError;
      SetEvent(state.StepDone.Get());
      break;
    case WINHTTP_CALLBACK_STATUS_HANDLE_CLOSING:
      delete keeper;
      break;
  }
}

// Failures that another attempt may cure: the network, the server being busy or broken for a
// moment. An unknown host name may be a network not yet up. A refused certificate stays.
struct ClientError {
  DWORD Code;
  const char* Text;
  bool Transient;
};
constexpr ClientError kClientErrors[] = {
    {ERROR_WINHTTP_TIMEOUT, "the server did not answer in time", true},
    {ERROR_WINHTTP_NAME_NOT_RESOLVED, "could not resolve the host name", true},
    {ERROR_WINHTTP_CANNOT_CONNECT, "could not connect to the server", true},
    {ERROR_WINHTTP_CONNECTION_ERROR, "the connection was reset", true},
    {ERROR_WINHTTP_INVALID_SERVER_RESPONSE, "the server's answer is no HTTP response", true},
    {ERROR_WINHTTP_RESEND_REQUEST, "the request has to be sent again", true},
    {ERROR_WINHTTP_SECURE_CHANNEL_ERROR, "the secure connection failed", true},
    {ERROR_WINHTTP_SECURE_FAILURE, "the server's certificate was refused", false},
    {ERROR_WINHTTP_REDIRECT_FAILED, "a redirect to that address is not followed", false},
    {ERROR_WINHTTP_UNRECOGNIZED_SCHEME, "unsupported address", false},
    {ERROR_WINHTTP_INVALID_URL, "malformed address", false},
};

AttemptResult ClientFailure(DWORD code) {
  AttemptResult result;
  result.Status.Error = "transfer error " + std::to_string(code);
  for (const ClientError& known : kClientErrors) {
    if (known.Code == code) {
      result.Status.Error = std::string(known.Text) + " (" + std::to_string(code) + ")";
      result.Transient = known.Transient;
    }
  }
  return result;
}

AttemptResult Failure(std::string error, bool transient = false) {
  AttemptResult result;
  result.Status.Error = std::move(error);
  result.Transient = transient;
  return result;
}

// Header values are ASCII; a byte of a validator beyond it goes over as the same code point.
std::wstring WideOfBytes(std::string_view bytes) {
  std::wstring wide;
  for (const char c : bytes) wide += static_cast<wchar_t>(static_cast<unsigned char>(c));
  return wide;
}
std::string BytesOfWide(std::wstring_view wide) {
  std::string bytes;
  for (const wchar_t c : wide) bytes += c < 0x100 ? static_cast<char>(c) : '?';
  return bytes;
}

std::optional<std::wstring> QueryHeader(HINTERNET request, DWORD which) {
  DWORD size = 0;
  WinHttpQueryHeaders(request, which, WINHTTP_HEADER_NAME_BY_INDEX, nullptr, &size,
                      WINHTTP_NO_HEADER_INDEX);
  if (GetLastError() != ERROR_INSUFFICIENT_BUFFER) return std::nullopt;
  std::wstring value(size / sizeof(wchar_t) + 1, L'\0');
  if (WinHttpQueryHeaders(request, which, WINHTTP_HEADER_NAME_BY_INDEX, value.data(), &size,
                          WINHTTP_NO_HEADER_INDEX) == 0) {
    return std::nullopt;
  }
  value.resize(size / sizeof(wchar_t));
  return value;
}

class HttpAttempt {
 public:
  HttpAttempt(const DownloadOptions& options, BindStatusCallback& callback, AttemptTarget& target)
      : options_(options), callback_(callback), target_(target), stallWatch_(options) {}

  AttemptResult Run(HINTERNET session, const std::wstring& url);

 private:
  std::optional<AttemptResult> Open(HINTERNET session, const std::wstring& url);
  void SetLimits();
  // Waits for the step just started to complete: true when it did (state_->Error says how),
  // false when the transfer stalled meanwhile.
  bool AwaitStep();
  std::optional<AttemptResult> Step(BOOL started);
  // Decides, once the final response's headers are in, whether its body continues the bytes
  // already in the file or replaces them, and whether the disk has room for it.
  std::optional<AttemptResult> AcceptBody();
  AttemptResult ReadBody();

  const DownloadOptions& options_;
  BindStatusCallback& callback_;
  AttemptTarget& target_;
  StallWatch stallWatch_;
  StateKeeper state_ = std::make_shared<RequestState>();
  UniqueInternet connection_;
  UniqueInternet request_;  // closed before its connection
  std::optional<std::uint64_t> bodyLength_;
  std::uint64_t bodyBytes_ = 0;
};

std::optional<AttemptResult> HttpAttempt::Open(HINTERNET session, const std::wstring& url) {
  URL_COMPONENTS parts{};
  parts.dwStructSize = sizeof parts;
  parts.dwHostNameLength = static_cast<DWORD>(-1);
  parts.dwUrlPathLength = static_cast<DWORD>(-1);
  parts.dwExtraInfoLength = static_cast<DWORD>(-1);
  if (WinHttpCrackUrl(url.c_str(), static_cast<DWORD>(url.size()), 0, &parts) == 0 ||
      parts.dwHostNameLength == 0) {
    return Failure("malformed address");
  }
  const std::wstring host(parts.lpszHostName, parts.dwHostNameLength);
  // The fragment stays with the client; the query goes to the server.
  std::wstring object = std::wstring(parts.lpszUrlPath, parts.dwUrlPathLength) +
                        std::wstring(parts.lpszExtraInfo, parts.dwExtraInfoLength);
  object = object.substr(0, object.find(L'#'));
  if (object.empty()) object = L"/";
  connection_ = UniqueInternet(WinHttpConnect(session, host.c_str(), parts.nPort, 0));
  if (!connection_) return ClientFailure(GetLastError());
  request_ = UniqueInternet(
      WinHttpOpenRequest(connection_.Get(), L"GET", object.c_str(), nullptr, WINHTTP_NO_REFERER,
                         WINHTTP_DEFAULT_ACCEPT_TYPES,
                         parts.nScheme == INTERNET_SCHEME_HTTPS ? WINHTTP_FLAG_SECURE : 0));
  if (!request_) return ClientFailure(GetLastError());
  auto* keeper = new StateKeeper(state_);
  auto context = reinterpret_cast<DWORD_PTR>(keeper);
  if (WinHttpSetOption(request_.Get(), WINHTTP_OPTION_CONTEXT_VALUE, &context, sizeof context) ==
      0) {
    delete keeper;
    return ClientFailure(GetLastError());
  }
  SetLimits();
  if (target_.RangeStart > 0) {
    std::wstring headers = L"Range: bytes=" + std::to_wstring(target_.RangeStart) + L"-\r\n";
    if (!target_.Validator.empty()) {
      headers += L"If-Range: " + WideOfBytes(target_.Validator) + L"\r\n";
    }
    WinHttpAddRequestHeaders(request_.Get(), headers.c_str(), static_cast<DWORD>(headers.size()),
                             WINHTTP_ADDREQ_FLAG_ADD | WINHTTP_ADDREQ_FLAG_REPLACE);
  }
  return std::nullopt;
}

void HttpAttempt::SetLimits() {
  const auto milliseconds = [](long seconds) {
    return seconds > 0 && seconds < 0x7FFFFF ? static_cast<int>(seconds * 1000) : -1;
  };
  const int connect = milliseconds(options_.ConnectTimeoutSeconds);
  // The stall check ends a silent transfer; the client's own limit only lets its worker go
  // once the transfer has been given up, and must not come first.
  const int silence =
      options_.LowSpeedSeconds > 0
          ? milliseconds(options_.LowSpeedSeconds + std::max(options_.ConnectTimeoutSeconds, 30L))
          : -1;
  WinHttpSetTimeouts(request_.Get(), connect, connect, silence, silence);
  // Redirects are followed from https to http as well, as to any http or https address; the
  // client never follows one to anything else.
  DWORD policy = WINHTTP_OPTION_REDIRECT_POLICY_ALWAYS;
  WinHttpSetOption(request_.Get(), WINHTTP_OPTION_REDIRECT_POLICY, &policy, sizeof policy);
  DWORD most = kMostRedirects;
  WinHttpSetOption(request_.Get(), WINHTTP_OPTION_MAX_HTTP_AUTOMATIC_REDIRECTS, &most, sizeof most);
}

bool HttpAttempt::AwaitStep() {
  for (;;) {
    if (WaitForSingleObject(state_->StepDone.Get(), kWaitSliceMs) == WAIT_OBJECT_0) return true;
    if (stallWatch_.Stalled(bodyBytes_, StallWatch::Clock::now())) return false;
    stallWatch_.Report(callback_, target_.File.Size(), target_.Expected);
  }
}

std::optional<AttemptResult> HttpAttempt::Step(BOOL started) {
  if (started == 0) return ClientFailure(GetLastError());
  if (!AwaitStep()) {
    return Failure("transfer stalled for " + std::to_string(options_.LowSpeedSeconds) + " s", true);
  }
  if (state_->Error != 0) return ClientFailure(state_->Error);
  return std::nullopt;
}

std::optional<AttemptResult> HttpAttempt::AcceptBody() {
  ResponseHeaders headers;
  const std::string raw =
      BytesOfWide(QueryHeader(request_.Get(), WINHTTP_QUERY_RAW_HEADERS_CRLF).value_or(L""));
  for (std::size_t start = 0; start < raw.size();) {
    const std::size_t end = std::min(raw.find('\n', start), raw.size() - 1) + 1;
    headers.Feed(std::string_view(raw).substr(start, end - start));
    start = end;
  }
  if (!headers.Validator().empty()) target_.Validator = headers.Validator();
  DWORD status = 0;
  DWORD size = sizeof status;
  WinHttpQueryHeaders(request_.Get(), WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER,
                      WINHTTP_HEADER_NAME_BY_INDEX, &status, &size, WINHTTP_NO_HEADER_INDEX);
  // A redirect that is left as the final answer was not followed: no body of the file.
  if (status < 200 || status >= 300) {
    AttemptResult result = Failure("HTTP " + std::to_string(status), IsTransientHttpStatus(status));
    result.RangesUnusable = status == 416;
    return result;
  }
  std::uint64_t base = 0;
  switch (PlaceBody(static_cast<long>(status), headers, target_.RangeStart)) {
    case BodyPlacement::Append:
      base = target_.RangeStart;
      break;
    case BodyPlacement::StartOver:
      if (!target_.File.Truncate()) return Failure("write error");
      break;
    case BodyPlacement::Refused: {
      AttemptResult result = Failure("byte range not honoured", true);
      result.RangesUnusable = true;
      return result;
    }
  }
  if (const auto length = QueryHeader(request_.Get(), WINHTTP_QUERY_CONTENT_LENGTH)) {
    const std::string digits = BytesOfWide(*length);
    std::uint64_t value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (error == std::errc() && end == digits.data() + digits.size()) bodyLength_ = value;
  }
  if (bodyLength_) {
    target_.Expected = base + *bodyLength_;
    if (*bodyLength_ > 0 && !callback_.HasRoomFor(*bodyLength_)) {
      return Failure("not enough disk space");
    }
  }
  return std::nullopt;
}

AttemptResult HttpAttempt::ReadBody() {
  // Wine's client completes a read only once its buffer is full; Windows' returns what arrived.
  ReadSizer sizer;
  for (;;) {
    RequestState& state = *state_;
    const auto started = std::chrono::steady_clock::now();
    if (auto failed =
            Step(WinHttpReadData(request_.Get(), state.Buffer.data(), sizer.Next(), nullptr))) {
      return *failed;
    }
    const DWORD read = state.BytesRead;
    if (read == 0) break;
    sizer.Completed(read, std::chrono::steady_clock::now() - started);
    if (!target_.File.Append(state.Buffer.data(), read)) return Failure("write error");
    bodyBytes_ += read;
    stallWatch_.Report(callback_, target_.File.Size(), target_.Expected);
  }
  // The client takes a connection closed early for the end of the body.
  if (bodyLength_ && bodyBytes_ != *bodyLength_) {
    return Failure("transfer closed with " +
                       std::to_string(*bodyLength_ > bodyBytes_ ? *bodyLength_ - bodyBytes_ : 0) +
                       " bytes remaining to read",
                   true);
  }
  return AttemptResult{{true, ""}};
}

AttemptResult HttpAttempt::Run(HINTERNET session, const std::wstring& url) {
  if (!state_->StepDone.IsOpen()) return Failure("no transfer handle");
  if (auto failed = Open(session, url)) return *failed;
  if (auto failed = Step(WinHttpSendRequest(request_.Get(), WINHTTP_NO_ADDITIONAL_HEADERS, 0,
                                            WINHTTP_NO_REQUEST_DATA, 0, 0, 0))) {
    return *failed;
  }
  if (auto failed = Step(WinHttpReceiveResponse(request_.Get(), nullptr))) return *failed;
  if (auto refused = AcceptBody()) return *refused;
  return ReadBody();
}

}  // namespace

UniqueInternet OpenHttpSession(const ProxyChoice& proxy) {
  // The proxy is the session's rather than each request's: Wine ignores one set on a request.
  const bool direct = proxy.Proxy.empty();
  UniqueInternet session(WinHttpOpen(
      L"MorvoPatcher", direct ? WINHTTP_ACCESS_TYPE_NO_PROXY : WINHTTP_ACCESS_TYPE_NAMED_PROXY,
      direct ? WINHTTP_NO_PROXY_NAME : proxy.Proxy.c_str(),
      direct || proxy.Bypass.empty() ? WINHTTP_NO_PROXY_BYPASS : proxy.Bypass.c_str(),
      WINHTTP_FLAG_ASYNC));
  if (session && WinHttpSetStatusCallback(
                     session.Get(), &OnClientStatus,
                     WINHTTP_CALLBACK_FLAG_ALL_COMPLETIONS | WINHTTP_CALLBACK_FLAG_HANDLES,
                     0) == WINHTTP_INVALID_STATUS_CALLBACK) {
    session.Reset();
  }
  return session;
}

AttemptResult RunHttpAttempt(HINTERNET session, const std::wstring& url,
                             const DownloadOptions& options, BindStatusCallback& callback,
                             AttemptTarget& target) {
  return HttpAttempt(options, callback, target).Run(session, url);
}

}  // namespace morvo
