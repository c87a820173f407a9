#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "SampleSettings.h"
#include "TempDir.h"
#include "config/ConfigReader.h"
#include "config/ConfigWriter.h"
#include "platform/NativeFile.h"

using namespace morvo;

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Serialize(const PatcherSettings& s) {
  auto bytes = SerializeConfig(s);
  EXPECT_TRUE(bytes);
  return bytes.value_or(Bytes{});
}

// Offset of the first int32 equal to marker; fields are set to markers to be found again.
std::size_t OffsetOfInt32(const Bytes& bytes, std::int32_t marker) {
  std::uint8_t le[4];
  std::memcpy(le, &marker, 4);
  const auto at = std::search(bytes.begin(), bytes.end(), le, le + 4);
  EXPECT_NE(at, bytes.end());
  return static_cast<std::size_t>(at - bytes.begin());
}

void PutInt32(Bytes& bytes, std::size_t offset, std::int32_t value) {
  std::memcpy(bytes.data() + offset, &value, 4);
}

void AppendInt32(Bytes& bytes, std::int32_t value) {
  bytes.resize(bytes.size() + 4);
  PutInt32(bytes, bytes.size() - 4, value);
}

PatcherSettings Marked() {
  PatcherSettings s;
  s.StartCaption = "untouched";
  return s;
}

}  // namespace

TEST(StartupLoadConfig, EveryFieldRoundTripsThroughTheFile) {
  TempDir dir;
  const PatcherSettings sample = SampleSettings();
  ASSERT_TRUE(SaveConfig(dir.path(), sample));
  PatcherSettings loaded;
  ASSERT_TRUE(LoadConfig(dir.path(), loaded));
  EXPECT_EQ(loaded, sample);
}

TEST(StartupLoadConfig, MissingShortOrForeignFilesLeaveSettingsAlone) {
  TempDir dir;
  PatcherSettings settings = Marked();
  EXPECT_FALSE(LoadConfig(dir.path(), settings));

  const Bytes good = Serialize(SampleSettings());
  const std::string goodText(good.begin(), good.end());
  struct Case {
    const char* name;
    std::string bytes;
  };
  const Case cases[] = {
      {"empty", ""},
      {"shorter than the magic", goodText.substr(0, 22)},
      {"magic in lower case", "morvopatcherconfbinv1.3" + goodText.substr(23)},
      {"other version", "MORVOPATCHERCONFBINv1.4" + goodText.substr(23)},
      {"magic cut by a zero", std::string("MORVOPATCHERCONFBIN\0v1.", 23) + goodText.substr(23)},
  };
  for (const auto& c : cases) {
    WriteFileBytes(dir / "Config.mpc", c.bytes);
    EXPECT_FALSE(LoadConfig(dir.path(), settings)) << c.name;
    EXPECT_EQ(settings, Marked()) << c.name;
  }
}

// A file that ends anywhere before its last field is refused, never half-applied.
TEST(StartupLoadConfig, EveryTruncationIsRefused) {
  const Bytes good = Serialize(SampleSettings());
  for (std::size_t size = 0; size < good.size(); ++size) {
    PatcherSettings settings = Marked();
    ASSERT_FALSE(ParseConfig(std::span(good.data(), size), settings)) << size;
    ASSERT_EQ(settings, Marked()) << size;
  }
  PatcherSettings settings;
  EXPECT_TRUE(ParseConfig(good, settings));
}

TEST(StartupLoadConfig, CountsTheFormatCannotHoldAreRefused) {
  PatcherSettings base;
  base.StartCaption = "ABCD";
  base.BannerKind = 1;
  base.SkinImage = {'B', 'M'};
  base.BannerData = Bytes{1, 2, 3};
  const Bytes good = Serialize(base);
  const std::size_t textCount = kConfigMagicSize;
  const std::size_t bannerCount = good.size() - 3 - 4;
  const std::size_t skinCount = bannerCount - 2 - 4;
  struct Case {
    const char* name;
    std::size_t offset;
    std::int32_t value;
  };
  const Case cases[] = {
      {"text count 256", textCount, 256},
      {"text count -1", textCount, -1},
      {"skin count -1", skinCount, -1},
      {"skin count huge", skinCount, 0x7FFFFFFF},
      {"banner count negative", bannerCount, std::numeric_limits<std::int32_t>::min()},
      {"banner count one too many", bannerCount, 4},
  };
  for (const auto& c : cases) {
    Bytes bytes = good;
    PutInt32(bytes, c.offset, c.value);
    PatcherSettings settings = Marked();
    EXPECT_FALSE(ParseConfig(bytes, settings)) << c.name;
    EXPECT_EQ(settings, Marked()) << c.name;
  }
}

TEST(StartupLoadConfig, TextStopsAtItsFirstZeroByte) {
  PatcherSettings s;
  s.StartCaption = std::string("ab\0cd", 5);
  s.QuitCaption = "next";
  PatcherSettings loaded;
  ASSERT_TRUE(ParseConfig(Serialize(s), loaded));
  EXPECT_EQ(loaded.StartCaption, "ab");
  EXPECT_EQ(loaded.QuitCaption, "next");
  EXPECT_EQ(loaded.AboutCaption, "");
}

TEST(StartupLoadConfig, FlagIsItsLowestByte) {
  const std::pair<std::int32_t, bool> cases[] = {{0, false},   {1, true},     {2, true},
                                                 {256, false}, {0x101, true}, {-256, false}};
  PatcherSettings s;
  s.BannerWidth = 0x5A5A5A5A;  // marks the place just before MusicEnabled
  const Bytes good = Serialize(s);
  const std::size_t flag = OffsetOfInt32(good, s.BannerWidth) + 4;
  for (const auto& [stored, expected] : cases) {
    Bytes bytes = good;
    PutInt32(bytes, flag, stored);
    PatcherSettings loaded;
    ASSERT_TRUE(ParseConfig(bytes, loaded));
    EXPECT_EQ(loaded.MusicEnabled, expected) << stored;
  }
}

TEST(StartupLoadConfig, BannerIsReadOnlyForPositiveKinds) {
  for (std::int32_t kind : {0, -1, std::numeric_limits<std::int32_t>::min()}) {
    PatcherSettings s;
    s.BannerKind = kind;
    Bytes bytes = Serialize(s);
    AppendInt32(bytes, 3);  // bytes after the last field are not read
    PatcherSettings loaded;
    ASSERT_TRUE(ParseConfig(bytes, loaded)) << kind;
    EXPECT_FALSE(loaded.BannerData) << kind;
  }
  for (std::int32_t kind : {1, 4, 7}) {
    PatcherSettings s;
    s.BannerKind = kind;
    s.BannerData = Bytes{};
    PatcherSettings loaded;
    ASSERT_TRUE(ParseConfig(Serialize(s), loaded)) << kind;
    EXPECT_EQ(loaded.BannerData, Bytes{}) << kind;
  }
}

TEST(StartupLoadConfig, BlobsAroundThePieceSizeKeepEveryByte) {
  for (std::size_t size : {0u, 1u, 4095u, 4096u, 4097u, 8192u, 10000u}) {
    PatcherSettings s;
    s.SkinImage.resize(size);
    for (std::size_t i = 0; i < size; ++i) s.SkinImage[i] = static_cast<std::uint8_t>(i * 7 + 1);
    PatcherSettings loaded;
    ASSERT_TRUE(ParseConfig(Serialize(s), loaded)) << size;
    EXPECT_EQ(loaded.SkinImage, s.SkinImage) << size;
  }
}

TEST(StartupLoadConfig, FileHeldByAnotherProcessIsNotRead) {
  TempDir dir;
  ASSERT_TRUE(SaveConfig(dir.path(), SampleSettings()));
  // A second open file stands for the other process: the lock belongs to the open file.
  NativeFile holder = NativeFile::OpenToRead(dir / "Config.mpc");
  ASSERT_EQ(holder.TryLock(), LockResult::Locked);
  PatcherSettings settings;
  EXPECT_FALSE(LoadConfig(dir.path(), settings));
  holder.Close();
  EXPECT_TRUE(LoadConfig(dir.path(), settings));
}

TEST(StartupLoadConfig, WriterRefusesWhatTheFormatCannotHold) {
  PatcherSettings s;
  s.GameExe = std::string(256, 'x');
  EXPECT_FALSE(SerializeConfig(s));
  s.GameExe = std::string(255, 'x');
  EXPECT_TRUE(SerializeConfig(s));
  TempDir dir;
  s.NewsUrl = std::string(300, 'u');
  EXPECT_FALSE(SaveConfig(dir.path(), s));
  EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

// The stored form keeps what settings cannot: all L bytes of a text, the whole int32 of a flag.
TEST(StartupLoadConfig, RecordKeepsFieldsExactlyAsStored) {
  PatcherSettings s = SampleSettings();
  s.StartCaption = std::string("ab\0cd", 5);
  Bytes bytes = Serialize(s);
  s.BannerWidth = 0x5A5A5A5A;
  Bytes marked = Serialize(s);
  PutInt32(marked, OffsetOfInt32(marked, s.BannerWidth) + 4, 256);  // MusicEnabled

  ConfigRecord record;
  ASSERT_TRUE(ParseConfigRecord(marked, record));
  EXPECT_EQ(EncodeConfigRecord(record), marked);
  ASSERT_EQ(record.size(), ConfigSchema(true).size());
  EXPECT_EQ(record[0].Name, "StartCaption");
  EXPECT_EQ(record[0].Text, std::string("ab\0cd", 5));
  const auto music = std::find_if(record.begin(), record.end(),
                                  [](const ConfigField& f) { return f.Name == "MusicEnabled"; });
  ASSERT_NE(music, record.end());
  EXPECT_EQ(music->Numbers, std::vector<std::int32_t>{256});

  ConfigRecord untouched = record;
  bytes.pop_back();
  EXPECT_FALSE(ParseConfigRecord(bytes, record));
  EXPECT_EQ(record, untouched);
}
