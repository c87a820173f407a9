#include "GameTools.h"

#include <filesystem>
#include <fstream>
#include <sstream>

#include "Process.h"
#include "TestPaths.h"

namespace fs = std::filesystem;

testing::AssertionResult RunTool(const std::string& tool, const std::vector<std::string>& args,
                                 std::string* output) {
  std::vector<std::string> argv{BinPath(tool)};
  argv.insert(argv.end(), args.begin(), args.end());
  const std::string outputFile =
      (fs::temp_directory_path() / ("morvo-e2e-" + std::to_string(getpid()) + ".out")).string();
  RunResult result = RunProgram(argv, OutputTo(outputFile));
  fs::remove(outputFile);
  if (output) *output = result.output;
  if (result.exitCode == 0) return testing::AssertionSuccess();
  std::string line = tool;
  for (const std::string& arg : args) line += " " + arg;
  return testing::AssertionFailure()
         << line << " -> exit " << result.exitCode << ": " << result.output;
}

void WriteFiles(const std::string& root, const FileMap& files) {
  for (const auto& [name, bytes] : files) {
    const fs::path path = fs::path(root) / name;
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
  }
}

testing::AssertionResult MakeArchive(const std::string& archive, const FileMap& files,
                                     const std::string& scratchDir) {
  const std::string root = scratchDir + "/" + fs::path(archive).filename().string() + ".files";
  fs::remove_all(root);
  WriteFiles(root, files);
  std::vector<std::string> args{"create", archive, "--root", root};
  for (const auto& entry : files) args.push_back(root + "/" + entry.first);
  return RunTool("vka", args);
}

testing::AssertionResult MakePatch(
    const std::string& container, const std::vector<std::pair<std::string, std::string>>& entries) {
  std::vector<std::string> args{"build", container};
  for (const auto& [file, destination] : entries) args.push_back(file + "=" + destination);
  return RunTool("mkpatch", args);
}

testing::AssertionResult MakePatchList(const std::string& listPath, const std::string& baseUrl,
                                       const std::vector<std::string>& containers) {
  std::vector<std::string> args{"index", "--base-url", baseUrl};
  args.insert(args.end(), containers.begin(), containers.end());
  std::string list;
  testing::AssertionResult made = RunTool("mkpatch", args, &list);
  if (made) std::ofstream(listPath, std::ios::binary) << list;
  return made;
}

testing::AssertionResult MakeConfig(const std::string& configPath, const std::string& serverUrl,
                                    const std::map<std::string, std::string>& overrides,
                                    const std::string& scratchDir) {
  fs::create_directories(scratchDir);
  const std::string skin = scratchDir + "/skin.bmp";
  const std::string banner = scratchDir + "/banner.jpg";
  if (!fs::exists(skin)) {
    RunResult art = RunProgram({HelperPath("morvo_demo_art"), skin, banner});
    if (art.exitCode != 0) return testing::AssertionFailure() << "morvo_demo_art failed";
  }
  std::istringstream in(ReadFileBytes(DemoPath("launcher.txt.in")));
  std::ostringstream description;
  std::map<std::string, std::string> added = overrides;
  for (std::string line; std::getline(in, line);) {
    for (auto at = line.find("@SERVER@"); at != std::string::npos; at = line.find("@SERVER@"))
      line.replace(at, 8, serverUrl);
    const std::string name = line.substr(0, line.find(" ="));
    if (auto changed = overrides.find(name); changed != overrides.end())
      line = name + " = " + changed->second;
    added.erase(name);
    description << line << "\n";
  }
  // Optional fields the demo's description leaves out.
  for (const auto& [name, value] : added) description << name << " = " << value << "\n";
  const std::string descriptionPath = scratchDir + "/launcher.txt";
  std::ofstream(descriptionPath, std::ios::binary) << description.str();
  return RunTool("mkconfig", {"build", descriptionPath, "-o", configPath});
}

GamePrograms LinuxGamePrograms() {
  GamePrograms programs{{{DemoPath("game.sh"), "game.sh"}}, "game.sh"};
  for (const char* shipped : {"MorvoPatcher", "libvka.so"})
    if (fs::exists(BinPath(shipped))) programs.Files.emplace(BinPath(shipped), shipped);
  return programs;
}

testing::AssertionResult MakeGameFolder(const std::string& gameDir, const std::string& serverUrl,
                                        const std::map<std::string, FileMap>& archives,
                                        const std::string& scratchDir,
                                        const std::map<std::string, std::string>& overrides,
                                        const GamePrograms& programs) {
  fs::create_directories(gameDir);
  for (const auto& [built, name] : programs.Files) fs::copy_file(built, gameDir + "/" + name);
  std::map<std::string, std::string> settings = overrides;
  settings.emplace("GameExe", programs.GameExe);
  if (auto made = MakeConfig(gameDir + "/Config.mpc", serverUrl, settings, scratchDir); !made)
    return made;
  for (const auto& [name, files] : archives)
    if (auto made = MakeArchive(gameDir + "/" + name, files, scratchDir); !made) return made;
  return testing::AssertionSuccess();
}
