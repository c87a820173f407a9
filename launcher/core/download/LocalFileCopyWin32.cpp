#include "download/LocalFileCopyWin32.h"

#include <windows.h>

#include <vector>

#include "download/InternetHandleWin32.h"
#include "platform/WideText.h"

namespace morvo {

namespace {
constexpr DWORD kPieceBytes = 128 * 1024;
}

AttemptResult CopyLocalFile(const std::string& path, BindStatusCallback& callback,
                            AttemptTarget& target) {
  AttemptResult result;
  const std::wstring wide = Widen(path);
  // A folder does not open without backup semantics: it is no file to fetch.
  const UniqueHandle source(
      wide.empty() ? INVALID_HANDLE_VALUE
                   : CreateFileW(wide.c_str(), GENERIC_READ,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                 OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  LARGE_INTEGER size{};
  if (!source.IsOpen() || GetFileSizeEx(source.Get(), &size) == 0) {
    result.Status.Error = "cannot read " + path;
    return result;
  }
  target.Expected = static_cast<std::uint64_t>(size.QuadPart);
  if (target.Expected > 0 && !callback.HasRoomFor(target.Expected)) {
    result.Status.Error = "not enough disk space";
    return result;
  }
  std::vector<char> piece(kPieceBytes);
  for (;;) {
    DWORD read = 0;
    if (ReadFile(source.Get(), piece.data(), kPieceBytes, &read, nullptr) == 0) {
      result.Status.Error = "cannot read " + path;
      return result;
    }
    if (read == 0) break;
    if (!target.File.Append(piece.data(), read)) {
      result.Status.Error = "write error";
      return result;
    }
    callback.OnProgress(target.File.Size(), target.Expected);
  }
  result.Status.Succeeded = true;
  return result;
}

}  // namespace morvo
