#include <openssl/evp.h>

#include "platform/Sha256.h"

namespace morvo {

struct Sha256::State {
  EVP_MD_CTX* context = EVP_MD_CTX_new();
  ~State() { EVP_MD_CTX_free(context); }
};

Sha256::Sha256() : state_(std::make_unique<State>()) {
  failed_ =
      state_->context == nullptr || EVP_DigestInit_ex(state_->context, EVP_sha256(), nullptr) != 1;
}

Sha256::~Sha256() = default;
Sha256::Sha256(Sha256&&) noexcept = default;
Sha256& Sha256::operator=(Sha256&&) noexcept = default;

void Sha256::Update(const void* data, std::size_t size) {
  if (Ok() && size > 0) failed_ = EVP_DigestUpdate(state_->context, data, size) != 1;
}

std::optional<Sha256Digest> Sha256::Finish() {
  Sha256Digest digest{};
  unsigned int length = 0;
  const bool done = Ok() && EVP_DigestFinal_ex(state_->context, digest.data(), &length) == 1 &&
                    length == digest.size();
  state_.reset();
  if (!done) return std::nullopt;
  return digest;
}

}  // namespace morvo
