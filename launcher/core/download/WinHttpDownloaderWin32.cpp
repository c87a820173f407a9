// The downloader on the system's HTTP client (http, https) and the file system (file
// addresses). One session serves every download of a run, so that connections are kept.
#include <memory>
#include <string>

#include "download/DownloadAddress.h"
#include "download/Downloader.h"
#include "download/HttpTransferWin32.h"
#include "download/LocalFileCopyWin32.h"
#include "download/RetriedDownload.h"
#include "download/SystemProxyWin32.h"
#include "platform/WideText.h"

namespace morvo {

namespace {

// Bytes an address may not hold as they are (blanks, controls, anything beyond ASCII, as an
// address in a Windows-1252 patch list can) go to the server percent-escaped: it gets the same
// bytes whatever their encoding.
std::string EscapeUrlBytes(const std::string& url) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string escaped;
  for (const char c : url) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte <= 0x20 || byte >= 0x7F) {
      escaped += '%';
      escaped += kHex[byte >> 4];
      escaped += kHex[byte & 0x0F];
    } else {
      escaped += c;
    }
  }
  return escaped;
}

class WinHttpDownloader final : public Downloader {
 public:
  explicit WinHttpDownloader(const DownloadOptions& options) : options_(options) {}

  using Downloader::Download;
  DownloadStatus Download(const std::string& url, const std::string& path,
                          BindStatusCallback& callback,
                          const std::optional<Sha256Digest>& expectedDigest) override {
    if (IsHttpUrl(url)) {
      const std::wstring wide = Widen(EscapeUrlBytes(url));
      return RunDownload(path, callback, options_, true, expectedDigest,
                         [&](AttemptTarget& target) {
                           // Inside the download: finding the proxy may take a while on a network
                           // that has none.
                           const HINTERNET session = SessionFor(wide);
                           if (session == nullptr)
                             return AttemptResult{{false, "no transfer handle"}};
                           return RunHttpAttempt(session, wide, options_, callback, target);
                         });
    }
    const auto local = LocalPathOfFileUrl(url);
    return RunDownload(path, callback, options_, false, expectedDigest, [&](AttemptTarget& target) {
      if (!local) return AttemptResult{{false, "unsupported address"}};
      return CopyLocalFile(*local, callback, target);
    });
  }

 private:
  // The session kept from the last download while the proxy stays the same, so that its
  // connections serve the next one.
  HINTERNET SessionFor(const std::wstring& url) {
    const ProxyChoice proxy = systemProxy_.For(url);
    if (!session_ || proxy != sessionProxy_) {
      session_ = OpenHttpSession(proxy);
      sessionProxy_ = proxy;
    }
    return session_.Get();
  }

  DownloadOptions options_;
  SystemProxy systemProxy_;
  ProxyChoice sessionProxy_;
  UniqueInternet session_;
};

}  // namespace

std::unique_ptr<Downloader> MakeSystemDownloader(const DownloadOptions& options) {
  return std::make_unique<WinHttpDownloader>(options);
}

}  // namespace morvo
