// Windows keeps a loaded library and a running program from being replaced or deleted, but lets
// them be renamed: a patch carrying one puts the old file aside, and a later start deletes it
// once nothing holds it any more.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>

#include "InstallTestSupport.h"
#include "ProcessTestSupport.h"
#include "engine/TemporaryNames.h"
#include "install/FilesInUse.h"
#include "install/InstallPatches.h"
#include "platform/FileSystem.h"
#include "platform/ProgramDir.h"
#include "platform/RunningProgram.h"
#include "platform/UniqueHandle.h"
#include "platform/WideText.h"

using namespace morvo;

namespace {

const std::string kAside = std::string(kInUseAsidePrefix) + "1";

// Installs a container that carries name with new bytes; true when it installed completely.
bool InstallNewVersion(GameFolder& folder, const std::string& name) {
  ContainerBuilder container;
  container.Add(name, name, "new " + name);
  folder.AddDownloaded("p.pak", container.Bytes());
  return InstallPatches(folder.context) == 0;
}

void CopyFile(const std::string& from, const std::string& to) {
  std::filesystem::copy_file(FsPath(from), FsPath(to));
}

class LoadedLibrary {
 public:
  explicit LoadedLibrary(const std::string& path) : module_(::LoadLibraryW(Widen(path).c_str())) {}
  ~LoadedLibrary() { Free(); }
  bool Loaded() const { return module_ != nullptr; }
  void Free() {
    if (module_ != nullptr) ::FreeLibrary(module_);
    module_ = nullptr;
  }

 private:
  HMODULE module_;
};

// The launcher's own archive library, loaded from the game folder as the launcher loads it.
TEST(FilesInUse, ALoadedLibraryIsPutAsideAndDeletedOnceFreed) {
  GameFolder folder;
  CopyFile(ProgramDir() + "VKA.dll", folder / "VKA.dll");
  const std::string old = ReadFile(folder / "VKA.dll");
  LoadedLibrary library(folder / "VKA.dll");
  ASSERT_TRUE(library.Loaded());
  ASSERT_TRUE(IsFileInUse(folder / "VKA.dll"));

  ASSERT_TRUE(InstallNewVersion(folder, "VKA.dll"));

  EXPECT_EQ(ReadFile(folder / "VKA.dll"), "new VKA.dll");
  EXPECT_EQ(ReadFile(folder / kAside), old);
  // Windows-1252 in the log, as every line of it.
  EXPECT_NE(folder.LogText().find("VKA.dll en cours d'utilisation :  ancien fichier d\xE9plac\xE9"),
            std::string::npos);

  library.Free();
  ClearFilesPutAside(folder.game());  // the next start
  EXPECT_FALSE(FileExists(folder / kAside));
  EXPECT_FALSE(FileExists(folder / kInUseRecordFileName));
  EXPECT_EQ(ReadFile(folder / "VKA.dll"), "new VKA.dll");
}

TEST(FilesInUse, ARunningProgramIsPutAsideAndDeletedOnceEnded) {
  GameFolder folder;
  CopyFile(ProgramDir() + ProgramFileName("waiting_program"), folder / "Game.exe");
  const std::string old = ReadFile(folder / "Game.exe");
  StartedProgram game(folder / "Game.exe");
  ASSERT_TRUE(game.Running());
  ASSERT_TRUE(IsFileInUse(folder / "Game.exe"));

  ASSERT_TRUE(InstallNewVersion(folder, "Game.exe"));

  EXPECT_EQ(ReadFile(folder / "Game.exe"), "new Game.exe");
  EXPECT_EQ(ReadFile(folder / kAside), old);
  // Still running: the next start leaves it for the one after.
  ClearFilesPutAside(folder.game());
  EXPECT_TRUE(FileExists(folder / kAside));
  EXPECT_TRUE(FileExists(folder / kInUseRecordFileName));

  game.End();
  ClearFilesPutAside(folder.game());
  EXPECT_FALSE(FileExists(folder / kAside));
  EXPECT_FALSE(FileExists(folder / kInUseRecordFileName));
}

// Only a file held by a program counts as in use; one that cannot even be renamed makes its
// container fail, with the file untouched.
TEST(FilesInUse, ReadOnlyFilesAreNotInUseAndUnshareableOnesStay) {
  GameFolder folder;
  WriteFile(folder / "readonly.txt", "old");
  ASSERT_TRUE(
      ::SetFileAttributesW(Widen(folder / "readonly.txt").c_str(), FILE_ATTRIBUTE_READONLY));
  EXPECT_FALSE(IsFileInUse(folder / "readonly.txt"));
  EXPECT_FALSE(IsFileInUse(folder / "missing.txt"));

  WriteFile(folder / "held.txt", "old");
  {
    const UniqueHandle held(::CreateFileW(Widen(folder / "held.txt").c_str(), GENERIC_READ, 0,
                                          nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(held.IsOpen());
    EXPECT_TRUE(IsFileInUse(folder / "held.txt"));
    EXPECT_FALSE(InstallNewVersion(folder, "held.txt"));
  }
  EXPECT_EQ(ReadFile(folder / "held.txt"), "old");  // readable again once the holder is gone
  EXPECT_FALSE(FileExists(folder / kAside));
  EXPECT_FALSE(FileExists(folder / kInUseRecordFileName));
}

}  // namespace
