// Containers that cannot be installed completely: nothing half-written stays, nothing is
// written outside the game folder, the container is deleted and unregistered, and the other
// containers of the pass still install.
#include <gtest/gtest.h>

#include <filesystem>

#include "InstallTestSupport.h"
#include "install/InstallPatches.h"
#include "install/PatchContainer.h"

using namespace morvo;

namespace fs = std::filesystem;

namespace {

constexpr char kInvalid[] = "    Erreur :  Invalide ou corrompu.\r\n";
constexpr char kWriteError[] = "        Ecriture du fichier :  Erreur.\r\n";

std::string Int32(std::int32_t value) { return EncodeContainerHeader(value).substr(20); }

struct BrokenCase {
  const char* name;
  std::string bytes;
  const char* errorLine;
};

std::vector<BrokenCase> BrokenContainers() {
  const std::string good = ContainerBuilder().Add("f.txt", "f.txt", "data").Bytes();
  const std::string header = EncodeContainerHeader(1);
  return {
      {"WrongMagic", "MORVOPATCHERPATCHBIX" + Int32(0), kInvalid},
      {"NulInMagic", std::string("MORVOPATCHERPATCHBIN", 19) + '\0' + Int32(0), kInvalid},
      {"ShorterThanMagic", "MORVO", kInvalid},
      {"NoCount", "MORVOPATCHERPATCHBIN", kInvalid},
      {"EndsInsideEntryHeader", good.substr(0, 30), kInvalid},
      {"EndsInsideData", good.substr(0, good.size() - 1), kInvalid},
      {"CountAboveEntries", ContainerBuilder().Add("f.txt", "f.txt", "data").Bytes(1000), kInvalid},
      {"HugeCountNoEntries", EncodeContainerHeader(0x7FFFFFFF), kInvalid},
      {"NegativeNameLength", header + Int32(-1) + "f.txt", kInvalid},
      {"NameOf256Bytes", ContainerBuilder().Add(std::string(256, 'n'), "f.txt", "x").Bytes(),
       kInvalid},
      {"NegativeDataSize", header + EncodeEntryHeader("f.txt", "f.txt", -5), kInvalid},
      {"DataSizeBeyondFile", header + EncodeEntryHeader("f.txt", "f.txt", 0x7FFFFFFF) + "abc",
       kInvalid},
      {"RefusedDestination", ContainerBuilder().Add("f.txt", "..\\f.txt", "data").Bytes(),
       "        Destination ..\\f.txt :  Erreur > chemin refus\xE9.\r\n"},
      {"RefusedNameWithControls", ContainerBuilder().Add("f.txt", "a\r\nb", "data").Bytes(),
       "        Destination a??b :  Erreur > chemin refus\xE9.\r\n"},
      {"DestinationIsAFolder", ContainerBuilder().Add("f.txt", "folder", "data").Bytes(),
       kWriteError},
      {"FolderPartIsAFile", ContainerBuilder().Add("f.txt", "plain\\f.txt", "data").Bytes(),
       kWriteError},
  };
}

TEST(InstallFailures, BrokenContainerIsDeletedUnregisteredAndTheNextOneInstalls) {
  for (const BrokenCase& c : BrokenContainers()) {
    SCOPED_TRACE(c.name);
    GameFolder folder;
    fs::create_directory(folder / "folder");
    WriteFile(folder / "plain", "a file");
    // A first entry that installs, so that the broken one comes after a success.
    const std::string bad = folder.AddDownloaded("bad.pak", c.bytes);
    const std::string next =
        folder.AddDownloaded("next.pak", ContainerBuilder().Add("n.txt", "n.txt", "next").Bytes());

    InstallPatches(folder.context);

    EXPECT_NE(folder.LogText().find(c.errorLine), std::string::npos) << folder.LogText();
    EXPECT_FALSE(FileExists(bad));
    EXPECT_FALSE(FileExists(next));
    EXPECT_EQ(ReadFile(folder.state.RegisterPath), "[patchs]\r\nnext.pak=1\r\n");
    EXPECT_EQ(ReadFile(folder / "n.txt"), "next");
    // An entry before the failing one may have been installed, but never half of one.
    if (FileExists(folder / "f.txt")) {
      EXPECT_EQ(ReadFile(folder / "f.txt"), "data");
    }
    EXPECT_FALSE(FileExists(folder / "f.txt.MorvoTMP"));
    EXPECT_TRUE(fs::is_directory(folder / "folder"));
    EXPECT_EQ(ReadFile(folder / "plain"), "a file");
  }
}

TEST(InstallFailures, TruncatedDataNeverReplacesTheInstalledFile) {
  GameFolder folder;
  WriteFile(folder / "game.dat", "installed");
  const std::string bytes =
      ContainerBuilder().Add("game.dat", "game.dat", std::string(9000, 'n')).Bytes();
  folder.AddDownloaded("p.pak", bytes.substr(0, bytes.size() - 100));
  InstallPatches(folder.context);
  EXPECT_EQ(ReadFile(folder / "game.dat"), "installed");
  EXPECT_FALSE(FileExists(folder / "game.dat.MorvoTMP"));
}

TEST(InstallFailures, ProgramCopyOfABrokenContainerIsNotStarted) {
  GameFolder folder;
  const std::string bytes = ContainerBuilder()
                                .Add("MorvoPatcher", "MorvoPatcher", "#!new")
                                .Add("f.txt", "..\\f.txt", "x")
                                .Bytes();
  folder.AddDownloaded("p.pak", bytes);
  InstallPatches(folder.context);
  EXPECT_TRUE(folder.window.started.empty());
  EXPECT_FALSE(folder.window.closed);
}

TEST(InstallFailures, ShortConfigurationIsIgnoredAndTheNextEntryReadsFromItsStart) {
  GameFolder folder;
  WriteFile(folder / "Config.mpc", "kept");
  folder.AddDownloaded("p.pak", ContainerBuilder()
                                    .Add("Config.mpc", "config.mpc", "MORVO")
                                    .Add("after.txt", "after.txt", "after")
                                    .Bytes());
  InstallPatches(folder.context);
  EXPECT_EQ(ReadFile(folder / "Config.mpc"), "kept");
  EXPECT_EQ(ReadFile(folder / "after.txt"), "after");
  EXPECT_FALSE(folder.state.ConfigReplaced);
  EXPECT_EQ(ReadFile(folder.state.RegisterPath), "[patchs]\r\np.pak=1\r\n");
}

}  // namespace
