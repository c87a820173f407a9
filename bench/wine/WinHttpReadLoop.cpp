// winhttp_read_loop URL FILE: the download yardstick under Wine, the plainest use of the system's
// HTTP client: one synchronous GET, WinHttpReadData into a 128 KiB buffer (the downloader's
// read size) and WriteFile until the body ends. Prints the seconds from opening the session to
// the file closed.
#include <windows.h>
#include <winhttp.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "download/InternetHandleWin32.h"
#include "platform/UniqueHandle.h"
#include "platform/WideText.h"

using namespace morvo;

namespace {

constexpr DWORD kReadBytes = 128 * 1024;

bool Fetch(const std::wstring& url, const std::wstring& path) {
  URL_COMPONENTS parts{};
  parts.dwStructSize = sizeof parts;
  parts.dwHostNameLength = parts.dwUrlPathLength = parts.dwExtraInfoLength = static_cast<DWORD>(-1);
  if (!WinHttpCrackUrl(url.c_str(), 0, 0, &parts)) return false;
  const std::wstring host(parts.lpszHostName, parts.dwHostNameLength);
  const std::wstring object(parts.lpszUrlPath, parts.dwUrlPathLength + parts.dwExtraInfoLength);

  UniqueInternet session(WinHttpOpen(L"winhttp_read_loop", WINHTTP_ACCESS_TYPE_NO_PROXY,
                                     WINHTTP_NO_PROXY_NAME, WINHTTP_NO_PROXY_BYPASS, 0));
  if (!session) return false;
  UniqueInternet connection(WinHttpConnect(session.Get(), host.c_str(), parts.nPort, 0));
  if (!connection) return false;
  UniqueInternet request(WinHttpOpenRequest(connection.Get(), L"GET", object.c_str(), nullptr,
                                            WINHTTP_NO_REFERER, WINHTTP_DEFAULT_ACCEPT_TYPES, 0));
  if (!request ||
      !WinHttpSendRequest(request.Get(), WINHTTP_NO_ADDITIONAL_HEADERS, 0, WINHTTP_NO_REQUEST_DATA,
                          0, 0, 0) ||
      !WinHttpReceiveResponse(request.Get(), nullptr)) {
    return false;
  }
  UniqueHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.IsOpen()) return false;
  std::vector<char> buffer(kReadBytes);
  for (;;) {
    DWORD read = 0, written = 0;
    if (!WinHttpReadData(request.Get(), buffer.data(), kReadBytes, &read)) return false;
    if (read == 0) return true;
    if (!WriteFile(file.Get(), buffer.data(), read, &written, nullptr) || written != read) {
      return false;
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: winhttp_read_loop URL FILE\n");
    return 2;
  }
  const auto start = std::chrono::steady_clock::now();
  if (!Fetch(Widen(argv[1]), Widen(argv[2]))) {
    std::fprintf(stderr, "winhttp_read_loop: download failed (%lu)\n", GetLastError());
    return 1;
  }
  const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
  std::printf("%.3f\n", elapsed.count());
  return 0;
}
