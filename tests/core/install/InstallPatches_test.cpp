#include "install/InstallPatches.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "InstallTestSupport.h"
#include "install/ArchiveMerge.h"
#include "install/RepackRecord.h"
#include "platform/FileSystem.h"

using namespace morvo;

namespace fs = std::filesystem;

namespace {

std::string Lines(std::initializer_list<std::string> lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

std::string ArchiveBytes(const GameFolder& folder, const ArchiveEntries& files) {
  const std::string path = folder.outside() + "built.vka";
  WriteArchive(path, files);
  return ReadFile(path);
}

std::string Size(const std::string& data) { return std::to_string(data.size()); }

// Everything under the game folder whose name marks it as a temporary file.
std::vector<std::string> Leftovers(const GameFolder& folder) {
  std::vector<std::string> found;
  for (const auto& entry : fs::recursive_directory_iterator(folder.game())) {
    const std::string name = entry.path().filename().string();
    if (name.starts_with("MorvoTMP") || name.ends_with(".MorvoTMP")) found.push_back(name);
  }
  return found;
}

TEST(InstallPatches, FullPassWritesMergesMovesAndRepacksWithTheExactLog) {
  GameFolder folder;
  fs::create_directory(folder / "Data");
  WriteFile(folder / "Data/World.map", "old world");
  WriteArchive(folder / "data.vka", {{"a", "old a"}, {"b", "b"}});
  // Where the file system ignores letter case (Windows), names reach the existing files as the
  // container spells them; elsewhere the existing files' own names are looked up.
  const bool caseBlind = FileExists(folder / "DATA.VKA");
  const std::string world = caseBlind ? "world.map" : "World.map";
  const std::string data = caseBlind ? "DATA.VKA" : "data.vka";
  const std::string merged1 = ArchiveBytes(folder, {{"a", "new a"}, {"c", "c"}});
  const std::string fresh = ArchiveBytes(folder, {{"f", "fresh"}});
  const std::string merged2 = ArchiveBytes(folder, {{"d", "d"}});
  const std::string config = std::string(kConfigMagic) + "rest of the settings";

  folder.AddDownloaded("p1.pak", ContainerBuilder()
                                     .Add("readme.txt", "Readme.txt", "hello")
                                     .Add("world.map", "DATA\\world.map", "new world!")
                                     .Add("data.vka", "data.vka", merged1)
                                     .Add("fresh.vkd", "sub\\fresh.vkd", fresh)
                                     .Add("empty.txt", "empty.txt", "")
                                     .Bytes());
  folder.AddDownloaded("p2.pak", ContainerBuilder()
                                     .Add("more.vka", "DATA.VKA", merged2)
                                     .Add("Config.mpc", "Config.MPC", config)
                                     .Add("cfg", "config.mpc", "plain")
                                     .Add("Config.mpc", "sub\\Config.mpc", "sub")
                                     .Bytes());
  folder.AddDownloaded("p3.pak", ContainerBuilder().Bytes());
  WriteFile(folder / "Config.mpc", "old settings");

  InstallPatches(folder.context);

  EXPECT_EQ(
      folder.LogText(),
      Lines({"  MorvoTMPp1.pak",
             "    Extraction :  5 fichiers",
             "      Lecture du fichier readme.txt -> 5 octets.",
             "        Ecriture du fichier vers Readme.txt.",
             "      Lecture du fichier world.map -> 10 octets.",
             "        Ecriture du fichier vers " + world + ".",
             "      Lecture du fichier data.vka -> " + Size(merged1) + " octets.",
             "        Ecriture du fichier vers MorvoTMPVKA_data.vka.",
             "        V\xE9rification de la version des fichiers VKA MorvoTMPVKA_data.vka et "
             "data.vka ...",
             "        V\xE9rification de la version des fichiers VKA termin\xE9"
             "e.",
             "        Fusion des fichiers VKA MorvoTMPVKA_data.vka et data.vka ...",
             "        Fusion des fichiers VKA termin\xE9"
             "e.",
             "      Lecture du fichier fresh.vkd -> " + Size(fresh) + " octets.",
             "        Ecriture du fichier vers MorvoTMPVKA_fresh.vkd.",
             "        Copie du fichier MorvoTMPVKA_fresh.vkd vers fresh.vkd.",
             "      Lecture du fichier empty.txt -> 0 octets.",
             "        Ecriture du fichier vers empty.txt.",
             "  MorvoTMPp2.pak",
             "    Extraction :  4 fichiers",
             "      Lecture du fichier more.vka -> " + Size(merged2) + " octets.",
             "        Ecriture du fichier vers MorvoTMPVKA_more.vka.",
             "        V\xE9rification de la version des fichiers VKA MorvoTMPVKA_more.vka et " +
                 data + " ...",
             "        V\xE9rification de la version des fichiers VKA termin\xE9"
             "e.",
             "        Fusion des fichiers VKA MorvoTMPVKA_more.vka et " + data + " ...",
             "        Fusion des fichiers VKA termin\xE9"
             "e.",
             "      Lecture du fichier Config.mpc -> " + Size(config) + " octets.",
             "        V\xE9rification du nouveau fichier de configuration ...",
             "        V\xE9rification du nouveau fichier de configuration termin\xE9"
             "e.",
             "        Ecriture du fichier vers Config.mpc.",
             "      Lecture du fichier cfg -> 5 octets.",
             "        V\xE9rification du nouveau fichier de configuration ...",
             "        V\xE9rification du fichier :  Erreur > ignor\xE9.",
             "      Lecture du fichier Config.mpc -> 3 octets.",
             "        Ecriture du fichier vers Config.mpc.",
             "  MorvoTMPp3.pak",
             "    Extraction :  0 fichiers",
             "  Repack des fichiers VKA ...",
             "    data.vka -> 8 fichiers :  R\xE9ussi.",
             "  Repack des fichiers VKA termin\xE9"
             "e."}));

  EXPECT_EQ(ReadFile(folder / "Readme.txt"), "hello");
  EXPECT_EQ(ReadFile(folder / "Data/World.map"), "new world!");
  for (const auto& entry : fs::directory_iterator(FsPath(folder.game()))) {
    EXPECT_NE(Utf8Path(entry.path().filename()), "DATA");  // no twin folder
  }
  EXPECT_EQ(ReadFile(folder / "empty.txt"), "");
  EXPECT_EQ(ReadFile(folder / "Config.mpc"), config);
  EXPECT_EQ(ReadFile(folder / "sub/Config.mpc"), "sub");
  EXPECT_TRUE(folder.state.ConfigReplaced);

  const std::string expectedMerge = folder.outside() + "expected.vka";
  WriteArchive(expectedMerge, {{"a", "new a"}, {"b", "b"}, {"c", "c"}, {"d", "d"}});
  EXPECT_EQ(ArchiveContent(folder / "data.vka"), ArchiveContent(expectedMerge));
  EXPECT_EQ(ReadFile(folder / "sub/fresh.vkd"), fresh);  // moved, untouched

  EXPECT_EQ(folder.state.MergedArchives, std::vector<std::string>{folder / "data.vka"});
  EXPECT_EQ(Leftovers(folder), std::vector<std::string>{});
  EXPECT_EQ(ReadFile(folder.state.RegisterPath),
            "[patchs]\r\np1.pak=1\r\np2.pak=1\r\np3.pak=1\r\n");
}

TEST(InstallPatches, WindowFollowsFilesMergesAndRepacks) {
  GameFolder folder;
  WriteArchive(folder / "data.vka", {{"a", "old"}});
  const std::string merged = ArchiveBytes(folder, {{"a", "new"}});
  const std::string big(10000, 'x');
  folder.AddDownloaded("p.pak", ContainerBuilder()
                                    .Add("big.bin", "big.bin", big)
                                    .Add("data.vka", "data.vka", merged)
                                    .Bytes());

  InstallPatches(folder.context);

  const auto& calls = folder.window.calls;
  const std::vector<std::string> fileCalls(calls.begin(), calls.begin() + 5);
  EXPECT_EQ(fileCalls, (std::vector<std::string>{"status Msg7 (1/1 - big.bin) ...", "max 10000",
                                                 "progress 0", "progress 4096", "progress 8192"}));
  // The merge shows the archive without its temporary prefix; one call per entry processed.
  const auto count = [&](const std::string& call) {
    return std::count(calls.begin(), calls.end(), call);
  };
  EXPECT_EQ(count("status Msg10 data.vka > data.vka ..."), 2);  // "data" and "a"
  EXPECT_EQ(count("status Msg11 data.vka ..."), 4);  // one per entry read, repeated ones too
  EXPECT_GE(folder.window.eventPumps, 3 + 1 + 2 + 3);
  EXPECT_FALSE(folder.window.closed);
}

TEST(InstallPatches, ProgramCopyIsStartedAfterItsContainerAndLaterContainersStillInstall) {
  GameFolder folder;
  folder.AddDownloaded("p1.pak", ContainerBuilder()
                                     .Add("bin\\MorvoPatcher", "morvopatcher", "MZ new program")
                                     .Add("a.txt", "a.txt", "a")
                                     .Bytes());
  folder.AddDownloaded("p2.pak", ContainerBuilder().Add("b.txt", "b.txt", "b").Bytes());

  InstallPatches(folder.context);

  const std::string copy = folder / "MorvoTMP_MorvoPatcher";
  EXPECT_EQ(ReadFile(copy), "MZ new program");
  EXPECT_TRUE(IsRunnableFile(copy));
  EXPECT_FALSE(FileExists(folder / "morvopatcher"));

  ASSERT_EQ(folder.window.started.size(), 1u);
  EXPECT_EQ(folder.window.started[0].program, copy);
  EXPECT_EQ(folder.window.started[0].parameters, "UPDATE_1 " + folder.game() + "MorvoPatcher");
  const auto& calls = folder.window.calls;
  const auto start = std::find(calls.begin(), calls.end(), "start program " + copy);
  ASSERT_NE(start, calls.end());
  EXPECT_EQ(*(start - 1), "progress 0");  // after a.txt, the last entry of p1
  EXPECT_EQ(*(start + 1), "close");
  EXPECT_EQ(*(start + 2), "status Msg7 (2/2 - b.txt) ...");
  EXPECT_EQ(ReadFile(folder / "b.txt"), "b");
  EXPECT_FALSE(FileExists(folder.state.InstallFiles[0]));  // deleted before the start
}

TEST(InstallPatches, VersionMismatchLeavesBothArchivesAndDeletesTheNewOne) {
  GameFolder folder;
  WriteFile(folder / "data.vka", "not an archive");
  const std::string merged = ArchiveBytes(folder, {{"a", "new"}});
  folder.AddDownloaded("p.pak", ContainerBuilder().Add("x.VKA", "data.vka", merged).Bytes());
  InstallPatches(folder.context);
  EXPECT_EQ(ReadFile(folder / "data.vka"), "not an archive");
  EXPECT_FALSE(FileExists(folder / "MorvoTMPVKA_x.VKA"));
  EXPECT_NE(folder.LogText().find(
                "      V\xE9rification de la version :  Erreur > fichiers ignor\xE9s.\r\n"),
            std::string::npos);
  EXPECT_EQ(folder.LogText().find("Repack"), std::string::npos);
  EXPECT_TRUE(folder.state.MergedArchives.empty());
}

TEST(InstallPatches, MissingContainerIsSkippedAndStaysRegistered) {
  GameFolder folder;
  folder.AddDownloaded("gone.pak", "");
  std::filesystem::remove(folder.state.InstallFiles[0]);
  InstallPatches(folder.context);
  EXPECT_EQ(folder.LogText(), Lines({"  MorvoTMPgone.pak"}));
  EXPECT_EQ(ReadFile(folder.state.RegisterPath), "[patchs]\r\ngone.pak=1\r\n");
}

TEST(InstallPatches, ArchiveHelpers) {
  const std::pair<const char*, bool> names[] = {
      {"a.vka", true}, {"A.VKD", true}, {"dir\\b.Vka", true},     {"a.vka.bak", false},
      {"vka", false},  {"x.vk", false}, {"dir.vka\\file", false}, {".vkd", true},
  };
  for (const auto& [name, archive] : names) EXPECT_EQ(IsArchiveFile(name), archive) << name;

  PatchRunState state("/g/");
  state.MergedArchives = {"/g/b.vka", "/g/a.vka", "/g/b.vka", "/g/B.vka", "/g/a.vka"};
  RemoveDuplicateArchives(state);
  EXPECT_EQ(state.MergedArchives, (std::vector<std::string>{"/g/b.vka", "/g/a.vka", "/g/B.vka"}));
}

TEST(InstallPatches, ProgressOutsideALibraryCallDoesNothing) {
  MergeProgress();
  RepackProgress();
  SUCCEED();
}

TEST(ResumeInterruptedRepacks, RepacksRecordedArchivesOnceAndForgetsThem) {
  GameFolder folder;
  WriteArchive(folder / "data.vka", {{"a", "1"}, {"a", "2"}});
  RecordPendingRepack(folder.game(), folder / "data.vka");
  RecordPendingRepack(folder.game(), folder / "data.vka");
  RecordPendingRepack(folder.game(), folder / "gone.vka");
  RecordPendingRepack(folder.game(), "/elsewhere/x.vka");

  ResumeInterruptedRepacks(folder.context);

  EXPECT_EQ(folder.LogText(),
            Lines({"  Repack des fichiers VKA ...", "    data.vka -> 3 fichiers :  R\xE9ussi.",
                   "  Repack des fichiers VKA termin\xE9"
                   "e."}));
  const std::string expected = folder.outside() + "expected.vka";
  WriteArchive(expected, {{"a", "2"}});
  EXPECT_EQ(ArchiveContent(folder / "data.vka"), ArchiveContent(expected));
  EXPECT_FALSE(FileExists(folder / kRepackRecordFileName));

  ResumeInterruptedRepacks(folder.context);  // nothing pending: nothing logged
  EXPECT_EQ(folder.LogText().size(),
            Lines({"  Repack des fichiers VKA ...", "    data.vka -> 3 fichiers :  R\xE9ussi.",
                   "  Repack des fichiers VKA termin\xE9"
                   "e."})
                .size());
}

}  // namespace
