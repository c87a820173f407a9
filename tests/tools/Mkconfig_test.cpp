// mkconfig as operators run it: build and dump through the command line.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "SampleSettings.h"
#include "TempDir.h"
#include "ToolRun.h"
#include "config/ConfigReader.h"
#include "config/ConfigWriter.h"
#include "signing/SigningKeyText.h"

using namespace morvo;

namespace {

const std::string kTestData = TOOLS_TESTDATA_DIR "/Mkconfig/";

struct ToolResult {
  int exitCode = -1;
  std::string errors;
};

// arguments: separated by blanks, which none of them holds.
ToolResult RunMkconfig(const std::string& arguments, const TempDir& dir) {
  std::vector<std::string> args;
  std::istringstream words(arguments);
  for (std::string word; words >> word;) args.push_back(word);
  const vka::test::Outcome outcome = vka::test::runTool(MKCONFIG_PATH, args, dir.path());
  return {outcome.status, outcome.err};
}

std::string FileBytes(const std::vector<std::uint8_t>& bytes) {
  return std::string(bytes.begin(), bytes.end());
}

}  // namespace

TEST(StartupMkconfig, BuildsEveryFieldFromAHandWrittenDescription) {
  TempDir dir;
  const auto result =
      RunMkconfig("build " + kTestData + "every-field.txt -o " + (dir / "Config.mpc"), dir);
  ASSERT_EQ(result.exitCode, 0) << result.errors;
  PatcherSettings loaded;
  ASSERT_TRUE(LoadConfig(dir.path(), loaded));
  EXPECT_EQ(loaded, SampleSettings());
}

// Values a description must keep although settings would not: a flag stored as 256, bytes
// after a zero inside a text, controls and undefined code-page bytes.
TEST(StartupMkconfig, DumpThenBuildGivesTheSameBytes) {
  PatcherSettings odd = SampleSettings();
  odd.AboutText = std::string("a\0b\x01\x7F\x81\"\\\t\xFF", 10);
  odd.BannerKind = 7;
  odd.BannerData = std::vector<std::uint8_t>(5000, 0xAB);
  ConfigRecord record;
  ASSERT_TRUE(ParseConfigRecord(*SerializeConfig(odd), record));
  for (auto& field : record) {
    if (field.Name == "ShowQuit") field.Numbers = {256};
    if (field.Name == "ClickSoundEnabled") field.Numbers = {-2};
  }
  const std::vector<std::uint8_t> original = *EncodeConfigRecord(record);

  for (const auto& bytes : {original, *SerializeConfig(SampleSettings())}) {
    TempDir dir;
    WriteFileBytes(dir / "Config.mpc", FileBytes(bytes));
    std::filesystem::create_directory(dir / "described");
    auto result =
        RunMkconfig("dump " + (dir / "Config.mpc") + " -o " + (dir / "described/skin.txt"), dir);
    ASSERT_EQ(result.exitCode, 0) << result.errors;
    EXPECT_TRUE(std::filesystem::exists(dir / "described/skin.bmp"));
    result =
        RunMkconfig("build " + (dir / "described/skin.txt") + " -o " + (dir / "again.mpc"), dir);
    ASSERT_EQ(result.exitCode, 0) << result.errors;
    EXPECT_EQ(ReadFileBytes(dir / "again.mpc"), FileBytes(bytes));
  }
}

// The signing key is the one optional field: dumped in its text form, built back to the same
// trailer, and absent from the description of a file without it.
TEST(StartupMkconfig, SigningKeyRoundTripsThroughItsTextForm) {
  PatcherSettings keyed = SampleSettings();
  const std::optional<P256KeyPair> pair = GenerateP256KeyPair();
  ASSERT_TRUE(pair.has_value());
  keyed.SigningKey = pair->Public;
  TempDir dir;
  WriteFileBytes(dir / "Config.mpc", FileBytes(*SerializeConfig(keyed)));
  auto result = RunMkconfig("dump " + (dir / "Config.mpc") + " -o " + (dir / "d.txt"), dir);
  ASSERT_EQ(result.exitCode, 0) << result.errors;
  const std::string dumped = ReadFileBytes(dir / "d.txt");
  EXPECT_NE(dumped.find("\nSigningKey = " + PublicKeyText(pair->Public) + "\n"), std::string::npos)
      << dumped;
  std::filesystem::create_directory(dir / "again");
  result = RunMkconfig("build " + (dir / "d.txt") + " -o " + (dir / "again/Config.mpc"), dir);
  ASSERT_EQ(result.exitCode, 0) << result.errors;
  PatcherSettings loaded;
  ASSERT_TRUE(LoadConfig(dir / "again/", loaded));
  EXPECT_EQ(loaded, keyed);

  WriteFileBytes(dir / "Config.mpc", FileBytes(*SerializeConfig(SampleSettings())));
  ASSERT_EQ(RunMkconfig("dump " + (dir / "Config.mpc") + " -o " + (dir / "d.txt"), dir).exitCode,
            0);
  EXPECT_EQ(ReadFileBytes(dir / "d.txt").find("SigningKey"), std::string::npos);
}

TEST(StartupMkconfig, DumpNamesTheBannerAfterItsKind) {
  TempDir dir;
  const std::string description = ReadFileBytes(kTestData + "every-field.txt");
  WriteFileBytes(dir / "Config.mpc", FileBytes(*SerializeConfig(SampleSettings())));
  ASSERT_EQ(RunMkconfig("dump " + (dir / "Config.mpc") + " -o " + (dir / "d.txt"), dir).exitCode,
            0);
  EXPECT_EQ(ReadFileBytes(dir / "banner.png"), ReadFileBytes(kTestData + "banner.png"));
  const std::string dumped = ReadFileBytes(dir / "d.txt");
  EXPECT_NE(dumped.find("BannerData = banner.png\n"), std::string::npos);
  EXPECT_NE(dumped.find("ProgressBackColor = 0x8000000F\n"), std::string::npos);
  EXPECT_NE(dumped.find("Messages[9] = \"T\xC3\xA9l\xC3\xA9"
                        "chargement : \"\n"),
            std::string::npos);
}

// Each broken line is refused with its line number and field; the output is not written.
TEST(StartupMkconfig, BrokenDescriptionsNameTheLineAndField) {
  const std::string good = ReadFileBytes(kTestData + "every-field.txt");
  const auto lineOf = [&](const std::string& start) {
    const auto at = good.find("\n" + start);
    return std::to_string(std::count(good.begin(), good.begin() + at + 1, '\n') + 1);
  };
  const auto replaced = [&](const std::string& start, const std::string& line) {
    const auto at = good.find("\n" + start) + 1;
    return good.substr(0, at) + line + good.substr(good.find('\n', at));
  };
  struct Case {
    std::string description;
    std::string expected;
  };
  const Case cases[] = {
      {replaced("SkinStartRect", "SkinStartRect = 1, 2, 3"),
       "line " + lineOf("SkinStartRect") + ": SkinStartRect"},
      {replaced("WindowSize", "WindowSize = 640 x 392"),
       "line " + lineOf("WindowSize") + ": WindowSize"},
      {replaced("Language", "Language = 99999999999"), "line " + lineOf("Language") + ": Language"},
      {replaced("LogEnabled", "LogEnabled = yes"), "line " + lineOf("LogEnabled") + ": LogEnabled"},
      {replaced("GameExe", "GameExe = " + std::string(256, 'x')),
       "line " + lineOf("GameExe") + ": GameExe"},
      {replaced("StartCaption", "StartCaption = \xE6\x97\xA5"),
       "line " + lineOf("StartCaption") + ": StartCaption"},
      {replaced("QuitCaption", "QuitCaption = \"open"),
       "line " + lineOf("QuitCaption") + ": QuitCaption"},
      {replaced("QuitCaption", "QuitCaption = \"bad \\q\""),
       "line " + lineOf("QuitCaption") + ": QuitCaption"},
      {replaced("QuitCaption", "QuitCaption = \"\\x4\""),
       "line " + lineOf("QuitCaption") + ": QuitCaption"},
      {replaced("SkinImage", "SkinImage = banner.png"),
       "line " + lineOf("SkinImage") + ": SkinImage: not a BMP"},
      {replaced("SkinImage", "SkinImage = none.bmp"),
       "line " + lineOf("SkinImage") + ": SkinImage"},
      {replaced("BannerKind", "BannerKind = 0"), "line " + lineOf("BannerData") + ": BannerData"},
      {replaced("GameExe", "GameExe"), "line " + lineOf("GameExe")},
      {replaced("GameExe", "GameExecutable = x"),
       "line " + lineOf("GameExe") + ": GameExecutable: no such field"},
      {replaced("ShowNews", "ShowStart = false"),
       "line " + lineOf("ShowNews") + ": ShowStart: given twice"},
      {replaced("ProgressForeColor", "# ProgressForeColor = 1"), "ProgressForeColor: missing"},
      {good + "SigningKey = P256:" + std::string(127, 'a') + "\n",
       "line " + std::to_string(std::count(good.begin(), good.end(), '\n') + 1) + ": SigningKey"},
      {good + "SigningKey = " + std::string(128, 'a') + "\n", ": SigningKey: expected P256:"},
  };
  for (const auto& c : cases) {
    TempDir dir;
    // File by file: the C++ library's recursive copy into a folder that exists fails on Windows.
    for (const auto& item : std::filesystem::directory_iterator(kTestData)) {
      std::filesystem::copy_file(item.path(), dir / item.path().filename().string());
    }
    WriteFileBytes(dir / "broken.txt", c.description);
    const auto result =
        RunMkconfig("build " + (dir / "broken.txt") + " -o " + (dir / "Config.mpc"), dir);
    EXPECT_EQ(result.exitCode, 1) << c.expected;
    EXPECT_NE(result.errors.find(c.expected), std::string::npos) << result.errors;
    EXPECT_FALSE(std::filesystem::exists(dir / "Config.mpc")) << c.expected;
  }
}

TEST(StartupMkconfig, UsageAndUnreadableInputs) {
  TempDir dir;
  EXPECT_EQ(RunMkconfig("--help", dir).exitCode, 0);
  EXPECT_EQ(RunMkconfig("", dir).exitCode, 2);
  EXPECT_EQ(RunMkconfig("build a.txt b.mpc", dir).exitCode, 2);
  EXPECT_EQ(RunMkconfig("convert a -o b", dir).exitCode, 2);
  WriteFileBytes(dir / "Config.mpc", "MORVOPATCHERCONFBINv1.3 and then too little");
  auto result = RunMkconfig("dump " + (dir / "Config.mpc") + " -o " + (dir / "d.txt"), dir);
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_NE(result.errors.find(dir / "Config.mpc"), std::string::npos) << result.errors;
  result = RunMkconfig("build " + (dir / "missing.txt") + " -o " + (dir / "c.mpc"), dir);
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_NE(result.errors.find("missing.txt"), std::string::npos) << result.errors;
}
