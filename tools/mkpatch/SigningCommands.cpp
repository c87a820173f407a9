// mkpatch keygen and verify: the key pair that signs patch lists, and the check of a set of
// list, signature and containers before it is published.
#include <filesystem>
#include <map>

#include "KeyFiles.h"
#include "MkpatchCommands.h"
#include "OwnerOnlyFile.h"
#include "PatchListEntries.h"
#include "ToolConsole.h"
#include "Utf8Path.h"
#include "WholeFile.h"
#include "lists/IniFile.h"
#include "lists/PatchLists.h"
#include "platform/AtomicFile.h"
#include "signing/SigningKeyText.h"
#include "text/AsciiText.h"

using namespace morvo;

namespace {

// One problem of a set: its line, counted.
class Problems {
 public:
  void Report(const std::string& line) {
    Fail(line);
    ++count_;
  }
  int Status() const { return count_ == 0 ? kExitOk : kExitFailure; }

 private:
  int count_ = 0;
};

void CheckSignature(const std::string& list, const std::string& listBytes,
                    const std::string& publicKeyPath, Problems& problems) {
  std::string why;
  const std::optional<P256PublicKey> key = ReadPublicKeyFile(publicKeyPath, why);
  if (!key) return problems.Report(publicKeyPath + ": " + why);
  const std::string sigPath = list + kSignatureSuffix;
  std::string sigBytes;
  if (!ReadWholeFile(sigPath, sigBytes)) return problems.Report(sigPath + ": missing");
  P256Signature signature{};
  if (sigBytes.size() != signature.size()) {
    return problems.Report(sigPath + ": not a signature (" + std::to_string(sigBytes.size()) +
                           " bytes, 64 expected)");
  }
  std::copy(sigBytes.begin(), sigBytes.end(), signature.begin());
  if (!VerifyP256(*key, AsBytes(listBytes), signature)) {
    problems.Report(list +
                    ": the signature does not match (the list was changed, or signed by "
                    "another key than " +
                    publicKeyPath + ")");
  } else {
    PrintText(stdout, "%s: signature verified with %s\n", list.c_str(), publicKeyPath.c_str());
  }
}

// Under a key, launchers refuse every offered patch that has no digest.
void CheckEveryOfferHasADigest(const std::string& list, const IniFile& ini,
                               const std::map<std::string, Sha256Digest>& digests,
                               Problems& problems) {
  for (const std::string& line : ini.ReadSection("patchs")) {
    const auto equal = line.find('=');
    if (equal == std::string::npos || TrimControlAndBlanks(line.substr(equal + 1)) != "1") continue;
    const std::string name =
        FileNameOfUrl(std::string(TrimControlAndBlanks(std::string_view(line).substr(0, equal))));
    if (!digests.contains(name)) {
      problems.Report(list + ": " + name + " is offered without a valid [sha256] line");
    }
  }
}

void CheckPatch(const std::string& list, const std::string& patch,
                const std::map<std::string, Sha256Digest>& digests, Problems& problems) {
  const std::string name = ListNameOfPatch(patch);
  const auto listed = digests.find(name);
  if (listed == digests.end()) {
    return problems.Report(patch + ": " + name + " has no valid [sha256] line in " + list);
  }
  const std::optional<Sha256Digest> digest = FileDigest(patch);
  if (!digest) return problems.Report(patch + ": cannot be read");
  if (*digest != listed->second) {
    return problems.Report(patch + ": its SHA-256 is " + HexOfDigest(*digest) + ", " + list +
                           " lists " + HexOfDigest(listed->second));
  }
  PrintText(stdout, "%s: SHA-256 as listed\n", patch.c_str());
}

}  // namespace

int GenerateKeys(const std::string& name) {
  const std::string privatePath = name + ".key";
  const std::string publicPath = name + ".pub";
  // Nothing is written when either exists: a new .pub beside an old .key would not match it.
  for (const std::string& path : {privatePath, publicPath}) {
    std::error_code error;
    if (std::filesystem::exists(std::filesystem::symlink_status(PathOfUtf8(path), error))) {
      return Fail(path + ": exists already; keys are never replaced");
    }
  }
  const std::optional<P256KeyPair> key = GenerateP256KeyPair();
  if (!key) return Fail("no key pair could be generated");
  std::string why;
  if (!CreateOwnerOnlyFile(privatePath, PrivateKeyFileText(*key), why)) {
    return Fail(privatePath + ": " + why);
  }
  const std::string publicText = PublicKeyText(key->Public) + "\n";
  if (!ReplaceFileAtomically(publicPath, AsBytes(publicText))) {
    return Fail(publicPath + ": cannot be written");
  }
  PrintText(stdout, "%s: private key, readable by its owner only; keep it off the server\n",
            privatePath.c_str());
  PrintText(stdout, "%s: public key, the SigningKey of mkconfig: %s", publicPath.c_str(),
            publicText.c_str());
  return kExitOk;
}

int VerifyList(const std::string& list, const std::string& publicKey,
               const std::vector<std::string>& patches) {
  std::string listBytes;
  if (!ReadWholeFile(list, listBytes)) return Fail(list + ": cannot be read");
  Problems problems;
  const IniFile ini = IniFile::Parse(listBytes);
  const std::map<std::string, Sha256Digest> digests = ReadDigestLines(ini.ReadSection("sha256"));
  if (!publicKey.empty()) {
    CheckSignature(list, listBytes, publicKey, problems);
    CheckEveryOfferHasADigest(list, ini, digests, problems);
  }
  for (const std::string& patch : patches) CheckPatch(list, patch, digests, problems);
  return problems.Status();
}
