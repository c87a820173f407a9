#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <optional>
#include <vector>

#include "TempDir.h"
#include "TestHttpServer.h"
#include "download/Downloader.h"

using namespace morvo;

namespace {

constexpr wchar_t kConnections[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\Connections";
constexpr wchar_t kSettings[] = L"DefaultConnectionSettings";

// The user's connection settings as the system's Internet options store them: a header (magic,
// change counter, flags), then the proxy, its bypass list and the script address, each an
// 8-bit text after its length.
std::vector<BYTE> NamedProxySettings(const std::string& proxy) {
  constexpr DWORD kMagic = 0x46;
  constexpr DWORD kUseProxy = 2;
  std::vector<BYTE> blob;
  const auto put = [&blob](const void* data, std::size_t size) {
    const auto* bytes = static_cast<const BYTE*>(data);
    blob.insert(blob.end(), bytes, bytes + size);
  };
  const auto putText = [&put](const std::string& text) {
    const auto length = static_cast<DWORD>(text.size());
    put(&length, sizeof length);
    put(text.data(), text.size());
  };
  for (const DWORD field : {kMagic, DWORD{1}, kUseProxy}) put(&field, sizeof field);
  putText(proxy);
  putText("");
  putText("");
  blob.resize(blob.size() + 32);  // the fields that follow, all zero
  return blob;
}

// Sets the user's settings for the test and puts back what was there before.
class UserConnectionSettings {
 public:
  explicit UserConnectionSettings(const std::vector<BYTE>& settings) {
    DWORD size = 0;
    if (RegGetValueW(HKEY_CURRENT_USER, kConnections, kSettings, RRF_RT_REG_BINARY, nullptr,
                     nullptr, &size) == ERROR_SUCCESS) {
      saved_.emplace(size);
      RegGetValueW(HKEY_CURRENT_USER, kConnections, kSettings, RRF_RT_REG_BINARY, nullptr,
                   saved_->data(), &size);
    }
    set_ = RegSetKeyValueW(HKEY_CURRENT_USER, kConnections, kSettings, REG_BINARY, settings.data(),
                           static_cast<DWORD>(settings.size())) == ERROR_SUCCESS;
  }
  ~UserConnectionSettings() {
    if (saved_) {
      RegSetKeyValueW(HKEY_CURRENT_USER, kConnections, kSettings, REG_BINARY, saved_->data(),
                      static_cast<DWORD>(saved_->size()));
    } else {
      RegDeleteKeyValueW(HKEY_CURRENT_USER, kConnections, kSettings);
    }
  }
  bool set() const { return set_; }

 private:
  std::optional<std::vector<BYTE>> saved_;
  bool set_ = false;
};

class SilentCallback : public BindStatusCallback {
 public:
  void OnStartBinding() override {}
  void OnProgress(std::uint64_t, std::uint64_t) override {}
  DownloadStatus OnStopBinding(const DownloadStatus& status) override { return status; }
};

// The proxy of the user's settings carries the request: the host named in the address is one
// that no name service knows, and only the proxy (the test server) can answer it.
TEST(SystemProxy, TheUsersNamedProxyCarriesTheRequest) {
  TestHttpServer proxy;
  const std::string url = "http://patches.invalid/p0001.pak";
  proxy.Serve("/p0001.pak", "through the proxy");
  const std::string host = proxy.Url("");
  const UserConnectionSettings settings(NamedProxySettings(host.substr(host.find("//") + 2)));
  ASSERT_TRUE(settings.set());
  TempDir folder;
  SilentCallback callback;
  DownloadOptions options;
  options.Retries = 0;

  const DownloadStatus status =
      MakeSystemDownloader(options)->Download(url, folder / "p0001.pak", callback);

  ASSERT_TRUE(status.Succeeded) << status.Error;
  EXPECT_EQ(ReadFileBytes(folder / "p0001.pak"), "through the proxy");
  EXPECT_EQ(proxy.Requests("/p0001.pak"), 1);
}

}  // namespace
