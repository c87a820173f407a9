#include "download/SystemProxyWin32.h"

namespace morvo {

namespace {

// The settings' texts belong to the caller, who frees them with GlobalFree.
struct UserProxySettings : WINHTTP_CURRENT_USER_IE_PROXY_CONFIG {
  UserProxySettings() : WINHTTP_CURRENT_USER_IE_PROXY_CONFIG{} {
    if (WinHttpGetIEProxyConfigForCurrentUser(this) == 0) *static_cast<Base*>(this) = Base{};
  }
  ~UserProxySettings() {
    for (wchar_t* text : {lpszAutoConfigUrl, lpszProxy, lpszProxyBypass}) {
      if (text != nullptr) GlobalFree(text);
    }
  }
  UserProxySettings(const UserProxySettings&) = delete;
  UserProxySettings& operator=(const UserProxySettings&) = delete;

 private:
  using Base = WINHTTP_CURRENT_USER_IE_PROXY_CONFIG;
};

struct FoundProxy : WINHTTP_PROXY_INFO {
  FoundProxy() : WINHTTP_PROXY_INFO{} {}
  ~FoundProxy() {
    if (lpszProxy != nullptr) GlobalFree(lpszProxy);
    if (lpszProxyBypass != nullptr) GlobalFree(lpszProxyBypass);
  }
  FoundProxy(const FoundProxy&) = delete;
  FoundProxy& operator=(const FoundProxy&) = delete;
};

std::wstring TextOr(const wchar_t* text) { return text != nullptr ? text : L""; }

}  // namespace

ProxyChoice SystemProxy::For(const std::wstring& url) {
  const UserProxySettings settings;
  const bool detect = settings.fAutoDetect != 0 && !detectionFailed_;
  ProxyChoice choice;
  if ((detect || settings.lpszAutoConfigUrl != nullptr) &&
      FindAutomatic(url, settings.lpszAutoConfigUrl, detect, choice)) {
    return choice;
  }
  return {TextOr(settings.lpszProxy), TextOr(settings.lpszProxyBypass)};
}

bool SystemProxy::FindAutomatic(const std::wstring& url, const wchar_t* scriptUrl, bool detect,
                                ProxyChoice& choice) {
  if (!resolver_) {
    resolver_ = UniqueInternet(WinHttpOpen(L"MorvoPatcher", WINHTTP_ACCESS_TYPE_NO_PROXY,
                                           WINHTTP_NO_PROXY_NAME, WINHTTP_NO_PROXY_BYPASS, 0));
    if (!resolver_) return false;
  }
  WINHTTP_AUTOPROXY_OPTIONS options{};
  if (scriptUrl != nullptr) {
    options.dwFlags |= WINHTTP_AUTOPROXY_CONFIG_URL;
    options.lpszAutoConfigUrl = scriptUrl;
  }
  if (detect) {
    options.dwFlags |= WINHTTP_AUTOPROXY_AUTO_DETECT;
    options.dwAutoDetectFlags = WINHTTP_AUTO_DETECT_TYPE_DHCP | WINHTTP_AUTO_DETECT_TYPE_DNS_A;
  }
  options.fAutoLogonIfChallenged = TRUE;
  FoundProxy proxy;
  if (WinHttpGetProxyForUrl(resolver_.Get(), url.c_str(), &options, &proxy) == 0) {
    if (detect && GetLastError() == ERROR_WINHTTP_AUTODETECTION_FAILED) detectionFailed_ = true;
    return false;
  }
  if (proxy.dwAccessType == WINHTTP_ACCESS_TYPE_NAMED_PROXY) {
    choice = {TextOr(proxy.lpszProxy), TextOr(proxy.lpszProxyBypass)};
  }
  return true;
}

}  // namespace morvo
