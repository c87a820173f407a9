#include <windows.h>
// After windows.h, which it needs.
#include <bcrypt.h>

#include "platform/Sha256.h"

namespace morvo {

struct Sha256::State {
  BCRYPT_ALG_HANDLE algorithm = nullptr;
  BCRYPT_HASH_HANDLE hash = nullptr;
  ~State() {
    if (hash != nullptr) BCryptDestroyHash(hash);
    if (algorithm != nullptr) BCryptCloseAlgorithmProvider(algorithm, 0);
  }
};

namespace {

bool Succeeded(NTSTATUS status) { return status >= 0; }

}  // namespace

Sha256::Sha256() : state_(std::make_unique<State>()) {
  failed_ =
      !Succeeded(
          BCryptOpenAlgorithmProvider(&state_->algorithm, BCRYPT_SHA256_ALGORITHM, nullptr, 0)) ||
      !Succeeded(BCryptCreateHash(state_->algorithm, &state_->hash, nullptr, 0, nullptr, 0, 0));
}

Sha256::~Sha256() = default;
Sha256::Sha256(Sha256&&) noexcept = default;
Sha256& Sha256::operator=(Sha256&&) noexcept = default;

void Sha256::Update(const void* data, std::size_t size) {
  // BCryptHashData takes 32-bit counts.
  const auto* bytes = static_cast<const UCHAR*>(const_cast<void*>(data));
  while (Ok() && size > 0) {
    const ULONG piece = size > 0x40000000 ? 0x40000000 : static_cast<ULONG>(size);
    failed_ = !Succeeded(BCryptHashData(state_->hash, const_cast<UCHAR*>(bytes), piece, 0));
    bytes += piece;
    size -= piece;
  }
}

std::optional<Sha256Digest> Sha256::Finish() {
  Sha256Digest digest{};
  const bool done =
      Ok() && Succeeded(BCryptFinishHash(state_->hash, digest.data(), digest.size(), 0));
  state_.reset();
  if (!done) return std::nullopt;
  return digest;
}

}  // namespace morvo
