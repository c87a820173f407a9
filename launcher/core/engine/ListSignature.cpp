#include "engine/ListSignature.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "platform/NativeFile.h"

namespace morvo {

namespace {

// The whole file, when it is a regular file of at most largest bytes that reads completely.
std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::string& path,
                                                       std::int64_t largest) {
  NativeFile file = NativeFile::OpenToRead(path);
  const auto size = file.IsOpen() ? file.RegularFileSize() : std::nullopt;
  if (!size || *size > largest) return std::nullopt;
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(*size));
  std::size_t filled = 0;
  while (filled < bytes.size()) {
    const std::int64_t read = file.Read(bytes.data() + filled, bytes.size() - filled);
    if (read <= 0) return std::nullopt;
    filled += static_cast<std::size_t>(read);
  }
  // A file that grew since its size was taken is not the file that was measured.
  std::uint8_t more = 0;
  if (file.Read(&more, 1) != 0) return std::nullopt;
  return bytes;
}

}  // namespace

bool ListSignatureVerifies(const std::string& listPath, const std::string& signaturePath,
                           const P256PublicKey& key) {
  const auto signatureBytes = ReadWholeFile(signaturePath, sizeof(P256Signature));
  if (!signatureBytes || signatureBytes->size() != sizeof(P256Signature)) return false;
  const auto list = ReadWholeFile(listPath, kLargestSignedList);
  if (!list) return false;
  P256Signature signature{};
  std::copy(signatureBytes->begin(), signatureBytes->end(), signature.begin());
  return VerifyP256(key, *list, signature);
}

}  // namespace morvo
