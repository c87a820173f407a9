#include "lists/PatchLists.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "InstallTestSupport.h"

using namespace morvo;

namespace {

using Lines = std::vector<std::string>;

TEST(PatchLists, FileNameOfUrl) {
  const std::pair<const char*, const char*> cases[] = {
      {"a/b/c.pak", "c.pak"},
      {"c.pak", "c.pak"},
      {"a/b/", ""},
      {"", ""},
      {"http://h/x\\y.pak", "x\\y.pak"},
      {"/", ""},
  };
  for (const auto& [url, name] : cases) EXPECT_EQ(FileNameOfUrl(url), name) << url;
}

struct ListCase {
  const char* name;
  const char* serverList;
  const char* registerFile;  // nullptr: no register
  bool result;
  bool denyPlay;
  Lines downloads;
};

class ReadPatchListsTest : public ::testing::TestWithParam<ListCase> {};

TEST_P(ReadPatchListsTest, DecidesWhatToDownload) {
  const ListCase& c = GetParam();
  ScratchDir dir;
  PatchRunState state(dir.path());
  WriteFile(state.ServerListPath, c.serverList);
  if (c.registerFile != nullptr) WriteFile(state.RegisterPath, c.registerFile);
  state.DenyPlay = true;  // every outcome sets it

  EXPECT_EQ(ReadPatchLists(state), c.result);
  EXPECT_EQ(state.DenyPlay, c.denyPlay);
  EXPECT_EQ(state.DownloadUrls, c.downloads);
  if (c.result) {
    EXPECT_EQ(state.DownloadsStarted, 0);
    EXPECT_EQ(state.LastDownloadIndex, static_cast<int>(c.downloads.size()) - 1);
  }
}

constexpr char kTwoPatches[] = "[patchs]\nhttp://h/p/a.pak=1\nhttp://h/p/b.pak=1\n";

INSTANTIATE_TEST_SUITE_P(
    Rules, ReadPatchListsTest,
    ::testing::Values(
        ListCase{"NoOptions", kTwoPatches, nullptr, false, false, {}},
        ListCase{
            "EmptyOptions", "[options]\n[patchs]\nhttp://h/a.pak=1\n", nullptr, false, false, {}},
        ListCase{"Offered",
                 "[options]\ndeny_play=0\n[patchs]\nhttp://h/a.pak=1\nhttp://h/b.pak=1\n",
                 nullptr,
                 true,
                 false,
                 {"http://h/a.pak", "http://h/b.pak"}},
        ListCase{"DenyGetpatch1KeepsDenyPlay",
                 "[options]\ndeny_play=1\ndeny_getpatch=1\n[patchs]\nhttp://h/a.pak=1\n",
                 nullptr,
                 false,
                 true,
                 {}},
        ListCase{"DenyGetpatch2HasNoEffect",
                 "[options]\ndeny_getpatch=2\n[patchs]\nhttp://h/a.pak=1\n",
                 nullptr,
                 true,
                 false,
                 {"http://h/a.pak"}},
        ListCase{"DenyPlayMinusOne",
                 "[options]\ndeny_play=-1\n[patchs]\nu/a=1\n",
                 nullptr,
                 true,
                 true,
                 {"u/a"}},
        ListCase{"DenyPlayHex", "[options]\ndeny_play=0x10\n", nullptr, false, true, {}},
        ListCase{"DenyPlayWordTrue", "[options]\ndeny_play=true\n", nullptr, false, false, {}},
        ListCase{"ValuesOtherThanOne",
                 "[options]\nx=0\n[patchs]\nu/a=1   \nu/b=01\nu/c=yes\nu/d= 1\t\nu/e=0\n",
                 nullptr,
                 true,
                 false,
                 {"u/a", "u/d"}},
        ListCase{"ExactProbeMatch",
                 "[options]\nx=0\n[patchs]\nu/a.pak=1\nu/B.pak=1\nu/c.pak=1\nother/d.pak=1\n",
                 "[patchs]\na.pak=1\nb.pak=1\nc.pak=0\nd.pak=1\n",
                 true,
                 false,
                 {"u/B.pak", "u/c.pak"}},
        ListCase{"SameNameInTwoFolders",
                 "[options]\nx=0\n[patchs]\nu/a.pak=1\nv/a.pak=1\n",
                 "[patchs]\na.pak=1\n",
                 false,
                 false,
                 {}},
        ListCase{"EmptyFileName",
                 "[options]\nx=0\n[patchs]\nhttp://h/dir/=1\nhttp://h/x=1\n",
                 "[patchs]\n=1\n",
                 true,
                 false,
                 {"http://h/x"}},
        ListCase{"RegisterWithoutPatchsSection",
                 "[options]\nx=0\n[patchs]\nu/a=1\n",
                 "[other]\na=1\n",
                 true,
                 false,
                 {"u/a"}},
        ListCase{"MissingListFile", "", nullptr, false, false, {}}),
    [](const auto& info) { return std::string(info.param.name); });

// The digest of the text "abc", and of "" (e3b0...), as [sha256] values.
constexpr char kAbc[] = "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad";
constexpr char kEmpty[] = "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855";

std::map<std::string, std::string> HexDigests(const PatchRunState& state) {
  std::map<std::string, std::string> hex;
  for (const auto& [name, digest] : state.ServerDigests) hex[name] = HexOfDigest(digest);
  return hex;
}

// Digests are keyed by the patch's file name, the key the register uses; a name whose line is
// malformed, or that is given two different digests, has none, however many good lines it has.
TEST(PatchLists, ServerDigestsComeFromTheSha256Section) {
  ScratchDir dir;
  PatchRunState state(dir.path());
  const std::string abc = kAbc;
  const Lines lines = {"[options]",
                       "x=0",
                       "[patchs]",
                       "http://h/p/a.pak=1",
                       "http://h/p/b.pak=1",
                       "[sha256]",
                       "a.pak=" + abc,
                       " b.pak = " + abc + " \r",
                       "short.pak=" + abc.substr(2),
                       "twice.pak=" + abc,
                       "twice.pak=" + std::string(kEmpty),
                       "same.pak=" + abc,
                       "same.pak=" + abc,
                       "bad.pak=" + abc,
                       "bad.pak=zz",
                       "noequal.pak",
                       "http://h/p/a.pak=" + std::string(kEmpty)};
  std::string list;
  for (const std::string& line : lines) list += line + "\n";
  WriteFile(state.ServerListPath, list);
  EXPECT_TRUE(ReadPatchLists(state));
  const std::map<std::string, std::string> expected = {
      {"a.pak", kAbc}, {"b.pak", kAbc}, {"same.pak", kAbc}, {"http://h/p/a.pak", kEmpty}};
  EXPECT_EQ(HexDigests(state), expected);
}

TEST(PatchLists, ListWithoutSha256SectionHasNoDigests) {
  ScratchDir dir;
  PatchRunState state(dir.path());
  WriteFile(state.ServerListPath, std::string("[options]\nx=0\n") + kTwoPatches);
  EXPECT_TRUE(ReadPatchLists(state));
  EXPECT_TRUE(state.ServerDigests.empty());
}

TEST(PatchLists, WriteInstalledRegisterKeepsOldNamesAndAddsDownloads) {
  ScratchDir dir;
  PatchRunState state(dir.path());
  state.InstalledEntries = {"a.pak=1", " old/b.pak =0", "c.pak=1", "=1"};
  state.DownloadUrls = {"http://h/c.pak", "http://h/d.pak"};
  WriteFile(state.RegisterPath, std::string(600, 'x'));  // longer than what replaces it
  WriteInstalledRegister(state);
  EXPECT_EQ(ReadFile(state.RegisterPath),
            "[patchs]\r\na.pak=1\r\nb.pak=1\r\n=1\r\nc.pak=1\r\nd.pak=1\r\n");
}

// Long lists keep the server's order; a register name counts once however often it appears, and
// only as the exact "name=1" line.
TEST(PatchLists, LongListsKeepTheirOrderAndExactMatches) {
  PatchRunState state("/nonexistent/folder/");
  Lines expected;
  for (int i = 3000; i > 0; --i) {
    const std::string name = "p" + std::to_string(i) + ".pak";
    state.ServerEntries.push_back("http://h/" + std::to_string(i % 7) + "/" + name + "=1");
    if (i % 3 == 0) {
      state.InstalledEntries.push_back(name + "=1");
      state.InstalledEntries.push_back(name + "=1");
    } else {
      state.InstalledEntries.push_back(i % 3 == 1 ? name + "=0" : "P" + name.substr(1) + "=1");
      expected.push_back("http://h/" + std::to_string(i % 7) + "/" + name);
    }
  }
  EXPECT_TRUE(BuildDownloadList(state));
  EXPECT_EQ(state.DownloadUrls, expected);
}

TEST(PatchLists, WriteInstalledRegisterInAFolderThatCannotHoldItDoesNothing) {
  PatchRunState state("/nonexistent/folder/");
  state.DownloadUrls = {"http://h/a.pak"};
  WriteInstalledRegister(state);
  EXPECT_FALSE(FileExists(state.RegisterPath));
}

TEST(PatchLists, FindUnfinishedPatchesListsRegisteredContainersStillPresent) {
  ScratchDir dir;
  PatchRunState state(dir.path());
  FindUnfinishedPatches(state, dir.path());  // no register: nothing
  EXPECT_TRUE(state.InstallFiles.empty());

  WriteFile(state.RegisterPath, "[patchs]\na.pak=1\nb.pak=1\nc.pak=0\nx/../d.pak=1\n");
  for (const char* name : {"MorvoTMPa.pak", "MorvoTMPc.pak"}) {
    WriteFile(dir.path() + name, "container");
  }
  std::filesystem::create_directory(dir.path() + "MorvoTMPx");
  WriteFile(dir.path() + "d.pak", "outside the temporary names");
  FindUnfinishedPatches(state, dir.path());
  EXPECT_EQ(state.InstallFiles, Lines{dir.path() + "MorvoTMPa.pak"});
  EXPECT_EQ(state.ServerEntries.size(), 4u);
}

// Names that a container cannot be downloaded under: each would land elsewhere than
// "MorvoTMP" + name in the game folder on some platform, or replace a file of the run.
const std::string kUnusablePatchNames[] = {
    "..\\..\\Startup\\x.bat", "a\\b.pak", "c:x.pak", "x:stream", "tab\tx.pak", "x\x01.pak", "a<b",
    "a>b", "a\"b", "a|b", "a?b", "a*b", ".", "..", "p.pak.", "p.pak ", "CON", "nul.pak", "com1.pak",
    "Lpt9", "aux.tar.gz",
    std::string(243, 'n'),  // "MorvoTMP" + name + ".part" would pass 255 bytes
    // the run's other temporary files, in any case
    "PatchsList.ini", "patchslist.INI", "VKA.vka", "Repacks.lst", "SelfUpdateTried.txt",
    "WriteCheck", "News.html", "Banner.swf", "VKA_Data.vka", "vka_x", "_MorvoPatcher", "_x.exe",
    "a.pak.MorvoTMP"};

TEST(PatchLists, PatchNamesThatCannotNameTheirContainerAreNotUsable) {
  for (const std::string& name : kUnusablePatchNames) {
    EXPECT_FALSE(IsUsablePatchName(name)) << name;
  }
  for (const std::string& name :
       {std::string(), std::string("p0001.pak"), std::string("a%5Cb.pak"), std::string("VKA.vkd"),
        std::string("Vka-x.pak"), std::string(242, 'n')}) {
    EXPECT_TRUE(IsUsablePatchName(name)) << name;
  }
}

// A register edited by hand: keys that are no usable names are skipped even though a file of
// that name lies in the folder (on Linux, "\\" and the like are ordinary characters).
TEST(PatchLists, FindUnfinishedPatchesSkipsKeysThatAreNoPlainNames) {
  ScratchDir dir;
  PatchRunState state(dir.path());
  std::string registerFile = "[patchs]\r\na.pak=1\r\n";
  for (const std::string& name : kUnusablePatchNames) {
    registerFile += name + "=1\r\n";
    // Where the file system would turn the name into another one ("p.pak." into "p.pak" on
    // Windows), no file: the register key, trimmed, may well be that other, usable, name.
    WriteFileNamedExactly(dir.path(), "MorvoTMP" + name, "c");
  }
  registerFile += "b.pak=1\r\n";
  WriteFile(state.RegisterPath, registerFile);
  WriteFile(dir.path() + "MorvoTMPa.pak", "container");
  WriteFile(dir.path() + "MorvoTMPb.pak", "container");

  FindUnfinishedPatches(state, dir.path());

  EXPECT_EQ(state.InstallFiles,
            (Lines{dir.path() + "MorvoTMPa.pak", dir.path() + "MorvoTMPb.pak"}));
}

TEST(PatchLists, RemoveFromRegisterDropsOnlyThatName) {
  ScratchDir dir;
  PatchRunState state(dir.path());
  WriteFile(state.RegisterPath, "[patchs]\r\na.pak=1\r\nb.pak=1\r\nA.pak=1\r\n");
  RemoveFromRegister(state, "a.pak");
  EXPECT_EQ(ReadFile(state.RegisterPath), "[patchs]\r\nb.pak=1\r\nA.pak=1\r\n");
}

}  // namespace
