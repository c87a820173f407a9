#include <windows.h>
// After windows.h, which it needs.
#include <bcrypt.h>

#include <vector>

#include "platform/EcdsaP256.h"
#include "platform/Sha256.h"

namespace morvo {

namespace {

constexpr ULONG kCoordinateSize = 32;

bool Succeeded(NTSTATUS status) { return status >= 0; }

class Algorithm {
 public:
  Algorithm() {
    if (!Succeeded(
            BCryptOpenAlgorithmProvider(&handle_, BCRYPT_ECDSA_P256_ALGORITHM, nullptr, 0))) {
      handle_ = nullptr;
    }
  }
  ~Algorithm() {
    if (handle_ != nullptr) BCryptCloseAlgorithmProvider(handle_, 0);
  }
  Algorithm(const Algorithm&) = delete;
  Algorithm& operator=(const Algorithm&) = delete;
  BCRYPT_ALG_HANDLE Get() const { return handle_; }

 private:
  BCRYPT_ALG_HANDLE handle_ = nullptr;
};

class Key {
 public:
  Key() = default;
  ~Key() {
    if (handle_ != nullptr) BCryptDestroyKey(handle_);
  }
  Key(const Key&) = delete;
  Key& operator=(const Key&) = delete;
  BCRYPT_KEY_HANDLE* Out() { return &handle_; }
  BCRYPT_KEY_HANDLE Get() const { return handle_; }

 private:
  BCRYPT_KEY_HANDLE handle_ = nullptr;
};

// CNG's key blob: a header, X, Y and, for a private key, d.
std::vector<UCHAR> KeyBlob(const P256PublicKey& publicKey, const P256PrivateKey* privateKey) {
  BCRYPT_ECCKEY_BLOB header{};
  header.dwMagic =
      privateKey != nullptr ? BCRYPT_ECDSA_PRIVATE_P256_MAGIC : BCRYPT_ECDSA_PUBLIC_P256_MAGIC;
  header.cbKey = kCoordinateSize;
  std::vector<UCHAR> blob(reinterpret_cast<const UCHAR*>(&header),
                          reinterpret_cast<const UCHAR*>(&header) + sizeof header);
  blob.insert(blob.end(), publicKey.begin(), publicKey.end());
  if (privateKey != nullptr) blob.insert(blob.end(), privateKey->begin(), privateKey->end());
  return blob;
}

bool Import(const Algorithm& algorithm, const P256PublicKey& publicKey,
            const P256PrivateKey* privateKey, Key& key) {
  std::vector<UCHAR> blob = KeyBlob(publicKey, privateKey);
  return algorithm.Get() != nullptr &&
         Succeeded(BCryptImportKeyPair(
             algorithm.Get(), nullptr,
             privateKey != nullptr ? BCRYPT_ECCPRIVATE_BLOB : BCRYPT_ECCPUBLIC_BLOB, key.Out(),
             blob.data(), static_cast<ULONG>(blob.size()), 0));
}

}  // namespace

bool IsP256PublicKey(const P256PublicKey& publicKey) {
  const Algorithm algorithm;
  Key imported;
  return Import(algorithm, publicKey, nullptr, imported);
}

std::optional<P256KeyPair> GenerateP256KeyPair() {
  const Algorithm algorithm;
  Key key;
  if (algorithm.Get() == nullptr ||
      !Succeeded(BCryptGenerateKeyPair(algorithm.Get(), key.Out(), 256, 0)) ||
      !Succeeded(BCryptFinalizeKeyPair(key.Get(), 0))) {
    return std::nullopt;
  }
  std::vector<UCHAR> blob(sizeof(BCRYPT_ECCKEY_BLOB) + 3 * kCoordinateSize);
  ULONG size = 0;
  if (!Succeeded(BCryptExportKey(key.Get(), nullptr, BCRYPT_ECCPRIVATE_BLOB, blob.data(),
                                 static_cast<ULONG>(blob.size()), &size, 0)) ||
      size != blob.size()) {
    return std::nullopt;
  }
  P256KeyPair pair;
  const UCHAR* numbers = blob.data() + sizeof(BCRYPT_ECCKEY_BLOB);
  std::copy(numbers, numbers + 2 * kCoordinateSize, pair.Public.begin());
  std::copy(numbers + 2 * kCoordinateSize, numbers + 3 * kCoordinateSize, pair.Private.begin());
  SecureZeroMemory(blob.data(), blob.size());
  return pair;
}

std::optional<P256Signature> SignP256(const P256KeyPair& key,
                                      std::span<const std::uint8_t> message) {
  const Algorithm algorithm;
  Key imported;
  std::optional<Sha256Digest> digest = Sha256Of(message.data(), message.size());
  P256Signature signature{};
  ULONG size = 0;
  if (!digest || !Import(algorithm, key.Public, &key.Private, imported) ||
      !Succeeded(BCryptSignHash(imported.Get(), nullptr, digest->data(), digest->size(),
                                signature.data(), signature.size(), &size, 0)) ||
      size != signature.size()) {
    return std::nullopt;
  }
  return signature;
}

bool VerifyP256(const P256PublicKey& publicKey, std::span<const std::uint8_t> message,
                const P256Signature& signature) {
  const Algorithm algorithm;
  Key imported;
  std::optional<Sha256Digest> digest = Sha256Of(message.data(), message.size());
  P256Signature copy = signature;  // the call takes it unqualified
  return digest && Import(algorithm, publicKey, nullptr, imported) &&
         Succeeded(BCryptVerifySignature(imported.Get(), nullptr, digest->data(), digest->size(),
                                         copy.data(), copy.size(), 0));
}

}  // namespace morvo
