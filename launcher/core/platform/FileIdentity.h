// Which file a path or a handle reaches on Windows: the volume and the file's index on it, the
// same for every name of the file. Included by ...Win32.cpp files only.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

namespace morvo {

struct FileIdentity {
  DWORD Volume = 0;
  std::uint64_t Index = 0;
  bool operator==(const FileIdentity&) const = default;
};

std::optional<FileIdentity> IdentityOfHandle(HANDLE file);
// Follows links; nullopt when nothing can be opened at path.
std::optional<FileIdentity> IdentityOfPath(const std::wstring& path);

}  // namespace morvo
