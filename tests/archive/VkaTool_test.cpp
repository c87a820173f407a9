// The vka tool as its users run it: round trips through the command line.
#include <gtest/gtest.h>
#include <zlib.h>

#include <fstream>

#include "ArchiveTestSupport.h"
#include "ToolRun.h"

namespace vka::test {
namespace {

namespace fs = std::filesystem;

class VkaTool : public ::testing::Test {
 protected:
  Outcome vka(const std::vector<std::string>& args) {
    return runTool(VKA_TOOL_PATH, args, folder.root());
  }

  void file(const std::string& name, const std::string& content) {
    fs::create_directories(PathOfNarrow(folder.path(name)).parent_path());
    std::ofstream(folder.path(name), std::ios::binary) << content;
  }

  std::string content(const std::string& name) {
    const Bytes bytes = readBytes(folder.path(name));
    return std::string(bytes.begin(), bytes.end());
  }

  ScratchFolder folder;
};

TEST_F(VkaTool, CreateListExtractAndCheckRoundTrip) {
  file("game/a.txt", "alpha");
  file("game/maps/b.bin", std::string(2 << 20, 'b') + "end");
  file("game/maps/caf\xC3\xA9.txt", "accent");
  ASSERT_EQ(vka({"create", "game.vka", "--root", "game", "game"}).status, 0);
  const Outcome list = vka({"list", "game.vka"});
  EXPECT_EQ(list.status, 0);
  EXPECT_EQ(list.out,
            "dir        1372       1097  data\n"
            "file          5         13  a.txt\n"
            "file    2097155       2060  maps\\b.bin\n"
            "file          6         14  maps\\caf\xC3\xA9.txt\n");
  // Names are stored in Windows-1252.
  EXPECT_EQ(entryNames(folder.path("game.vka")).back(), "maps\\caf\xE9.txt");
  const Outcome check = vka({"check", "game.vka"});
  EXPECT_EQ(check.status, 0);
  EXPECT_NE(check.out.find("4 entries, 3 files decompress"), std::string::npos) << check.out;
  ASSERT_EQ(vka({"extract", "game.vka", "-o", "out"}).status, 0);
  EXPECT_EQ(content("out/a.txt"), "alpha");
  EXPECT_EQ(content("out/maps/b.bin"), content("game/maps/b.bin"));
  EXPECT_EQ(content("out/maps/caf\xC3\xA9.txt"), "accent");
  ASSERT_EQ(vka({"extract", "game.vka", "a.txt", "-o", "one"}).status, 0);
  EXPECT_TRUE(fs::exists(folder.path("one/a.txt")));
  EXPECT_FALSE(fs::exists(folder.path("one/maps")));
}

// Names that no 8-bit code page holds whole (Cyrillic and CJK), as players' user folders
// have them: the command line and the messages keep every character, and the files there
// are read and written.
TEST_F(VkaTool, UnicodeNamesOnTheCommandLineReachTheirFiles) {
  const std::string game =
      "\xD0\x98\xD0\xB3\xD1\x80\xD0\xB0 \xE6\xB8\xB8\xE6\x88\xB2";  // Igra, youxi
  fs::create_directories(folder.root() / utf8Path(game) / "maps");
  std::ofstream(folder.root() / utf8Path(game) / "maps" / "a.txt", std::ios::binary) << "alpha";
  ASSERT_EQ(vka({"create", "game.vka", "--root", game, game}).status, 0);
  EXPECT_EQ(entryNames(folder.path("game.vka")), (std::vector<std::string>{"data", "maps\\a.txt"}));
  ASSERT_EQ(vka({"extract", "game.vka", "-o", game + "/out"}).status, 0);
  std::ifstream extracted(folder.root() / utf8Path(game) / "out" / "maps" / "a.txt");
  std::string text;
  std::getline(extracted, text);
  EXPECT_EQ(text, "alpha");

  const Outcome missing = vka({"list", game + ".vka"});
  EXPECT_EQ(missing.status, 1);
  EXPECT_EQ(missing.err, "vka: " + game + ".vka: the file cannot be opened, created or written\n");
  const Outcome usage = vka({"list", "--" + game});
  EXPECT_EQ(usage.status, 2);
  EXPECT_NE(usage.err.find("unknown or incomplete option --" + game + "\n"), std::string::npos)
      << usage.err;
}

TEST_F(VkaTool, SlashSeparatorAndTheCurrentFolderAsRoot) {
  file("maps/x.txt", "x");
  ASSERT_EQ(vka({"create", "a.vka", "--sep", "/", "maps/x.txt"}).status, 0);
  EXPECT_EQ(entryNames(folder.path("a.vka")), (std::vector<std::string>{"data", "maps/x.txt"}));
  const Outcome outside = vka({"create", "b.vka", "--root", "maps", "a.vka"});
  EXPECT_EQ(outside.status, 1);
  EXPECT_NE(outside.err.find("a.vka: not inside the root folder"), std::string::npos);
  EXPECT_FALSE(fs::exists(folder.path("b.vka")));
  EXPECT_FALSE(fs::exists(folder.path("b.vka.tmp")));
}

TEST_F(VkaTool, AddMergeAndRepackKeepTheNewestEntry) {
  file("v1/x.txt", "old");
  file("v2/x.txt", "new");
  file("v2/y.txt", "why");
  ASSERT_EQ(vka({"create", "game.vka", "--root", "v1", "v1/x.txt"}).status, 0);
  ASSERT_EQ(vka({"create", "patch.vka", "--root", "v2", "v2/y.txt"}).status, 0);
  ASSERT_EQ(vka({"add", "game.vka", "--root", "v2", "v2/x.txt"}).status, 0);
  ASSERT_EQ(vka({"merge", "patch.vka", "game.vka"}).status, 0);
  EXPECT_EQ(entryNames(folder.path("game.vka")),
            (std::vector<std::string>{"data", "x.txt", "x.txt", "data", "y.txt"}));
  ASSERT_EQ(vka({"repack", "game.vka"}).status, 0);
  EXPECT_EQ(entryNames(folder.path("game.vka")),
            (std::vector<std::string>{"data", "y.txt", "x.txt"}));
  ASSERT_EQ(vka({"extract", "game.vka", "-o", "out"}).status, 0);
  EXPECT_EQ(content("out/x.txt"), "new");
}

TEST_F(VkaTool, FailuresPrintOneLineNamingTheFileAndTheReason) {
  file("text.txt", "not an archive at all, just words");
  writeArchive(folder.path("good.vka"), {{"x", "x"}});
  struct Case {
    std::vector<std::string> args;
    std::string line;
  };
  const std::vector<Case> cases = {
      {{"list", "missing.vka"},
       "vka: missing.vka: the file cannot be opened, created or written\n"},
      {{"check", "text.txt"}, "vka: text.txt: not an archive, or a damaged one\n"},
      {{"merge", "text.txt", "good.vka"}, "vka: text.txt: not an archive, or a damaged one\n"},
      {{"merge", "good.vka", "text.txt"}, "vka: text.txt: not an archive, or a damaged one\n"},
      {{"repack", "missing.vka"},
       "vka: missing.vka: the file cannot be opened, created or written\n"},
      {{"add", "good.vka", "nothing.txt"}, "vka: nothing.txt: no such file\n"},
      {{"extract", "good.vka", "y", "-o", "out"}, "vka: good.vka: no entry named y\n"},
  };
  for (const Case& c : cases) {
    const Outcome outcome = vka(c.args);
    EXPECT_EQ(outcome.status, 1) << c.args[0];
    EXPECT_EQ(outcome.err, c.line) << c.args[0];
  }
  EXPECT_EQ(content("text.txt"), "not an archive at all, just words");
  EXPECT_EQ(entryNames(folder.path("good.vka")), (std::vector<std::string>{"data", "x"}));
}

TEST_F(VkaTool, HelpAndUsage) {
  EXPECT_EQ(vka({"--help"}).status, 0);
  for (const char* command : {"list", "create", "add", "extract", "merge", "repack", "check"}) {
    const Outcome help = vka({command, "--help"});
    EXPECT_EQ(help.status, 0) << command;
    EXPECT_EQ(help.out.rfind(std::string("vka ") + command, 0), 0u) << help.out;
  }
  EXPECT_EQ(vka({}).status, 2);
  EXPECT_EQ(vka({"explode", "a.vka"}).status, 2);
  EXPECT_EQ(vka({"merge", "a.vka"}).status, 2);
  EXPECT_EQ(vka({"extract", "a.vka"}).status, 2);
  EXPECT_EQ(vka({"create", "a.vka", "--sep", ":", "f"}).status, 2);
}

TEST_F(VkaTool, ExtractRefusesNamesThatLeaveTheOutputFolder) {
  for (const char* name :
       {"..\\evil.txt", "maps/../../evil.txt", "\\abs.txt", "/abs.txt", "C:\\evil.txt", ".."}) {
    writeArchive(folder.path("bad.vka"), {{"fine.txt", "fine"}, {name, "evil"}});
    const Outcome outcome = vka({"extract", "bad.vka", "-o", "out/inner"});
    EXPECT_EQ(outcome.status, 1) << name;
    EXPECT_NE(outcome.err.find("would land outside the output folder"), std::string::npos) << name;
    EXPECT_FALSE(fs::exists(folder.path("out"))) << name;
    EXPECT_FALSE(fs::exists(folder.path("evil.txt"))) << name;
  }
}

TEST_F(VkaTool, CheckFindsEntriesThatDoNotDecompressToTheirSize) {
  writeArchive(folder.path("a.vka"), {{"good", "content"}, {"junk", "not zlib", 0x01, true}});
  Outcome outcome = vka({"check", "a.vka"});
  EXPECT_EQ(outcome.status, 1);
  EXPECT_EQ(outcome.err, "vka: a.vka: entry junk does not decompress to its size\n");
  // A valid zlib stream whose declared content size is wrong is caught too: stored raw,
  // the entry declares its stored length as its content size.
  std::string packed(64, '\0');
  uLongf length = packed.size();
  ASSERT_EQ(compress(reinterpret_cast<Bytef*>(packed.data()), &length,
                     reinterpret_cast<const Bytef*>("content"), 7),
            Z_OK);
  packed.resize(length);
  writeArchive(folder.path("b.vka"), {{"sized", packed, 0x01, true}});
  outcome = vka({"check", "b.vka"});
  EXPECT_EQ(outcome.status, 1);
  EXPECT_EQ(outcome.err, "vka: b.vka: entry sized does not decompress to its size\n");
}

}  // namespace
}  // namespace vka::test
