#include "InstallPassScenario.h"

#include <filesystem>

#include "install/InstallPatches.h"
#include "lists/PatchLists.h"
#include "platform/FileSystem.h"

namespace morvo {

namespace fs = std::filesystem;

namespace {

ArchiveEntries ManyEntries(const std::string& prefix, int count, const std::string& content) {
  ArchiveEntries entries;
  for (int i = 0; i < count; ++i) {
    entries.emplace_back(prefix + std::to_string(i), content + std::to_string(i * 7919));
  }
  return entries;
}

std::string ArchiveFileBytes(const std::string& scratch, const ArchiveEntries& entries) {
  WriteArchive(scratch, entries);
  const std::string bytes = ReadFile(scratch);
  fs::remove(FsPath(scratch));
  return bytes;
}

}  // namespace

void PrepareThreeContainerGame(GameFolder& folder) {
  const std::string scratch = folder.outside() + "scratch.vka";
  WriteArchive(folder / "data.vka", ManyEntries("d", 300, "old data "));
  WriteArchive(folder / "world.vkd", ManyEntries("w", 200, "old world "));
  WriteFile(folder / "Config.mpc", "old settings");
  fs::create_directory(FsPath(folder / "Maps"));
  WriteFile(folder / "Maps/a.map", "old map");

  const std::string big(600 * 1024, 'm');
  folder.AddDownloaded("p1.pak", ContainerBuilder()
                                     .Add("a.map", "maps\\A.MAP", big + "1")
                                     .Add("data.vka", "data.vka",
                                          ArchiveFileBytes(scratch, ManyEntries("d", 150, "p1 ")))
                                     .Add("b.bin", "new\\b.bin", big + "b")
                                     .Bytes());
  folder.AddDownloaded(
      "p2.pak",
      ContainerBuilder()
          .Add("world.vkd", "WORLD.vkd", ArchiveFileBytes(scratch, ManyEntries("w", 250, "p2 ")))
          .Add("Config.mpc", "Config.mpc", std::string(kConfigMagic) + "new settings")
          .Add("extra.vka", "extra.vka", ArchiveFileBytes(scratch, ManyEntries("e", 50, "e ")))
          .Bytes());
  folder.AddDownloaded("p3.pak", ContainerBuilder()
                                     .Add("more.vka", "Data.vka",
                                          ArchiveFileBytes(scratch, ManyEntries("d", 100, "p3 ")))
                                     .Add("c.bin", "c.bin", big + "c")
                                     .Bytes());
}

GameSnapshot Snapshot(const GameFolder& folder) {
  GameSnapshot files;
  for (const auto& entry : fs::recursive_directory_iterator(FsPath(folder.game()))) {
    const std::string relative = Utf8Path(fs::relative(entry.path(), FsPath(folder.game())));
    if (relative == kLogFileName) continue;
    if (entry.is_directory()) {
      files[relative] = {};
    } else if (relative.ends_with(".vka") || relative.ends_with(".vkd")) {
      files[relative] = ArchiveContent(Utf8Path(entry.path()));
    } else {
      files[relative] = {{"bytes", ReadFile(Utf8Path(entry.path()))}};
    }
  }
  return files;
}

void RecoverAtStart(GameFolder& folder) {
  PatchRunState fresh(folder.game());
  PatchContext context{folder.settings, folder.log,    folder.window,
                       fresh,           folder.game(), folder.context.ProgramPath};
  ResumeInterruptedRepacks(context);
  FindUnfinishedPatches(fresh, folder.game());
  InstallPatches(context);
}

}  // namespace morvo
