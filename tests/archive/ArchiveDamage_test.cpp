// Damaged archives are refused with 2, 3 or 4, and nothing is written to either file of a
// merge or a repack that meets one.
#include <gtest/gtest.h>
#include <zlib.h>

#include <functional>

#include "ArchiveTestSupport.h"
#include "vka/vka.h"

namespace vka::test {
namespace {

struct Table {
  std::uint32_t packedSize;
  std::uint32_t declaredSize;
  std::string image;
};

Table readTable(const Bytes& bytes) {
  const std::size_t at = u32At(bytes, 30) + 46;
  Table table{u32At(bytes, at), u32At(bytes, at + 4), std::string(u32At(bytes, at + 4), '\0')};
  uLongf length = table.image.size();
  uncompress(reinterpret_cast<Bytef*>(table.image.data()), &length, bytes.data() + at + 8,
             table.packedSize);
  return table;
}

// Replaces the table with `image`, declaring `declaredSize` (the image's length by default).
void writeTable(Bytes& bytes, const std::string& image, std::int64_t declaredSize = -1) {
  const std::size_t at = u32At(bytes, 30) + 46;
  Bytes packed(compressBound(image.size()));
  uLongf length = packed.size();
  compress(packed.data(), &length, reinterpret_cast<const Bytef*>(image.data()), image.size());
  bytes.resize(at + 8);
  putU32(bytes, at, static_cast<std::uint32_t>(length));
  putU32(bytes, at + 4, static_cast<std::uint32_t>(declaredSize < 0 ? image.size() : declaredSize));
  bytes.insert(bytes.end(), packed.begin(), packed.begin() + length);
}

struct Damage {
  const char* what;
  std::function<void(Bytes&)> apply;
  int expected;
};

// A valid archive: "data", then the file "x" (stored bytes "0123456789") and the directory "d".
Bytes validArchive(const ScratchFolder& folder) {
  writeArchive(folder.path("base.vka"), {{"x", "0123456789", 0x01, true}, {"d", "", 0x02}});
  return readBytes(folder.path("base.vka"));
}

std::size_t tableAt(const Bytes& bytes) { return u32At(bytes, 30) + 46; }

// The offset field of record `index` in the image (records are name + NUL + 17 bytes).
std::size_t recordField(const std::string& image, int index, std::size_t field) {
  std::size_t at = 0;
  for (int i = 0; i < index; ++i) at = image.find('\0', at) + 18;
  return image.find('\0', at) + 1 + field;
}

const std::vector<Damage>& damages() {
  static const std::vector<Damage> list = {
      {"shorter than a header", [](Bytes& b) { b.resize(45); }, VKA_ERR_NOT_ARCHIVE},
      {"empty file", [](Bytes& b) { b.clear(); }, VKA_ERR_NOT_ARCHIVE},
      {"wrong magic", [](Bytes& b) { b[0] = 'm'; }, VKA_ERR_NOT_ARCHIVE},
      {"magic without its NUL", [](Bytes& b) { b[15] = ' '; }, VKA_ERR_NOT_ARCHIVE},
      {"other version", [](Bytes& b) { putU32(b, 42, 0x103); }, VKA_ERR_VERSION},
      {"table position past the end", [](Bytes& b) { putU32(b, 30, b.size()); },
       VKA_ERR_NOT_ARCHIVE},
      {"table position far past the end", [](Bytes& b) { putU32(b, 30, 0xFFFFFFF0); },
       VKA_ERR_NOT_ARCHIVE},
      {"table prefix cut short", [](Bytes& b) { b.resize(tableAt(b) + 6); }, VKA_ERR_NOT_ARCHIVE},
      {"count field below seven", [](Bytes& b) { putU32(b, 38, 6); }, VKA_ERR_NOT_ARCHIVE},
      {"count field of zero", [](Bytes& b) { putU32(b, 38, 0); }, VKA_ERR_NOT_ARCHIVE},
      {"more records counted than the table holds", [](Bytes& b) { putU32(b, 38, 7 + 4); },
       VKA_ERR_ZLIB},
      {"huge count", [](Bytes& b) { putU32(b, 38, 0xFFFFFFFF); }, VKA_ERR_ZLIB},
      {"packed table past the end", [](Bytes& b) { putU32(b, tableAt(b), b.size()); },
       VKA_ERR_NOT_ARCHIVE},
      {"packed table cut short", [](Bytes& b) { b.pop_back(); }, VKA_ERR_NOT_ARCHIVE},
      {"huge table size", [](Bytes& b) { putU32(b, tableAt(b) + 4, 0xFFFFFFFF); }, VKA_ERR_ZLIB},
      {"table size larger than the stream can give",
       [](Bytes& b) { putU32(b, tableAt(b) + 4, u32At(b, tableAt(b)) * 1100); }, VKA_ERR_ZLIB},
      {"table size too small for the stream", [](Bytes& b) { putU32(b, tableAt(b) + 4, 10); },
       VKA_ERR_ZLIB},
      {"table stream not zlib", [](Bytes& b) { b[tableAt(b) + 8] ^= 0xFF; }, VKA_ERR_ZLIB},
      {"table stream with a bad checksum", [](Bytes& b) { b.back() ^= 0x01; }, VKA_ERR_ZLIB},
      {"image shorter than its last record",
       [](Bytes& b) {
         const std::string image = readTable(b).image;
         writeTable(b, image.substr(0, image.size() - 3));
       },
       VKA_ERR_ZLIB},
      {"name without a NUL in 256 bytes",
       [](Bytes& b) { writeTable(b, std::string(300, 'n') + readTable(b).image); }, VKA_ERR_ZLIB},
      {"file data past the end",
       [](Bytes& b) {
         std::string image = readTable(b).image;
         image[recordField(image, 1, 13)] = 100;  // stored offset 100
         writeTable(b, image);
       },
       VKA_ERR_NOT_ARCHIVE},
      {"file data size past the end",
       [](Bytes& b) {
         std::string image = readTable(b).image;
         image[recordField(image, 1, 3)] = 0x7F;  // compressedSize near 2 GiB
         writeTable(b, image);
       },
       VKA_ERR_NOT_ARCHIVE},
      {"data of an entry with neither kind bit past the end",
       [](Bytes& b) {
         std::string image = readTable(b).image;
         image[recordField(image, 1, 12)] = 0x40;
         image[recordField(image, 1, 16)] = 0x10;
         writeTable(b, image);
       },
       VKA_ERR_NOT_ARCHIVE},
  };
  return list;
}

TEST(ArchiveDamage, OpeningRefusesEachDamage) {
  ScratchFolder folder;
  const Bytes valid = validArchive(folder);
  ASSERT_EQ(VKA_CheckVersion(folder.path("base.vka").c_str()), 512);
  for (const Damage& damage : damages()) {
    Bytes bytes = valid;
    damage.apply(bytes);
    const std::string path = folder.path("damaged.vka");
    writeBytes(path, bytes);
    EXPECT_EQ(VKA_CheckVersion(path.c_str()), damage.expected) << damage.what;
    EXPECT_EQ(VKA_GetFileCount(path.c_str()), damage.expected) << damage.what;
  }
}

TEST(ArchiveDamage, MergeAndRepackWriteNothingForADamagedArchive) {
  ScratchFolder folder;
  const Bytes valid = validArchive(folder);
  const std::string good = folder.path("good.vka");
  const std::string damaged = folder.path("damaged.vka");
  const std::string temp = folder.path("temp.vka");
  for (const Damage& damage : damages()) {
    Bytes bytes = valid;
    damage.apply(bytes);
    writeBytes(damaged, bytes);
    writeBytes(good, valid);
    EXPECT_EQ(VKA_Fusion(damaged.c_str(), good.c_str(), nullptr), damage.expected) << damage.what;
    EXPECT_EQ(VKA_Fusion(good.c_str(), damaged.c_str(), nullptr), VKA_ERR_OPEN) << damage.what;
    EXPECT_EQ(VKA_Repack(damaged.c_str(), temp.c_str(), nullptr), damage.expected) << damage.what;
    EXPECT_EQ(readBytes(good), valid) << damage.what;
    EXPECT_EQ(readBytes(damaged), bytes) << damage.what;
    EXPECT_FALSE(std::filesystem::exists(temp)) << damage.what;
  }
}

TEST(ArchiveDamage, FaultsDeepInALargeTableCountAsInAWholeTable) {
  // The table is read and parsed in pieces, yet the result is that of inflating it whole and
  // then parsing it: a fault of the stream or of the count wins over a record's fault.
  ScratchFolder folder;
  const std::string path = folder.path("large.vka");
  writeArchive(path, manyEntries(20000));
  const Bytes valid = readBytes(path);
  const std::string image = readTable(valid).image;
  std::string farData = image;
  farData[recordField(image, 19001, 16)] = 0x7F;  // a file's data near 2 GiB
  const auto opened = [&](const std::function<void(Bytes&)>& damage) {
    Bytes bytes = valid;
    damage(bytes);
    writeBytes(path, bytes);
    return VKA_GetFileCount(path.c_str());
  };
  EXPECT_EQ(opened([](Bytes&) {}), 20001);
  EXPECT_EQ(opened([&](Bytes& b) { writeTable(b, farData); }), VKA_ERR_NOT_ARCHIVE);
  EXPECT_EQ(opened([&](Bytes& b) {
              writeTable(b, farData);
              b.back() ^= 0x01;  // the checksum at the stream's very end
            }),
            VKA_ERR_ZLIB);
  EXPECT_EQ(opened([&](Bytes& b) {
              writeTable(b, farData);
              putU32(b, 38, 7 + image.size() / 18 + 1);  // more records than could fit
            }),
            VKA_ERR_ZLIB);
  EXPECT_EQ(opened([&](Bytes& b) { writeTable(b, image.substr(0, image.size() - 1)); }),
            VKA_ERR_ZLIB);
  EXPECT_EQ(opened([&](Bytes& b) { writeTable(b, image + std::string(300, 'n')); }), 20001);
}

TEST(ArchiveDamage, DirectoryRecordsNeedNoDataInTheFile) {
  ScratchFolder folder;
  Bytes bytes = validArchive(folder);
  std::string image = readTable(bytes).image;
  image[recordField(image, 2, 16)] = 0x7F;  // the directory "d" points far away: harmless
  image[recordField(image, 2, 3)] = 0x7F;
  writeTable(bytes, image);
  writeBytes(folder.path("a.vka"), bytes);
  EXPECT_EQ(VKA_GetFileCount(folder.path("a.vka").c_str()), 3);
}

}  // namespace
}  // namespace vka::test
