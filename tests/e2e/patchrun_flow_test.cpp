// The whole patch run through `patchrun` against a real nginx: loose files, two merges into one
// archive and its single repack, a new configuration; and faults on the server's side.
#include <filesystem>

#include "PatchServerTest.h"
#include "TestPaths.h"

namespace fs = std::filesystem;

namespace {

const FileMap kInstalledData = {
    {"Textes/intro.txt", "Il etait une fois. (1)"},
    {"Textes/credits.txt", "L'equipe."},
    {"Cartes/village.map", SampleBytes(1, 20000)},
    {"Regles.txt", "Regles, version 1."},
};
const FileMap kFirstUpdate = {
    {"Textes/intro.txt", "Il etait une fois. (2)"},
    {"Textes/quetes.txt", SampleBytes(2, 5000)},
};
const FileMap kSecondUpdate = {
    {"Regles.txt", "Regles, version 2."},
    {"Cartes/foret.map", SampleBytes(3, 30000)},
};
const FileMap kLooseFiles = {
    {"Extras/notes.txt", "Notes de version."},
    {"Extras/Cartes/donjon.map", SampleBytes(4, 70000)},
    {"Extras/vide.dat", ""},
};

FileMap Merged(std::initializer_list<FileMap> layers) {
  FileMap merged;
  for (const FileMap& layer : layers)
    for (const auto& [name, bytes] : layer) merged[name] = bytes;
  return merged;
}

class PatchrunFlow : public PatchServerTest {};

TEST_F(PatchrunFlow, InstallsLooseFilesMergesOnceRepackedAndANewConfiguration) {
  MakeGame({{"data.vka", kInstalledData}});
  const std::string newConfig = scratch_ + "/new-config/Config.mpc";
  ASSERT_TRUE(MakeConfig(newConfig, nginx_->Url(), {{"Messages[6]", "Rien de neuf."}},
                         scratch_ + "/new-config"));
  const std::string notAConfig = scratch_ + "/not-a-config.mpc";
  WriteFiles(scratch_, {{"not-a-config.mpc", "MORVOPATCHERCONFBINv1.2 and more"}});

  AddFilesPatch("p0001.pak", kLooseFiles);
  AddArchivePatch("p0002.pak", "data.vka", kFirstUpdate);
  AddArchivePatch("p0003.pak", "data.vka", kSecondUpdate);
  AddPatch("p0004.pak", {{notAConfig, "Config.mpc"}, {newConfig, "config.MPC"}});
  PublishList("patchlist.ini", {"p0001.pak", "p0002.pak", "p0003.pak", "p0004.pak"});

  RunResult run = RunPatchrun();
  ASSERT_EQ(run.exitCode, 0) << run.output;

  FolderContent content = GameContent();
  for (const auto& [name, bytes] : kLooseFiles) EXPECT_EQ(content.files[name], bytes) << name;
  EXPECT_EQ(content.files["Config.mpc"], ReadFileBytes(newConfig));
  const std::string expectedData =
      ArchiveContentOf(Merged({kInstalledData, kFirstUpdate, kSecondUpdate}));
  ASSERT_NE(expectedData.find("file Regles.txt\nRegles, version 2.\n"), std::string::npos)
      << "archive content is not read by name and data:\n"
      << expectedData;
  EXPECT_EQ(content.files["data.vka"], expectedData);
  EXPECT_TRUE(content.badArchives.empty()) << DescribeDifferences(content, content);
  EXPECT_EQ(content.files["MorvoPatchsList.ini"],
            "[patchs]\r\np0001.pak=1\r\np0002.pak=1\r\np0003.pak=1\r\np0004.pak=1\r\n");
  for (const auto& entry : content.files)
    EXPECT_NE(entry.first.rfind("MorvoTMP", 0), 0u) << "left behind: " << entry.first;

  const std::vector<std::string> log = LogLines(GamePath("MorvoPatcherLog.txt"));
  EXPECT_EQ(CountLines(log, "Installation des patchs (4) ..."), 1);
  EXPECT_EQ(CountLines(log,
                       "        Fusion des fichiers VKA termin\xE9"
                       "e."),
            2);
  EXPECT_EQ(CountLines(log, "  Repack des fichiers VKA ..."), 1);
  EXPECT_EQ(CountLines(log, "        V\xE9rification du fichier :  Erreur > ignor\xE9."), 1);
  EXPECT_EQ(CountLines(log,
                       "        V\xE9rification du nouveau fichier de configuration termin\xE9"
                       "e."),
            1);
  ASSERT_FALSE(log.empty());
  EXPECT_EQ(log.back(), "Fin du log.");

  // A second run finds nothing new and changes nothing.
  ASSERT_EQ(RunPatchrun().exitCode, 0);
  EXPECT_EQ(DescribeDifferences(content, GameContent()), "");
  EXPECT_EQ(
      CountLines(LogLines(GamePath("MorvoPatcherLog.txt")), "Installation des patchs (4) ..."), 0);
  EXPECT_EQ(nginx_->RequestCount("/patches/p0002.pak"), 1);
}

// A patch missing on the server and one truncated there: the run still ends, neither counts as
// installed, and both arrive with the next run once the server is mended.
TEST_F(PatchrunFlow, BrokenPatchesOnTheServerAreFetchedAgainOnceMended) {
  MakeGame({{"data.vka", kInstalledData}});
  AddFilesPatch("p0001.pak", kLooseFiles);
  AddArchivePatch("p0002.pak", "data.vka", kFirstUpdate);
  AddFilesPatch("p0003.pak", {{"Extras/tard.txt", "arrive en dernier"}});
  PublishList("patchlist.ini", {"p0001.pak", "p0002.pak", "p0003.pak"});
  const std::string whole1 = ReadFileBytes(ServerPath("patches/p0001.pak"));
  const std::string whole2 = ReadFileBytes(ServerPath("patches/p0002.pak"));
  fs::remove(ServerPath("patches/p0001.pak"));
  fs::resize_file(ServerPath("patches/p0002.pak"), whole2.size() / 2);

  // The run says that it left patches behind, on the status line, in the log and in its exit
  // status, and Start is still offered.
  RunResult first = RunPatchrun();
  ASSERT_EQ(first.exitCode, 4) << first.output;
  EXPECT_NE(first.output.find("2 patchs n'ont pas pu \u00EAtre install\u00E9s ; ils seront "
                              "retent\u00E9s au prochain lancement.\nStart would be shown"),
            std::string::npos)
      << first.output;
  const auto firstLog = LogLines(GamePath("MorvoPatcherLog.txt"));
  EXPECT_EQ(firstLog.back(), "Fin du log.");
  EXPECT_EQ(firstLog[firstLog.size() - 2],
            "Erreur :  2 patch(s) non install\xE9(s) > nouvel essai au prochain lancement.");
  EXPECT_FALSE(fs::exists(GamePath("Extras/notes.txt")));
  EXPECT_EQ(ReadFileBytes(GamePath("Extras/tard.txt")), "arrive en dernier");
  EXPECT_EQ(GameContent().files["data.vka"], ArchiveContentOf(kInstalledData));
  EXPECT_GE(nginx_->RequestCount("/patches/p0001.pak", 404), 1);

  WriteFiles(ServerPath("patches"), {{"p0001.pak", whole1}, {"p0002.pak", whole2}});
  RunResult second = RunPatchrun();
  ASSERT_EQ(second.exitCode, 0) << second.output;
  FolderContent content = GameContent();
  for (const auto& [name, bytes] : kLooseFiles) EXPECT_EQ(content.files[name], bytes) << name;
  EXPECT_EQ(content.files["data.vka"], ArchiveContentOf(Merged({kInstalledData, kFirstUpdate})));
  EXPECT_EQ(nginx_->RequestCount("/patches/p0001.pak"), 1);
  EXPECT_EQ(nginx_->RequestCount("/patches/p0002.pak"), 2);
  EXPECT_EQ(nginx_->RequestCount("/patches/p0003.pak"), 1);
  for (const auto& entry : content.files)
    EXPECT_NE(entry.first.rfind("MorvoTMP", 0), 0u) << "left behind: " << entry.first;
}

}  // namespace
