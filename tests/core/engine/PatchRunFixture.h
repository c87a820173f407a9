// The fixture of whole runs against the test server: a game folder, settings pointing at the
// server, the fixed log lines a run writes, and the log read back as lines.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "FakeWindow.h"
#include "RunTestSupport.h"
#include "config/ConfigWriter.h"
#include "engine/WindowlessRun.h"

namespace morvo {

using Lines = std::vector<std::string>;

inline const Lines kOpening = {
    "Morvo Patcher Log",
    "-----------------",
    "",
    "Initialisation de l'interface ...",
    "Initialisation termin\xE9.",
    "",
    "V\xE9rification des patchs non-install\xE9s ...",
    "V\xE9rification des patchs non-install\xE9s termin\xE9"
    "e.",
    "",
    "R\xE9"
    "cup\xE9ration de la page web ...",
    "R\xE9"
    "cup\xE9ration de la page web termin\xE9"
    "e.",
    "",
    "R\xE9"
    "cup\xE9ration de la liste des patchs ...",
};
inline const Lines kListDone = {
    "R\xE9"
    "cup\xE9ration de la liste des patchs termin\xE9"
    "e.",
    ""};
inline constexpr char kPatchesFetch[] =
    "R\xE9"
    "cup\xE9ration des patchs disponibles (%) ...";
inline const Lines kPatchesDone = {
    "R\xE9"
    "cup\xE9ration des patchs disponibles termin\xE9"
    "e.",
    ""};
inline const Lines kInstallDone = {
    "Installation termin\xE9"
    "e.",
    ""};
inline constexpr char kEnd[] = "Fin du log.";

inline Lines Join(std::initializer_list<Lines> parts) {
  Lines all;
  for (const Lines& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

inline std::string WithCount(const char* pattern, int count) {
  std::string text = pattern;
  text.replace(text.find('%'), 1, std::to_string(count));
  return text;
}

// The log lines of a loose file's installation from container name.
inline Lines Installed(const std::string& container, const std::string& file, std::size_t size) {
  return {"  MorvoTMP" + container, "    Extraction :  1 fichiers",
          "      Lecture du fichier " + file + " -> " + std::to_string(size) + " octets.",
          "        Ecriture du fichier vers " + file + "."};
}

class PatchRunTest : public ::testing::Test {
 protected:
  PatchRunTest() {
    server.Serve("/news.html", "<html>Nouvelles</html>");
    settings = RunSettings(server);
  }

  WindowlessRunResult Run() {
    EXPECT_TRUE(SaveConfig(game.path(), settings));
    window = FakeWindow();
    options.FirstRetryWait = std::chrono::milliseconds(5);
    downloader = MakeSystemDownloader(options);
    PatchRunServices services = checks;
    services.Download = downloader.get();
    return RunWithoutWindow(game.path(), game / "MorvoPatcher", window, services);
  }

  void Publish(const std::vector<std::string>& options, const std::vector<std::string>& names) {
    std::vector<std::string> urls;
    for (const std::string& name : names) urls.push_back(server.Url("/p/" + name));
    server.Serve("/list.ini", PatchList(options, urls));
  }
  void ServePatch(const std::string& name, const std::string& file, const std::string& data) {
    server.Serve("/p/" + name, Container({{file, file, data}}));
  }

  Lines Log() const { return FileLines(game / "MorvoPatcherLog.txt"); }
  std::string Register() const { return ReadFileBytes(game / "MorvoPatchsList.ini"); }
  bool Shown(const std::string& text) const {
    return std::find(window.statusTexts.begin(), window.statusTexts.end(), text) !=
           window.statusTexts.end();
  }
  // Nothing temporary is left in the game folder but the run lock.
  void ExpectNoTemporaryFiles() const {
    for (const auto& entry : std::filesystem::directory_iterator(game.path())) {
      EXPECT_NE(entry.path().filename().string().rfind("MorvoTMP", 0), 0u) << entry.path();
    }
  }

  TestHttpServer server;
  TempDir game;
  PatcherSettings settings;
  FakeWindow window;
  DownloadOptions options;
  std::unique_ptr<Downloader> downloader;
  PatchRunServices checks;  // the folder and disk checks a test replaces
};

}  // namespace morvo
