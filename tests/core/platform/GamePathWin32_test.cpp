// On Windows the file system itself ignores letter case: names are joined as given, with '\'.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <filesystem>

#include "InstallTestSupport.h"
#include "install/InstallPatches.h"
#include "log/Logger.h"
#include "platform/FileSystem.h"
#include "platform/GamePath.h"
#include "platform/ProgramDir.h"
#include "platform/UniqueHandle.h"
#include "platform/WideText.h"

using namespace morvo;

namespace {

TEST(GamePath, SafeNamesResolveUnderTheRootAsGiven) {
  GameFolder folder;
  std::filesystem::create_directories(FsPath(folder / "Data/Maps"));
  WriteFile(folder / "Data/Maps/World.map", "w");
  const std::pair<const char*, std::string> cases[] = {
      {"readme.txt", "readme.txt"},
      {"DATA\\maps\\world.MAP", "DATA\\maps\\world.MAP"},
      {"data/MAPS/new.map", "data\\MAPS\\new.map"},
      {".\\data\\.\\x", "data\\x"},
      {"\xE9t\xE9.txt", "\xC3\xA9t\xC3\xA9.txt"},  // Windows-1252 becomes UTF-8
      {"a..b", "a..b"},
  };
  for (const auto& [name, expected] : cases) {
    EXPECT_EQ(ResolveGamePath(folder.game(), name), folder.game() + expected) << name;
  }
  // The name in another case reaches the existing file, not a twin of it.
  EXPECT_EQ(ReadFile(*ResolveGamePath(folder.game(), "DATA\\maps\\world.MAP")), "w");
}

// Names Windows would not store as given: a device (any case, any extension) would be opened
// instead of a file, and a trailing dot or blank would be dropped.
TEST(GamePath, NamesWindowsAltersAreRefused) {
  GameFolder folder;
  for (const char* name : {"CON", "nul.txt", "data\\Com1.dat", "LPT9", "aux\\x", "conout$", "name.",
                           "data.\\x", "trailing ", "..."}) {
    EXPECT_EQ(ResolveGamePath(folder.game(), name), std::nullopt) << name;
  }
  for (const char* name : {"console.txt", "com10", "nullable.dat", "lpt"}) {
    EXPECT_NE(ResolveGamePath(folder.game(), name), std::nullopt) << name;
  }
}

}  // namespace

namespace {

// The short (8.3) name the file system gives the existing file at path, if it gives one.
std::string ShortNameOf(const std::string& path) {
  std::wstring shortPath(32768, L'\0');
  const DWORD n = ::GetShortPathNameW(Widen(path).c_str(), shortPath.data(),
                                      static_cast<DWORD>(shortPath.size()));
  if (n == 0 || n >= shortPath.size()) return {};
  shortPath.resize(n);
  return FileNameOfPath(Utf8OfWide(shortPath));
}

// A short name reaches the file it abbreviates: the launcher's own files are refused under it
// too, and any other file is reached under its long name.
TEST(GamePath, ShortNamesAreJudgedByTheLongNameTheyReach) {
  GameFolder folder;  // its log is open
  WriteFile(folder.state.RegisterPath, "[patchs]\r\n");
  std::filesystem::create_directories(FsPath(folder / "Data"));
  WriteFile(folder / "Data/MorvoTMPInUse1", "old library");
  WriteFile(folder / "Data/LongFileName.dat", "data");
  const std::string log = ShortNameOf(folder / kLogFileName);
  if (log.empty() || log == kLogFileName) GTEST_SKIP() << "this file system makes no short names";

  for (const std::string& name : {log, ShortNameOf(folder.state.RegisterPath),
                                  "Data\\" + ShortNameOf(folder / "Data/MorvoTMPInUse1")}) {
    EXPECT_EQ(ResolveGamePath(folder.game(), name), std::nullopt) << name;
  }
  const std::string shortData = ShortNameOf(folder / "Data/LongFileName.dat");
  EXPECT_NE(shortData, "LongFileName.dat");
  EXPECT_EQ(ResolveGamePath(folder.game(), "Data\\" + shortData),
            folder.game() + "Data\\LongFileName.dat");

  // A container aiming at the log under its short name writes nothing there.
  ContainerBuilder container;
  container.Add("x.txt", log, "not a log line");
  folder.AddDownloaded("p.pak", container.Bytes());
  InstallPatches(folder.context);
  EXPECT_EQ(folder.LogText().find("not a log line"), std::string::npos);
  EXPECT_NE(folder.LogText().find("chemin refus"), std::string::npos);
}

}  // namespace

namespace {

// The layout of a mount point's reparse data (the system's REPARSE_DATA_BUFFER, which MinGW's
// user-mode headers leave out).
struct MountPointData {
  DWORD Tag;
  WORD DataLength;
  WORD Reserved;
  WORD SubstituteOffset;
  WORD SubstituteLength;
  WORD PrintOffset;
  WORD PrintLength;
  WCHAR Names[1024];
};

// Makes link a junction to the folder target; false when this system cannot.
bool MakeJunction(const std::string& link, const std::string& target) {
  const std::wstring wideLink = Widen(link);
  if (!::CreateDirectoryW(wideLink.c_str(), nullptr)) return false;
  const UniqueHandle folder(
      ::CreateFileW(wideLink.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                    FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  if (!folder.IsOpen()) return false;
  const std::wstring print = Widen(target);
  const std::wstring substitute = L"\\??\\" + print;
  MountPointData data{};
  data.Tag = IO_REPARSE_TAG_MOUNT_POINT;
  const auto bytes = [](const std::wstring& text) { return static_cast<WORD>(text.size() * 2); };
  data.SubstituteLength = bytes(substitute);
  data.PrintOffset = static_cast<WORD>(bytes(substitute) + 2);
  data.PrintLength = bytes(print);
  std::copy(substitute.begin(), substitute.end(), data.Names);
  std::copy(print.begin(), print.end(), data.Names + substitute.size() + 1);
  data.DataLength = static_cast<WORD>(8 + data.PrintOffset + data.PrintLength + 2);
  DWORD returned = 0;
  return ::DeviceIoControl(folder.Get(), FSCTL_SET_REPARSE_POINT, &data, 8 + data.DataLength,
                           nullptr, 0, &returned, nullptr) != 0;
}

// A junction planted in the game folder that leads out of it: a container writing through it
// fails, and nothing is written outside.
TEST(GamePath, AJunctionLeadingOutOfTheGameFolderIsNotWrittenThrough) {
  GameFolder folder;
  const std::string elsewhere = folder.outside() + "elsewhere\\";
  std::filesystem::create_directories(FsPath(elsewhere));
  WriteFile(elsewhere + "canary.txt", "canary");
  if (!MakeJunction(folder / "Maps", elsewhere)) {
    const DWORD junctionError = ::GetLastError();
    ::RemoveDirectoryW(Widen(folder / "Maps").c_str());
    // A symbolic link to a folder does the same, where a junction cannot be made.
    constexpr DWORD kUnprivileged = 0x2;  // SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE
    if (!::CreateSymbolicLinkW(Widen(folder / "Maps").c_str(), Widen(elsewhere).c_str(),
                               SYMBOLIC_LINK_FLAG_DIRECTORY | kUnprivileged)) {
      GTEST_SKIP() << "this system can make neither a junction (error " << junctionError
                   << ") nor a folder link (error " << ::GetLastError() << ")";
    }
  }
  if (ReadFile(folder / "Maps\\canary.txt") != "canary") {
    GTEST_SKIP() << "the link this system made does not lead to its target";
  }

  ContainerBuilder container;
  container.Add("good.txt", "good.txt", "good")
      .Add("canary.txt", "Maps\\canary.txt", "overwritten")
      .Add("new.txt", "maps\\new.txt", "planted");
  folder.AddDownloaded("p.pak", container.Bytes());

  EXPECT_EQ(InstallPatches(folder.context), 1);
  EXPECT_EQ(ReadFile(elsewhere + "canary.txt"), "canary");
  EXPECT_FALSE(FileExists(elsewhere + "new.txt"));
  EXPECT_EQ(ResolveGamePath(folder.game(), "Maps\\new.txt"), std::nullopt);
}

}  // namespace
