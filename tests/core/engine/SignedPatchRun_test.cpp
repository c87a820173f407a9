// Runs under a signing key, and runs whose list gives digests: a list or a patch that is not
// what its publisher made installs nothing, registers nothing, leaves nothing in the game
// folder, and the log says why.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "PatchRunFixture.h"
#include "platform/EcdsaP256.h"
#include "platform/Sha256.h"
#include "text/RunNotices.h"

using namespace morvo;

namespace {

const char kSignatureInvalid[] =
    "  Erreur :  Signature de la liste invalide > liste ignor\xE9"
    "e.";
const char kDigestMismatch[] =
    "    Erreur :  T\xE9l\xE9"
    "chargement impossible (SHA-256 differs from the list's).";

P256KeyPair NewKey() {
  const auto key = GenerateP256KeyPair();
  EXPECT_TRUE(key);
  return key.value_or(P256KeyPair{});
}

std::string SignatureOf(const P256KeyPair& key, const std::string& bytes) {
  const auto signature =
      SignP256(key, {reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()});
  EXPECT_TRUE(signature);
  return signature ? std::string(signature->begin(), signature->end()) : std::string();
}

class SignedPatchRun : public PatchRunTest {
 protected:
  SignedPatchRun() { settings.SigningKey = key.Public; }

  // One patch with a file in it, its list line and its [sha256] line.
  void ServeSignedPatch(const std::string& container) {
    server.Serve("/p/p0001.pak", container);
    const auto digest = Sha256Of(container.data(), container.size());
    ASSERT_TRUE(digest);
    list = PatchList({"deny_play=0"}, {server.Url("/p/p0001.pak")}) +
           "[sha256]\r\np0001.pak=" + HexOfDigest(*digest) + "\r\n";
    server.Serve("/list.ini", list);
    server.Serve("/list.ini.sig", SignatureOf(key, list));
  }

  // Nothing of the patch is in the game folder or its register.
  void ExpectNothingInstalled() const {
    EXPECT_FALSE(std::filesystem::exists(game / "a.txt"));
    EXPECT_FALSE(std::filesystem::exists(game / "MorvoPatchsList.ini") &&
                 Register().find("p0001.pak") != std::string::npos)
        << Register();
    ExpectNoTemporaryFiles();
    EXPECT_TRUE(window.startShown);
  }

  P256KeyPair key = NewKey();
  std::string container = Container({{"a.txt", "a.txt", std::string(3000, 'a')}});
  std::string list;
};

TEST_F(SignedPatchRun, SignedListAndPatchInstallAsBefore) {
  ServeSignedPatch(container);

  const WindowlessRunResult result = Run();

  ASSERT_TRUE(result.Finished);
  EXPECT_TRUE(result.ListVerified);
  EXPECT_EQ(result.FailedPatches, 0);
  EXPECT_EQ(ReadFileBytes(game / "a.txt"), std::string(3000, 'a'));
  EXPECT_EQ(Register(), "[patchs]\r\np0001.pak=1\r\n");
  EXPECT_EQ(window.statusTexts.back(), "M8");
  EXPECT_EQ(server.Requests("/list.ini.sig"), 1);
  ExpectNoTemporaryFiles();
}

// Whatever is wrong with the list or its signature, nothing of it is used: not one patch is
// asked for, and the status line says the list could not be verified.
struct RefusedListCase {
  const char* name;
  // Spoils what server serves, given the signed list and its key.
  std::function<void(TestHttpServer&, const std::string&, const P256KeyPair&)> spoil;
  const char* logLine;
};

class RefusedList : public SignedPatchRun, public ::testing::WithParamInterface<RefusedListCase> {};

TEST_P(RefusedList, UsesNothingOfTheList) {
  ServeSignedPatch(container);
  GetParam().spoil(server, list, key);

  const WindowlessRunResult result = Run();

  ASSERT_TRUE(result.Finished);
  EXPECT_FALSE(result.ListVerified);
  const Lines log = Log();
  EXPECT_EQ(Lines(log.begin() + static_cast<std::ptrdiff_t>(kOpening.size()), log.end()),
            Join({{GetParam().logLine}, kListDone, {kEnd}}));
  EXPECT_EQ(server.Requests("/p/p0001.pak"), 0);
  EXPECT_EQ(window.statusTexts.back(), UnverifiedListNotice(settings.Language));
  ExpectNothingInstalled();
}

INSTANTIATE_TEST_SUITE_P(
    SignedPatchRun, RefusedList,
    ::testing::Values(
        RefusedListCase{"TamperedList",
                        [](TestHttpServer& server, const std::string& list, const P256KeyPair&) {
                          std::string tampered = list;
                          tampered[tampered.find("=1")] = ' ';
                          server.Serve("/list.ini", tampered);
                        },
                        kSignatureInvalid},
        RefusedListCase{"SignedByAnotherKey",
                        [](TestHttpServer& server, const std::string& list, const P256KeyPair&) {
                          server.Serve("/list.ini.sig", SignatureOf(NewKey(), list));
                        },
                        kSignatureInvalid},
        RefusedListCase{"SignatureOfAnotherList",
                        [](TestHttpServer& server, const std::string&, const P256KeyPair& key) {
                          server.Serve("/list.ini.sig",
                                       SignatureOf(key, PatchList({"deny_play=0"}, {})));
                        },
                        kSignatureInvalid},
        RefusedListCase{
            "SignatureCutShort",
            [](TestHttpServer& server, const std::string& list, const P256KeyPair& key) {
              server.Serve("/list.ini.sig", SignatureOf(key, list).substr(0, 63));
            },
            kSignatureInvalid},
        RefusedListCase{"MissingSignature",
                        [](TestHttpServer& server, const std::string&, const P256KeyPair&) {
                          server.Fail("/list.ini.sig", 404);
                        },
                        "  Erreur :  Signature de la liste introuvable (HTTP 404) > liste "
                        "ignor\xE9"
                        "e."}),
    [](const auto& info) { return std::string(info.param.name); });

// A patch changed by one byte fails its download and is fetched again, whole, by the next run.
TEST_F(SignedPatchRun, PatchChangedByOneByteIsRefusedAndFetchedAgainOnceMended) {
  ServeSignedPatch(container);
  std::string tampered = container;
  tampered[tampered.size() - 1] = static_cast<char>(tampered.back() ^ 0x20);
  server.Serve("/p/p0001.pak", tampered);

  const WindowlessRunResult result = Run();

  ASSERT_TRUE(result.Finished);
  EXPECT_EQ(result.FailedPatches, 1);
  const Lines log = Log();
  const auto patchLine = std::find(log.begin(), log.end(), "  " + server.Url("/p/p0001.pak"));
  ASSERT_NE(patchLine, log.end());
  EXPECT_EQ(*(patchLine + 1), kDigestMismatch);
  EXPECT_EQ(window.statusTexts.back(), FailedPatchesNotice(1, settings.Language));
  ExpectNothingInstalled();

  server.Serve("/p/p0001.pak", container);
  ASSERT_TRUE(Run().Finished);
  EXPECT_EQ(ReadFileBytes(game / "a.txt"), std::string(3000, 'a'));
  EXPECT_EQ(Register(), "[patchs]\r\np0001.pak=1\r\n");
}

// Under a key, a patch the list gives no digest for is not even asked for.
TEST_F(SignedPatchRun, PatchWithoutDigestIsNotFetched) {
  list = PatchList({"deny_play=0"}, {server.Url("/p/p0001.pak")});
  server.Serve("/list.ini", list);
  server.Serve("/list.ini.sig", SignatureOf(key, list));
  server.Serve("/p/p0001.pak", container);

  const WindowlessRunResult result = Run();

  ASSERT_TRUE(result.Finished);
  EXPECT_EQ(result.FailedPatches, 1);
  const Lines log = Log();
  const auto patchLine = std::find(log.begin(), log.end(), "  " + server.Url("/p/p0001.pak"));
  ASSERT_NE(patchLine, log.end());
  EXPECT_EQ(*(patchLine + 1),
            "    Erreur :  Empreinte SHA-256 absente de la liste > patch refus\xE9.");
  EXPECT_EQ(server.Requests("/p/p0001.pak"), 0);
  ExpectNothingInstalled();
}

// Without a key the list is taken unsigned, as always, but a digest it gives is checked.
TEST_F(SignedPatchRun, WithoutAKeyADigestTheListGivesIsStillChecked) {
  settings.SigningKey.reset();
  ServeSignedPatch(container);
  server.Fail("/list.ini.sig", 404);
  std::string tampered = container;
  tampered[0] = static_cast<char>(tampered[0] ^ 0x01);
  server.Serve("/p/p0001.pak", tampered);

  const WindowlessRunResult result = Run();

  ASSERT_TRUE(result.Finished);
  EXPECT_TRUE(result.ListVerified);
  EXPECT_EQ(server.Requests("/list.ini.sig"), 0);
  EXPECT_EQ(result.FailedPatches, 1);
  const Lines log = Log();
  EXPECT_NE(std::find(log.begin(), log.end(), kDigestMismatch), log.end());
  ExpectNothingInstalled();
}

}  // namespace
