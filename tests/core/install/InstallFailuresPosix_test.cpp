// Installations that fail on a full disk (a file-size limit in a forked child) and hostile
// destinations through symbolic links planted in the game folder: POSIX matters.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <map>
#include <random>

#include "InstallTestSupport.h"
#include "install/InstallPatches.h"
#include "platform/GamePath.h"

using namespace morvo;

namespace fs = std::filesystem;

namespace {

constexpr char kWriteError[] = "        Ecriture du fichier :  Erreur.\r\n";

// A full disk, played by a file-size limit of 64 KiB in a child process that installs.
void InstallOnAFullDisk(GameFolder& folder) {
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    ::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{64 * 1024, 64 * 1024};
    ::setrlimit(RLIMIT_FSIZE, &limit);
    InstallPatches(folder.context);
    ::_exit(0);
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  ASSERT_TRUE(WIFEXITED(status));
}

TEST(InstallFailures, FullDiskFailsTheContainerAndKeepsTheInstalledFile) {
  GameFolder folder;
  WriteFile(folder / "big.bin", "installed");
  const std::string full = folder.AddDownloaded(
      "full.pak", ContainerBuilder().Add("big.bin", "big.bin", std::string(1 << 20, 'b')).Bytes());
  folder.AddDownloaded("small.pak", ContainerBuilder().Add("s.txt", "s.txt", "small").Bytes());

  InstallOnAFullDisk(folder);

  EXPECT_EQ(ReadFile(folder / "big.bin"), "installed");
  EXPECT_FALSE(FileExists(folder / "big.bin.MorvoTMP"));
  EXPECT_FALSE(FileExists(full));
  EXPECT_EQ(ReadFile(folder / "s.txt"), "small");
  EXPECT_EQ(ReadFile(folder.state.RegisterPath), "[patchs]\r\nsmall.pak=1\r\n");
  EXPECT_NE(folder.LogText().find(kWriteError), std::string::npos);
}

// Bytes that compression cannot shrink, so that an archive holding them is as large.
std::string NoiseBytes(std::size_t size) {
  std::mt19937 random(7);
  std::string bytes(size, '\0');
  for (char& byte : bytes) byte = static_cast<char>(random());
  return bytes;
}

// An archive that cannot be merged fails its container like any other entry: the installed
// archive stays byte for byte, the container is deleted and unregistered so that the next run
// fetches it again, the error is logged, and the next container still installs.
TEST(InstallFailures, ArchiveThatCannotBeMergedFailsItsContainer) {
  struct MergeCase {
    const char* name;
    bool damagedNewArchive;
    bool fullDisk;
    const char* errorLine;
  };
  const MergeCase cases[] = {
      {"DamagedPatchArchive", true, false,
       "      V\xE9rification de la version :  Erreur > fichiers ignor\xE9s.\r\n"},
      {"DiskFullDuringTheMerge", false, true, "        Fusion des fichiers VKA :  Erreur.\r\n"},
  };
  for (const MergeCase& c : cases) {
    SCOPED_TRACE(c.name);
    GameFolder folder;
    // Larger than the disk's room, so that the merge must write beyond it.
    WriteArchive(folder / "data.vka", {{"old", NoiseBytes(100 * 1024)}});
    const std::string installed = ReadFile(folder / "data.vka");
    const std::string patchArchive = folder.outside() + "patch.vka";
    WriteArchive(patchArchive, {{"new", "new content"}});
    std::string patchBytes = ReadFile(patchArchive);
    if (c.damagedNewArchive) patchBytes.resize(patchBytes.size() - 4);
    const std::string failed = folder.AddDownloaded(
        "merge.pak", ContainerBuilder().Add("data.vka", "data.vka", patchBytes).Bytes());
    folder.AddDownloaded("next.pak", ContainerBuilder().Add("n.txt", "n.txt", "next").Bytes());

    if (c.fullDisk) {
      InstallOnAFullDisk(folder);
    } else {
      InstallPatches(folder.context);
      EXPECT_TRUE(folder.state.MergedArchives.empty());
    }

    EXPECT_NE(folder.LogText().find(c.errorLine), std::string::npos) << folder.LogText();
    EXPECT_EQ(ReadFile(folder / "data.vka"), installed);
    EXPECT_FALSE(FileExists(failed));
    EXPECT_FALSE(FileExists(folder / "MorvoTMPVKA_data.vka"));
    EXPECT_EQ(ReadFile(folder.state.RegisterPath), "[patchs]\r\nnext.pak=1\r\n");
    EXPECT_EQ(ReadFile(folder / "n.txt"), "next");
  }
}

// Every hostile name in its own container, plus a link planted in the game folder: nothing
// appears or changes outside the game folder.
TEST(InstallFailures, HostileDestinationsWriteNothingOutside) {
  GameFolder folder;
  WriteFile(folder.outside() + "canary", "canary");
  fs::create_symlink(folder.outside(), folder / "link");
  fs::create_symlink(folder.outside() + "canary", folder / "canarylink");
  const char* const names[] = {
      "..\\canary",         "../canary",   "link\\canary",        "link\\new.txt",
      "canarylink",         "link\\x.vka", "a\\..\\..\\canary",   "/tmp/morvo-escape",
      "\\\\host\\share\\x", "C:\\canary",  "link\\sub\\deep.txt", "LINK\\canary",
  };
  int i = 0;
  for (const char* name : names) {
    const std::string archive = folder.outside() + "arc.vka";
    WriteArchive(archive, {{"x", "x"}});
    const std::string data = std::string(name).ends_with(".vka") ? ReadFile(archive) : "owned";
    fs::remove(archive);
    folder.AddDownloaded("h" + std::to_string(i++) + ".pak",
                         ContainerBuilder().Add("x.vka", name, data).Bytes());
  }
  InstallPatches(folder.context);

  std::vector<std::string> outside;
  for (const auto& entry : fs::directory_iterator(folder.outside())) {
    outside.push_back(entry.path().filename().string());
  }
  std::sort(outside.begin(), outside.end());
  EXPECT_EQ(outside, (std::vector<std::string>{"canary", "game"}));
  EXPECT_EQ(ReadFile(folder.outside() + "canary"), "canary");
  EXPECT_FALSE(FileExists("/tmp/morvo-escape"));
  EXPECT_EQ(ReadFile(folder.state.RegisterPath), "[patchs]\r\n");
}

}  // namespace

namespace {

// Every file under folder (links not followed) with its bytes, the log left out.
std::map<std::string, std::string> FilesUnder(const std::string& folder) {
  std::map<std::string, std::string> files;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    const std::string name = fs::relative(entry.path(), folder).string();
    if (entry.is_regular_file() && !name.ends_with(kLogFileName)) {
      files[name] = ReadFile(entry.path());
    }
  }
  return files;
}

// Each destination that Windows reads as something else, or that names a file of the
// launcher, fails its container after a good entry: logged, nothing written for it, the
// launcher's files as they were (but for the failed container's register line).
TEST(InstallFailures, DestinationsWindowsReadsOtherwiseOrOfTheLauncherAreRefused) {
  const char* const ownFiles[] = {"MorvoPatcher.lock",     "MorvoTMPPatchsList.ini",
                                  "MorvoTMPVKA.vka",       "MorvoTMPSelfUpdateTried.txt",
                                  "MorvoTMP_MorvoPatcher", "MorvoTMPVKA_data.vka"};
  const char* const destinations[] = {"con",
                                      "CON.txt",
                                      "Data\\nul.vka",
                                      "data\\Com1\\x.bin",
                                      "LPT9.log",
                                      "com\xB9",
                                      "data.vka.",
                                      "Cartes \\x.map",
                                      "x ",
                                      "a<b",
                                      "a|b",
                                      "a?b",
                                      "a*b",
                                      "a\"b",
                                      "a>b",
                                      "MorvoPatchsList.ini",
                                      "morvopatchslist.ini",
                                      "MorvoPatcherLog.txt",
                                      "MorvoPatcher.lock",
                                      "MorvoTMPVKA.vka",
                                      "MorvoTMPPatchsList.ini",
                                      "morvotmp_MorvoPatcher",
                                      "MorvoTMPSelfUpdateTried.txt",
                                      "MorvoTMPVKA_data.vka",
                                      "rootlink\\MorvoPatchsList.ini",
                                      "MorvoTMPnew\\x.txt"};
  for (const char* destination : destinations) {
    SCOPED_TRACE(WithoutControls(destination));
    GameFolder folder;
    WriteFile(folder.outside() + "canary", "canary");
    fs::create_symlink(".", folder / "rootlink");
    for (const char* own : ownFiles) WriteFile(folder / own, std::string("own ") + own);
    folder.AddDownloaded("bad.pak", ContainerBuilder()
                                        .Add("good.txt", "good.txt", "good")
                                        .Add("x.bin", destination, "hostile")
                                        .Bytes());
    folder.AddDownloaded("next.pak", ContainerBuilder().Add("n.txt", "n.txt", "next").Bytes());
    std::map<std::string, std::string> expected = FilesUnder(folder.outside());
    const std::string logBefore = folder.LogText();

    InstallPatches(folder.context);

    const std::string log = folder.LogText();
    EXPECT_EQ(log.substr(0, logBefore.size()), logBefore);
    EXPECT_NE(log.find("        Destination " + WithoutControls(destination) +
                       " :  Erreur > chemin refus\xE9.\r\n"),
              std::string::npos)
        << log;
    expected.erase("game/MorvoTMPbad.pak");
    expected.erase("game/MorvoTMPnext.pak");
    expected["game/MorvoPatchsList.ini"] = "[patchs]\r\nnext.pak=1\r\n";
    expected["game/good.txt"] = "good";
    expected["game/n.txt"] = "next";
    EXPECT_EQ(FilesUnder(folder.outside()), expected);
  }
}

}  // namespace
