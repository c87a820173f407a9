// The key files of mkpatch keygen: NAME.key, the private key, and NAME.pub, the public key in
// its one text form (see signing/SigningKeyText.h).
//
// NAME.key is two lines: "P256-PRIVATE:" and the 64 hex digits of d, then the public key's
// text. It is created readable by its owner only, and never replaced.
#pragma once

#include <optional>
#include <string>

#include "platform/EcdsaP256.h"

// The content of a NAME.key file.
std::string PrivateKeyFileText(const morvo::P256KeyPair& key);

// The key pair of a NAME.key file; nullopt with why set when the file cannot be read, is not
// in the form above, or its two halves do not belong together.
std::optional<morvo::P256KeyPair> ReadPrivateKeyFile(const std::string& path, std::string& why);

// The public key of a NAME.pub file; nullopt with why set when it cannot be read or holds no key.
std::optional<morvo::P256PublicKey> ReadPublicKeyFile(const std::string& path, std::string& why);
