#include "KeyFiles.h"

#include <string_view>

#include "MkpatchCommands.h"
#include "WholeFile.h"
#include "signing/SigningKeyText.h"
#include "text/AsciiText.h"
#include "text/HexText.h"

using namespace morvo;

namespace {

constexpr std::string_view kPrivatePrefix = "P256-PRIVATE:";

// A private key that signs what its public key verifies: a damaged or hand-assembled file is
// refused before it signs anything.
bool HalvesBelongTogether(const P256KeyPair& key) {
  constexpr std::string_view kProbe = "a key pair proves itself before it signs";
  const std::optional<P256Signature> signature = SignP256(key, AsBytes(kProbe));
  return signature && VerifyP256(key.Public, AsBytes(kProbe), *signature);
}

}  // namespace

std::string PrivateKeyFileText(const P256KeyPair& key) {
  return std::string(kPrivatePrefix) + HexOfBytes(key.Private) + "\n" + PublicKeyText(key.Public) +
         "\n";
}

std::optional<P256KeyPair> ReadPrivateKeyFile(const std::string& path, std::string& why) {
  std::string text;
  if (!ReadWholeFile(path, text)) {
    why = "cannot be read";
    return std::nullopt;
  }
  const std::string_view all = text;
  const std::size_t lineEnd = all.find('\n');
  const std::string_view first = TrimControlAndBlanks(all.substr(0, lineEnd));
  P256KeyPair key;
  const std::optional<P256PublicKey> publicKey = lineEnd == std::string_view::npos
                                                     ? std::nullopt
                                                     : ParsePublicKeyText(all.substr(lineEnd + 1));
  if (!first.starts_with(kPrivatePrefix) ||
      !ParseHexBytes(first.substr(kPrivatePrefix.size()), key.Private) || !publicKey) {
    why = "not a private key file of mkpatch keygen";
    return std::nullopt;
  }
  key.Public = *publicKey;
  if (!HalvesBelongTogether(key)) {
    why = "its private and public keys do not belong together";
    return std::nullopt;
  }
  return key;
}

std::optional<P256PublicKey> ReadPublicKeyFile(const std::string& path, std::string& why) {
  std::string text;
  if (!ReadWholeFile(path, text)) {
    why = "cannot be read";
    return std::nullopt;
  }
  std::optional<P256PublicKey> key = ParsePublicKeyText(text);
  if (!key) why = "not a public key (P256: and 128 hex digits)";
  return key;
}
