// mkconfig: builds Config.mpc from a text description, and dumps one back to text.
#include <filesystem>
#include <string>
#include <vector>

#include "ConfigDescription.h"
#include "ToolConsole.h"
#include "Utf8Path.h"
#include "WholeFile.h"
#include "config/ConfigReader.h"
#include "platform/AtomicFile.h"

using namespace morvo;

namespace {

constexpr int kExitSuccess = 0;
constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

constexpr char kUsage[] =
    "usage: mkconfig build DESCRIPTION -o Config.mpc\n"
    "       mkconfig dump Config.mpc -o DESCRIPTION\n"
    "\n"
    "build  reads a UTF-8 description, one \"Name = value\" line per field of Config.mpc\n"
    "       (StartCaption, Messages[0] ... Messages[11], SkinStartRect, WindowSize, ...),\n"
    "       \"#\" comment lines, any order, and writes the binary configuration file.\n"
    "       Texts as they stand or in double quotes with \\\\ \\\" \\r \\n \\t \\xNN escapes;\n"
    "       numbers decimal or 0x hex; flags true, false or a number; rects X, Y, W, H;\n"
    "       WindowSize W, H; colours 0x00BBGGRR or 0x80000000 + n for a system colour.\n"
    "       SkinImage (a BMP) and BannerData (when BannerKind > 0) name files relative to\n"
    "       the description. SigningKey, optional, is the public key patch lists must be\n"
    "       signed with, in the text form of a NAME.pub file from mkpatch keygen (P256:...).\n"
    "dump   writes the description of a configuration file, and its skin and banner as\n"
    "       skin.bmp and banner.<swf|jpg|png|bin> beside the description.\n"
    "\n"
    "Exit status: 0 success, 1 failure (the message names the file and the reason), 2 usage.\n";

int Fail(const std::string& file, const std::string& why) {
  PrintText(stderr, "mkconfig: %s: %s\n", file.c_str(), why.c_str());
  return kExitFailure;
}

bool WriteWholeFile(const std::filesystem::path& path, std::span<const std::uint8_t> bytes) {
  return ReplaceFileAtomically(Utf8OfPath(path), bytes);
}

std::span<const std::uint8_t> AsBytes(const std::string& text) {
  return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

int Build(const std::string& descriptionPath, const std::string& outputPath) {
  std::string description;
  if (!ReadWholeFile(descriptionPath, description)) return Fail(descriptionPath, "cannot be read");
  std::string error;
  const auto record =
      ParseDescription(description, PathOfUtf8(descriptionPath).parent_path(), error);
  if (!record) return Fail(descriptionPath, error);
  const auto bytes = EncodeConfigRecord(*record);
  if (!bytes) return Fail(descriptionPath, "a value does not fit the file format");
  if (!WriteWholeFile(PathOfUtf8(outputPath), *bytes)) return Fail(outputPath, "cannot be written");
  return kExitSuccess;
}

int Dump(const std::string& configPath, const std::string& outputPath) {
  std::string bytes;
  if (!ReadWholeFile(configPath, bytes)) return Fail(configPath, "cannot be read");
  ConfigRecord record;
  if (!ParseConfigRecord(AsBytes(bytes), record)) {
    return Fail(configPath,
                "not a configuration file (wrong magic, ends early, impossible count, or a "
                "signing key that cannot be read)");
  }
  const std::size_t used = EncodeConfigRecord(record).value_or(std::vector<std::uint8_t>{}).size();
  if (used < bytes.size()) {
    PrintText(stderr, "mkconfig: %s: %zu bytes after the last field are not kept\n",
              configPath.c_str(), bytes.size() - used);
  }
  const auto folder = PathOfUtf8(outputPath).parent_path();
  std::int32_t bannerKind = 0;
  for (const auto& field : record) {
    if (field.Name == "BannerKind") bannerKind = field.Numbers.at(0);
    if (field.Kind != ConfigFieldKind::Blob) continue;
    const auto blobPath =
        folder / (field.Name == "SkinImage" ? SkinFileName() : BannerFileName(bannerKind));
    if (!WriteWholeFile(blobPath, field.Blob))
      return Fail(Utf8OfPath(blobPath), "cannot be written");
  }
  if (!WriteWholeFile(PathOfUtf8(outputPath), AsBytes(DescribeRecord(record)))) {
    return Fail(outputPath, "cannot be written");
  }
  return kExitSuccess;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args = ToolArguments(argc, argv);
  for (const auto& arg : args) {
    if (arg == "--help" || arg == "-h") {
      WriteText(stdout, kUsage);
      return kExitSuccess;
    }
  }
  if (args.size() != 4 || args[2] != "-o" || (args[0] != "build" && args[0] != "dump")) {
    WriteText(stderr, kUsage);
    return kExitUsage;
  }
  return args[0] == "build" ? Build(args[1], args[3]) : Dump(args[1], args[3]);
}
