// A signed set made with the tools (keygen, index --sign, a Config.mpc holding the key) through
// `patchrun` against nginx: it installs as an unsigned one does, and a man in the middle that
// changes a byte of every container, reached as the server or as the HTTP proxy, gets nothing
// installed.
#include <filesystem>

#include "PatchServerTest.h"
#include "TamperingProxy.h"
#include "TestPaths.h"

namespace fs = std::filesystem;

namespace {

const FileMap kInstalledData = {{"Textes/intro.txt", "Il etait une fois. (1)"}};
const FileMap kUpdate = {{"Textes/intro.txt", "Il etait une fois. (2)"},
                         {"Cartes/foret.map", SampleBytes(3, 30000)}};
const FileMap kLooseFiles = {{"Extras/notes.txt", "Notes de version."},
                             {"Extras/donjon.map", SampleBytes(4, 70000)}};

class SignedSet : public PatchServerTest {
 protected:
  void SetUp() override {
    PatchServerTest::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    ASSERT_TRUE(RunTool("mkpatch", {"keygen", "-o", scratch_ + "/publisher"}));
    publicKey_ = ReadFileBytes(scratch_ + "/publisher.pub");
    while (!publicKey_.empty() && (publicKey_.back() == '\n' || publicKey_.back() == '\r'))
      publicKey_.pop_back();
    AddFilesPatch("p0001.pak", kLooseFiles);
    AddArchivePatch("p0002.pak", "data.vka", kUpdate);
  }

  // The signed list of both patches, their addresses under baseUrl, and a game whose
  // configuration holds the key and fetches the list from listUrl.
  void PublishSignedAndMakeGame(const std::string& baseUrl, const std::string& listUrl) {
    ASSERT_TRUE(
        RunTool("mkpatch", {"index", "--base-url", baseUrl, "--sign", scratch_ + "/publisher.key",
                            "-o", ServerPath("patchlist.ini"), ServerPath("patches/p0001.pak"),
                            ServerPath("patches/p0002.pak")}));
    ASSERT_TRUE(fs::exists(ServerPath("patchlist.ini.sig")));
    ASSERT_TRUE(MakeGameFolder(game_, nginx_->Url(), {{"data.vka", kInstalledData}},
                               scratch_ + "/game-art",
                               {{"PatchListUrl", listUrl}, {"SigningKey", publicKey_}}));
  }

  // Nothing of either patch is installed or registered, and no temporary file is left.
  void ExpectNothingInstalled() {
    const FolderContent content = GameContent();
    EXPECT_FALSE(fs::exists(GamePath("Extras/notes.txt")));
    EXPECT_EQ(content.files.at("data.vka"), ArchiveContentOf(kInstalledData));
    const auto registered = content.files.find("MorvoPatchsList.ini");
    if (registered != content.files.end()) {
      EXPECT_EQ(registered->second.find(".pak"), std::string::npos) << registered->second;
    }
    for (const auto& entry : content.files)
      EXPECT_NE(entry.first.rfind("MorvoTMP", 0), 0u) << "left behind: " << entry.first;
    const auto log = LogLines(GamePath("MorvoPatcherLog.txt"));
    EXPECT_EQ(CountLines(log,
                         "    Erreur :  T\xE9l\xE9"
                         "chargement impossible (SHA-256 differs from the list's)."),
              2);
  }

  std::string publicKey_;
};

TEST_F(SignedSet, InstallsAsAnUnsignedSetDoes) {
  PublishSignedAndMakeGame(nginx_->Url("/patches/"), nginx_->Url("/patchlist.ini"));

  const RunResult run = RunPatchrun();

  ASSERT_EQ(run.exitCode, 0) << run.output;
  const FolderContent content = GameContent();
  for (const auto& [name, bytes] : kLooseFiles) EXPECT_EQ(content.files.at(name), bytes) << name;
  FileMap merged = kInstalledData;
  for (const auto& [name, bytes] : kUpdate) merged[name] = bytes;
  EXPECT_EQ(content.files.at("data.vka"), ArchiveContentOf(merged));
  EXPECT_EQ(content.files.at("MorvoPatchsList.ini"), "[patchs]\r\np0001.pak=1\r\np0002.pak=1\r\n");
  EXPECT_EQ(nginx_->RequestCount("/patchlist.ini.sig"), 1);
}

TEST_F(SignedSet, ManInTheMiddleAsTheServerGetsNothingInstalled) {
  TamperingProxy proxy(nginx_->Port());
  ASSERT_TRUE(proxy.Running());
  PublishSignedAndMakeGame(proxy.Url("/patches/"), proxy.Url("/patchlist.ini"));

  const RunResult run = RunPatchrun();

  EXPECT_EQ(run.exitCode, 4) << run.output;
  EXPECT_EQ(proxy.Tampered(), 2);
  ExpectNothingInstalled();
}

TEST_F(SignedSet, ManInTheMiddleAsTheHttpProxyGetsNothingInstalled) {
  TamperingProxy proxy(nginx_->Port());
  ASSERT_TRUE(proxy.Running());
  PublishSignedAndMakeGame(nginx_->Url("/patches/"), nginx_->Url("/patchlist.ini"));
  RunOptions options = OutputTo(work_ + "/patchrun.out");
  options.extraEnvironment = {"http_proxy=" + proxy.Url(), "no_proxy=", "NO_PROXY="};

  const RunResult run = RunProgram({BinPath("patchrun"), game_}, options);

  EXPECT_EQ(run.exitCode, 4) << run.output;
  EXPECT_EQ(proxy.Tampered(), 2);
  ExpectNothingInstalled();
}

}  // namespace
