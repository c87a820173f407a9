// The signing key travels in an optional trailer after the last field of the configuration.
#include <gtest/gtest.h>

#include "ProcessTestSupport.h"
#include "SampleSettings.h"
#include "TempDir.h"
#include "config/ConfigReader.h"
#include "config/ConfigWriter.h"

using namespace morvo;

namespace {

using Bytes = std::vector<std::uint8_t>;

P256PublicKey NewKey() {
  const std::optional<P256KeyPair> pair = GenerateP256KeyPair();
  EXPECT_TRUE(pair.has_value());
  return pair ? pair->Public : P256PublicKey{};
}

PatcherSettings Signed(const P256PublicKey& key) {
  PatcherSettings s = SampleSettings();
  s.SigningKey = key;
  return s;
}

Bytes Serialize(const PatcherSettings& s) { return SerializeConfig(s).value_or(Bytes{}); }

}  // namespace

// Readers that stop after the last field see the same file: the key only adds bytes at the end.
TEST(SigningKeyTrailer, KeyRoundTripsAndOnlyAppendsToTheFile) {
  const P256PublicKey key = NewKey();
  const Bytes unsigned_ = Serialize(SampleSettings());
  const Bytes keyed = Serialize(Signed(key));
  ASSERT_EQ(keyed.size(), unsigned_.size() + 16 + 64);
  EXPECT_TRUE(std::equal(unsigned_.begin(), unsigned_.end(), keyed.begin()));
  EXPECT_EQ(std::string(keyed.begin() + unsigned_.size(), keyed.begin() + unsigned_.size() + 16),
            "MORVOSIGNKEYP256");

  TempDir dir;
  ASSERT_TRUE(SaveConfig(dir.path(), Signed(key)));
  PatcherSettings loaded;
  ASSERT_TRUE(LoadConfig(dir.path(), loaded));
  EXPECT_EQ(loaded, Signed(key));

  ASSERT_TRUE(SaveConfig(dir.path(), SampleSettings()));
  ASSERT_TRUE(LoadConfig(dir.path(), loaded));
  EXPECT_FALSE(loaded.SigningKey.has_value());
}

TEST(SigningKeyTrailer, ForeignBytesAfterTheLastFieldAreStillNotRead) {
  const Bytes plain = Serialize(SampleSettings());
  for (const std::string& tail :
       {std::string("x"), std::string("garbage after the fields"), std::string(200, '\0')}) {
    Bytes bytes = plain;
    bytes.insert(bytes.end(), tail.begin(), tail.end());
    PatcherSettings settings;
    ASSERT_TRUE(ParseConfig(bytes, settings)) << tail;
    EXPECT_EQ(settings, SampleSettings()) << tail;
  }
  // Bytes after a complete trailer are not read either.
  const PatcherSettings keyed = Signed(NewKey());
  Bytes bytes = Serialize(keyed);
  bytes.push_back('z');
  PatcherSettings settings;
  ASSERT_TRUE(ParseConfig(bytes, settings));
  EXPECT_EQ(settings, keyed);
}

// A file that says it names a key but whose key cannot be read must not run unsigned: it is
// refused as a whole, like any other damaged configuration.
TEST(SigningKeyTrailer, CutOrInvalidTrailerRefusesTheFile) {
  const Bytes plain = Serialize(SampleSettings());
  const Bytes keyed = Serialize(Signed(NewKey()));
  for (std::size_t size = plain.size() + 1; size < keyed.size(); ++size) {
    PatcherSettings settings = SampleSettings();
    settings.StartCaption = "untouched";
    const PatcherSettings before = settings;
    ASSERT_FALSE(ParseConfig(std::span(keyed.data(), size), settings)) << size;
    ASSERT_EQ(settings, before) << size;
  }
  TempDir dir;
  PatcherSettings settings;
  WriteFileBytes(dir / "Config.mpc", std::string(keyed.begin(), keyed.end() - 1));
  EXPECT_FALSE(LoadConfig(dir.path(), settings));

  // Wine's CNG takes points off the curve (Windows' own refuses them).
  if (RunsUnderWine()) return;
  Bytes offCurve = keyed;
  offCurve.back() ^= 1;  // Y no longer belongs to X
  WriteFileBytes(dir / "Config.mpc", std::string(offCurve.begin(), offCurve.end()));
  EXPECT_FALSE(LoadConfig(dir.path(), settings));
  Bytes zeros = plain;
  zeros.insert(zeros.end(), keyed.begin() + plain.size(), keyed.begin() + plain.size() + 16);
  zeros.resize(keyed.size(), 0);
  EXPECT_FALSE(ParseConfig(zeros, settings));
}

TEST(SigningKeyTrailer, RecordKeepsTheKeyAsItsLastField) {
  const P256PublicKey key = NewKey();
  const Bytes keyed = Serialize(Signed(key));
  ConfigRecord record;
  ASSERT_TRUE(ParseConfigRecord(keyed, record));
  ASSERT_EQ(record.size(), ConfigSchema(true).size() + 1);
  EXPECT_EQ(record.back().Name, "SigningKey");
  EXPECT_EQ(record.back().Kind, ConfigFieldKind::SigningKey);
  EXPECT_EQ(record.back().Blob, Bytes(key.begin(), key.end()));
  EXPECT_EQ(EncodeConfigRecord(record), keyed);

  // The trailer can only be last, and only hold a whole key.
  ConfigRecord moved = record;
  std::rotate(moved.rbegin(), moved.rbegin() + 1, moved.rend());
  EXPECT_FALSE(EncodeConfigRecord(moved));
  record.back().Blob.pop_back();
  EXPECT_FALSE(EncodeConfigRecord(record));
}
