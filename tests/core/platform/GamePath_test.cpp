#include "platform/GamePath.h"

#include <gtest/gtest.h>

#include "InstallTestSupport.h"

using namespace morvo;

namespace {

// Names that could lead out of the game folder, as a hostile or broken container carries them.
const char* const kHostileNames[] = {
    "",
    "\\",
    "/etc/passwd",
    "\\Windows\\win.ini",
    "C:\\boot.ini",
    "C:game.dat",
    "c:/x",
    "\\\\server\\share\\x",
    "..",
    "..\\x",
    "a\\..\\..\\x",
    "a/../../x",
    "a\\..",
    "data\\",
    "a\\\\b",
    "file.txt:stream",
    "tab\tname",
    "line\nbreak",
    "nul\x01",
    "del\x7F",
    ".",
    ".\\",
    "link\\..\\x",
    // names that Windows reads as something else, in any folder part
    "...",
    "con",
    "Data\\con.vka",
    "NUL.txt",
    "data\\Com1\\x.bin",
    "lpt9.log",
    "data.vka.",
    "Cartes \\x.map",
    "x ",
    "a<b",
    "a>b",
    "a\"b",
    "a|b",
    "a?b",
    "a*b",
    // the launcher's own files, in any case, also as a folder or through a link to the root
    "MorvoPatchsList.ini",
    "morvopatchslist.INI",
    ".\\MorvoPatcherLog.txt",
    "MorvoPatcher.lock",
    "MorvoPatchsList.ini.MorvoTMP",
    "MorvoTMPVKA.vka",
    "morvotmp_MorvoPatcher",
    "MorvoTMPp0001.pak",
    "MorvoTMPx\\y.txt",
    // a file in use put aside, in whatever folder it was
    "bin\\MorvoTMPInUse1",
    "Data\\morvotmpinuse2\\x",
};

TEST(GamePath, HostileNamesAreRefused) {
  GameFolder folder;
  for (const char* name : kHostileNames) {
    EXPECT_EQ(ResolveGamePath(folder.game(), name), std::nullopt) << name;
  }
}

TEST(GamePath, TheDestinationRulesNeedNoFileSystemForNames) {
  EXPECT_TRUE(IsSafeDestination("Data\\Maps\\World.map"));
  for (const char* name : {"Data\\con.vka", "x.vka.", "MorvoTMPVKA.vka", "..\\x"}) {
    EXPECT_FALSE(IsSafeDestination(name)) << name;
  }
}

TEST(GamePath, FileNamesOfPaths) {
  EXPECT_EQ(WindowsFileName("a\\b/c.vka"), "c.vka");
  EXPECT_EQ(WindowsFileName("c.vka"), "c.vka");
  EXPECT_EQ(WindowsFileName("dir\\"), "");
  EXPECT_EQ(ShownFileName("/g/\xC3\xA9t\xC3\xA9.vka"), "\xE9t\xE9.vka");
  EXPECT_EQ(ShownFileName("/g/\xE6\x97\xA5.vka"), "\xE6\x97\xA5.vka");  // no Windows-1252 form
  EXPECT_EQ(WithoutControls("a\r\nb"), "a??b");
}

}  // namespace
