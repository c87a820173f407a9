#include <windows.h>
// After windows.h, which they need.
#include <sddl.h>

#include <memory>
#include <vector>

#include "OwnerOnlyFile.h"
#include "platform/UniqueHandle.h"
#include "platform/WideText.h"

namespace {

struct LocalFreer {
  void operator()(void* memory) const { LocalFree(memory); }
};

// "D:P(A;;FA;;;SID)": the current user alone has access, nothing inherited from the folder.
std::unique_ptr<void, LocalFreer> OwnerOnlyDescriptor() {
  morvo::UniqueHandle token;
  HANDLE raw = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &raw)) return nullptr;
  token = morvo::UniqueHandle(raw);
  DWORD size = 0;
  GetTokenInformation(token.Get(), TokenUser, nullptr, 0, &size);
  std::vector<BYTE> user(size);
  LPWSTR sidText = nullptr;
  if (size == 0 || !GetTokenInformation(token.Get(), TokenUser, user.data(), size, &size) ||
      !ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(user.data())->User.Sid, &sidText)) {
    return nullptr;
  }
  const std::unique_ptr<void, LocalFreer> ownedSid(sidText);
  const std::wstring sddl = L"D:P(A;;FA;;;" + std::wstring(sidText) + L")";
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl.c_str(), SDDL_REVISION_1,
                                                            &descriptor, nullptr)) {
    return nullptr;
  }
  return std::unique_ptr<void, LocalFreer>(descriptor);
}

}  // namespace

bool CreateOwnerOnlyFile(const std::string& path, std::string_view bytes, std::string& why) {
  const std::unique_ptr<void, LocalFreer> descriptor = OwnerOnlyDescriptor();
  if (!descriptor) {
    why = "cannot make a file that only its owner may read";
    return false;
  }
  SECURITY_ATTRIBUTES attributes{sizeof attributes, descriptor.get(), FALSE};
  const std::wstring widePath = morvo::Widen(path);
  morvo::UniqueHandle file(CreateFileW(widePath.c_str(), GENERIC_WRITE, 0, &attributes, CREATE_NEW,
                                       FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.IsOpen()) {
    why = GetLastError() == ERROR_FILE_EXISTS ? "exists already; it is never replaced"
                                              : "cannot be created";
    return false;
  }
  DWORD written = 0;
  const bool whole =
      WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
      written == bytes.size() && FlushFileBuffers(file.Get());
  file = morvo::UniqueHandle();
  if (!whole) {
    why = "cannot be written";
    DeleteFileW(widePath.c_str());
  }
  return whole;
}
