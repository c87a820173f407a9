#include <openssl/bn.h>
#include <openssl/core_names.h>
#include <openssl/ec.h>
#include <openssl/evp.h>
#include <openssl/param_build.h>

#include <memory>
#include <vector>

#include "platform/EcdsaP256.h"

namespace morvo {

namespace {

constexpr std::size_t kCoordinateSize = 32;
constexpr std::uint8_t kUncompressedPoint = 0x04;

struct Freer {
  void operator()(EVP_PKEY* key) const { EVP_PKEY_free(key); }
  void operator()(EVP_PKEY_CTX* context) const { EVP_PKEY_CTX_free(context); }
  void operator()(EVP_MD_CTX* context) const { EVP_MD_CTX_free(context); }
  void operator()(BIGNUM* number) const { BN_clear_free(number); }
  void operator()(ECDSA_SIG* signature) const { ECDSA_SIG_free(signature); }
  void operator()(OSSL_PARAM_BLD* builder) const { OSSL_PARAM_BLD_free(builder); }
  void operator()(OSSL_PARAM* params) const { OSSL_PARAM_free(params); }
};
template <typename T>
using Owned = std::unique_ptr<T, Freer>;

// The key from its raw numbers; the private part only when given.
Owned<EVP_PKEY> KeyFrom(const P256PublicKey& publicKey, const P256PrivateKey* privateKey) {
  std::array<std::uint8_t, 1 + 64> point{kUncompressedPoint};
  std::copy(publicKey.begin(), publicKey.end(), point.begin() + 1);
  Owned<OSSL_PARAM_BLD> builder(OSSL_PARAM_BLD_new());
  Owned<BIGNUM> d(privateKey != nullptr
                      ? BN_bin2bn(privateKey->data(), static_cast<int>(privateKey->size()), nullptr)
                      : nullptr);
  if (!builder ||
      !OSSL_PARAM_BLD_push_utf8_string(builder.get(), OSSL_PKEY_PARAM_GROUP_NAME, "prime256v1",
                                       0) ||
      !OSSL_PARAM_BLD_push_octet_string(builder.get(), OSSL_PKEY_PARAM_PUB_KEY, point.data(),
                                        point.size()) ||
      (privateKey != nullptr &&
       (!d || !OSSL_PARAM_BLD_push_BN(builder.get(), OSSL_PKEY_PARAM_PRIV_KEY, d.get())))) {
    return nullptr;
  }
  Owned<OSSL_PARAM> params(OSSL_PARAM_BLD_to_param(builder.get()));
  Owned<EVP_PKEY_CTX> context(EVP_PKEY_CTX_new_from_name(nullptr, "EC", nullptr));
  EVP_PKEY* key = nullptr;
  const int selection = privateKey != nullptr ? EVP_PKEY_KEYPAIR : EVP_PKEY_PUBLIC_KEY;
  if (!params || !context || EVP_PKEY_fromdata_init(context.get()) != 1 ||
      EVP_PKEY_fromdata(context.get(), &key, selection, params.get()) != 1) {
    return nullptr;
  }
  Owned<EVP_PKEY> owned(key);
  // fromdata takes any bytes for the point; only a point of the curve is a key.
  Owned<EVP_PKEY_CTX> check(EVP_PKEY_CTX_new_from_pkey(nullptr, key, nullptr));
  if (!check || EVP_PKEY_public_check(check.get()) != 1) return nullptr;
  return owned;
}

bool BigEndian32(const BIGNUM* number, std::uint8_t* out) {
  return BN_bn2binpad(number, out, static_cast<int>(kCoordinateSize)) ==
         static_cast<int>(kCoordinateSize);
}

}  // namespace

bool IsP256PublicKey(const P256PublicKey& publicKey) {
  return KeyFrom(publicKey, nullptr) != nullptr;
}

std::optional<P256KeyPair> GenerateP256KeyPair() {
  Owned<EVP_PKEY> key(EVP_EC_gen("P-256"));
  if (!key) return std::nullopt;
  P256KeyPair pair;
  BIGNUM* d = nullptr;
  std::array<std::uint8_t, 1 + 64> point{};
  std::size_t pointSize = 0;
  if (EVP_PKEY_get_bn_param(key.get(), OSSL_PKEY_PARAM_PRIV_KEY, &d) != 1) return std::nullopt;
  Owned<BIGNUM> ownedD(d);
  if (!BigEndian32(d, pair.Private.data()) ||
      EVP_PKEY_get_octet_string_param(key.get(), OSSL_PKEY_PARAM_PUB_KEY, point.data(),
                                      point.size(), &pointSize) != 1 ||
      pointSize != point.size() || point[0] != kUncompressedPoint) {
    return std::nullopt;
  }
  std::copy(point.begin() + 1, point.end(), pair.Public.begin());
  return pair;
}

std::optional<P256Signature> SignP256(const P256KeyPair& key,
                                      std::span<const std::uint8_t> message) {
  Owned<EVP_PKEY> pkey = KeyFrom(key.Public, &key.Private);
  Owned<EVP_MD_CTX> context(EVP_MD_CTX_new());
  std::size_t derSize = 0;
  if (!pkey || !context ||
      EVP_DigestSignInit(context.get(), nullptr, EVP_sha256(), nullptr, pkey.get()) != 1 ||
      EVP_DigestSign(context.get(), nullptr, &derSize, message.data(), message.size()) != 1) {
    return std::nullopt;
  }
  std::vector<std::uint8_t> der(derSize);
  if (EVP_DigestSign(context.get(), der.data(), &derSize, message.data(), message.size()) != 1) {
    return std::nullopt;
  }
  const unsigned char* cursor = der.data();
  Owned<ECDSA_SIG> parsed(d2i_ECDSA_SIG(nullptr, &cursor, static_cast<long>(derSize)));
  P256Signature signature{};
  if (!parsed || !BigEndian32(ECDSA_SIG_get0_r(parsed.get()), signature.data()) ||
      !BigEndian32(ECDSA_SIG_get0_s(parsed.get()), signature.data() + kCoordinateSize)) {
    return std::nullopt;
  }
  return signature;
}

bool VerifyP256(const P256PublicKey& publicKey, std::span<const std::uint8_t> message,
                const P256Signature& signature) {
  Owned<EVP_PKEY> pkey = KeyFrom(publicKey, nullptr);
  if (!pkey) return false;
  // libcrypto reads signatures in DER: the raw r and s are wrapped first.
  Owned<ECDSA_SIG> parsed(ECDSA_SIG_new());
  BIGNUM* r = BN_bin2bn(signature.data(), kCoordinateSize, nullptr);
  BIGNUM* s = BN_bin2bn(signature.data() + kCoordinateSize, kCoordinateSize, nullptr);
  if (!parsed || r == nullptr || s == nullptr || ECDSA_SIG_set0(parsed.get(), r, s) != 1) {
    BN_free(r);
    BN_free(s);
    return false;
  }
  unsigned char* der = nullptr;
  const int derSize = i2d_ECDSA_SIG(parsed.get(), &der);
  if (derSize <= 0) return false;
  std::unique_ptr<unsigned char, void (*)(void*)> ownedDer(der, [](void* p) { OPENSSL_free(p); });
  Owned<EVP_MD_CTX> context(EVP_MD_CTX_new());
  return context &&
         EVP_DigestVerifyInit(context.get(), nullptr, EVP_sha256(), nullptr, pkey.get()) == 1 &&
         EVP_DigestVerify(context.get(), der, static_cast<std::size_t>(derSize), message.data(),
                          message.size()) == 1;
}

}  // namespace morvo
