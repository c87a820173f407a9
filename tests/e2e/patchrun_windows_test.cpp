// patchrun.exe, the Windows build, under Wine against the same nginx as the Linux runs: in a
// game folder whose path holds Cyrillic and CJK characters, the same run as the Linux
// patchrun's gives the same log, byte for byte, and the same files. The Windows build's tests
// run this (MORVO_WINDOWS_PATCHRUN names the program, MORVO_WINE_RUNNER what starts it).
#include <filesystem>

#include "PatchServerTest.h"
#include "TestPaths.h"

namespace fs = std::filesystem;

namespace {

class PatchrunUnderWine : public PatchServerTest {
 protected:
  void SetUp() override {
    patchrunExe_ = EnvironmentValue("MORVO_WINDOWS_PATCHRUN");
    wineRunner_ = EnvironmentValue("MORVO_WINE_RUNNER");
    if (patchrunExe_.empty() || wineRunner_.empty()) {
      GTEST_SKIP() << "the Windows build's tests run this, with MORVO_WINDOWS_PATCHRUN and "
                      "MORVO_WINE_RUNNER";
    }
    ASSERT_TRUE(fs::exists(patchrunExe_)) << patchrunExe_;
    PatchServerTest::SetUp();
  }

  std::string patchrunExe_, wineRunner_;
};

TEST_F(PatchrunUnderWine, SameLogAndFilesAsOnLinuxInAUnicodeFolder) {
  MakeGame({{"data.vka",
             {{"Textes/intro.txt", "Il etait une fois. (1)"},
              {"Cartes/village.map", SampleBytes(1, 20000)}}}});
  AddFilesPatch("p0001.pak", {{"Extras/notes.txt", "Notes de version."}, {"Extras/vide.dat", ""}});
  AddArchivePatch("p0002.pak", "data.vka", {{"Textes/intro.txt", "Il etait une fois. (2)"}});
  AddArchivePatch("p0003.pak", "data.vka", {{"Cartes/foret.map", SampleBytes(3, 30000)}});
  PublishList("patchlist.ini", {"p0001.pak", "p0002.pak", "p0003.pak"});
  // "Игра 游戲": no 8-bit code page holds both.
  const std::string windowsGame =
      work_ + "/\xD0\x98\xD0\xB3\xD1\x80\xD0\xB0 \xE6\xB8\xB8\xE6\x88\xB2/game";
  fs::create_directories(windowsGame);
  fs::copy(game_, windowsGame, fs::copy_options::recursive);

  const RunResult onLinux = RunPatchrun();
  ASSERT_EQ(onLinux.exitCode, 0) << onLinux.output;
  const RunResult onWindows =
      RunProgram({wineRunner_, patchrunExe_, WinePath(windowsGame)},
                 OutputTo(work_ + "/patchrun-exe.out", std::chrono::minutes(5)));
  if (onWindows.exitCode == kWineCannotRun) GTEST_SKIP() << onWindows.output;
  ASSERT_EQ(onWindows.exitCode, 0) << onWindows.output;

  const std::string log = ReadFileBytes(GamePath("MorvoPatcherLog.txt"));
  ASSERT_NE(log.find("Repack des fichiers VKA"), std::string::npos) << log;
  EXPECT_EQ(ReadFileBytes(windowsGame + "/MorvoPatcherLog.txt"), log);
  const FolderContent linux = GameContent(), windows = GameContent(windowsGame);
  EXPECT_EQ(windows.files, linux.files) << DescribeDifferences(linux, windows);
  EXPECT_TRUE(windows.badArchives.empty()) << DescribeDifferences(linux, windows);
}

}  // namespace
