// A game folder whose path holds Cyrillic and CJK letters, as a player's user name often does:
// the whole run works there, recovery, installation, archive merges and the repack included.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "FakeWindow.h"
#include "InstallTestSupport.h"
#include "RunTestSupport.h"
#include "TempDir.h"
#include "config/ConfigWriter.h"
#include "engine/WindowlessRun.h"
#include "platform/FileSystem.h"

using namespace morvo;

namespace {

// Serves fixed bodies by address, as a server would, straight into the target file.
class MemoryDownloader final : public Downloader {
 public:
  std::map<std::string, std::string> bodies;

  DownloadStatus Download(const std::string& url, const std::string& path,
                          BindStatusCallback& callback,
                          const std::optional<Sha256Digest>&) override {
    callback.OnStartBinding();
    const auto body = bodies.find(url);
    if (body == bodies.end()) return callback.OnStopBinding({false, "HTTP 404"});
    WriteFileBytes(path, body->second);
    callback.OnProgress(body->second.size(), body->second.size());
    return callback.OnStopBinding({ReadFileBytes(path) == body->second, {}});
  }
};

// An archive's bytes, built where the archive classes can open it.
std::string ArchiveBytes(const ArchiveEntries& files) {
  ScratchDir scratch;
  WriteArchive(scratch.path() + "built.vka", files);
  return ReadFile(scratch.path() + "built.vka");
}

ArchiveEntries ContentOfArchiveBytes(const std::string& bytes) {
  ScratchDir scratch;
  WriteFile(scratch.path() + "read.vka", bytes);
  return ArchiveContent(scratch.path() + "read.vka");
}

}  // namespace

TEST(UnicodeGameFolder, WholeRunWithMergesAndRepackWorks) {
  TempDir root;
  // "Игра 游戏" in UTF-8, with a blank as well.
  const std::string game = root / "\xD0\x98\xD0\xB3\xD1\x80\xD0\xB0 \xE6\xB8\xB8\xE6\x88\xB2/";
  ASSERT_TRUE(std::filesystem::create_directory(FsPath(game)));
  // The installed archive has a Windows-1252 name ("données.vka"), stored in UTF-8.
  const std::string installedArchive = game +
                                       "donn\xC3\xA9"
                                       "es.vka";
  WriteFile(installedArchive, ArchiveBytes({{"a", "old a"}, {"b", "b"}}));
  // Left by an interrupted run: registered, not yet installed.
  WriteFile(game + "MorvoPatchsList.ini", "[patchs]\r\nold.pak=1\r\n");
  WriteFile(game + "MorvoTMPold.pak", Container({{"r.txt", "recovered.txt", "recovered"}}));

  MemoryDownloader server;
  server.bodies["mem://news.html"] = "news";
  server.bodies["mem://list.ini"] = PatchList({"deny_play=0"}, {"mem://p1.pak", "mem://p2.pak"});
  server.bodies["mem://p1.pak"] = Container({{"a.vka",
                                              "donn\xE9"
                                              "es.vka",
                                              ArchiveBytes({{"a", "new a"}, {"c", "c"}})},
                                             {"t.txt", "sub\\\xE9t\xE9.txt", "summer"}});
  server.bodies["mem://p2.pak"] = Container({{"d.vka",
                                              "DONN\xC9"
                                              "ES.vka",
                                              ArchiveBytes({{"d", "d"}})},
                                             {"n.vkd", "new.vkd", ArchiveBytes({{"n", "n"}})}});
  ASSERT_TRUE(SaveConfig(game, RunSettings("mem://news.html", "mem://list.ini")));

  FakeWindow window;
  PatchRunServices services;
  services.Download = &server;
  ASSERT_TRUE(RunWithoutWindow(game, game + "MorvoPatcher", window, services).Finished);

  const std::string log = ReadFile(game + "MorvoPatcherLog.txt");
  EXPECT_NE(log.find("Fusion des fichiers VKA termin\xE9"
                     "e."),
            std::string::npos)
      << log;
  EXPECT_NE(log.find("donn\xE9"
                     "es.vka -> "),
            std::string::npos)
      << log;
  EXPECT_EQ(log.find("Erreur"), std::string::npos) << log;
  EXPECT_EQ(ReadFile(game + "recovered.txt"), "recovered");
  EXPECT_EQ(ReadFile(game + "sub/\xC3\xA9t\xC3\xA9.txt"), "summer");
  // "DONNÉES.vka" differs from "données.vka" beyond ASCII letter case: where the file system
  // tells case apart it is an archive of its own; on Windows, the same archive.
  const std::string otherCase = game +
                                "DONN\xC3\x89"
                                "ES.vka";
  const auto contentOf = [](const ArchiveEntries& files) {
    return ContentOfArchiveBytes(ArchiveBytes(files));
  };
  if (SameFile(installedArchive, otherCase)) {
    EXPECT_EQ(ContentOfArchiveBytes(ReadFile(installedArchive)),
              contentOf({{"a", "new a"}, {"b", "b"}, {"c", "c"}, {"d", "d"}}));
  } else {
    EXPECT_EQ(ContentOfArchiveBytes(ReadFile(installedArchive)),
              contentOf({{"a", "new a"}, {"b", "b"}, {"c", "c"}}));
    EXPECT_EQ(ContentOfArchiveBytes(ReadFile(otherCase)), contentOf({{"d", "d"}}));
  }
  EXPECT_EQ(ContentOfArchiveBytes(ReadFile(game + "new.vkd")), contentOf({{"n", "n"}}));
  EXPECT_EQ(ReadFile(game + "MorvoPatchsList.ini"),
            "[patchs]\r\nold.pak=1\r\np1.pak=1\r\np2.pak=1\r\n");
  for (const auto& entry : std::filesystem::directory_iterator(FsPath(game))) {
    EXPECT_FALSE(Utf8Path(entry.path().filename()).starts_with("MorvoTMP"))
        << Utf8Path(entry.path());
  }
}
