#include "ConfigDescription.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <map>

#include "DescriptionValues.h"
#include "Utf8Path.h"
#include "signing/SigningKeyText.h"

using namespace morvo;

namespace {

constexpr std::size_t kTextLimit = 255;
// The one optional field: the trailer that holds the key patch lists must be signed with.
constexpr char kSigningKeyName[] = "SigningKey";

struct Given {
  int line = 0;
  std::string value;
};

std::string LineError(int line, const std::string& field, const std::string& why) {
  return "line " + std::to_string(line) + ": " + field + ": " + why;
}

std::optional<std::vector<std::uint8_t>> ReadBlobFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
  if (in.bad()) return std::nullopt;
  return bytes;
}

// Fills field from its description value; false with why set on a bad value.
bool FillField(ConfigField& field, const std::string& value, const std::filesystem::path& baseDir,
               std::string& why) {
  switch (field.Kind) {
    case ConfigFieldKind::Text: {
      auto text = ParseTextValue(value, why);
      if (!text) return false;
      if (text->size() > kTextLimit) {
        why = "text is " + std::to_string(text->size()) + " bytes, at most 255 fit";
        return false;
      }
      field.Text = std::move(*text);
      return true;
    }
    case ConfigFieldKind::Int32:
    case ConfigFieldKind::Colour: {
      const auto number = ParseNumberValue(value);
      if (!number) why = "expected a 32-bit number (decimal or 0x hex)";
      if (number) field.Numbers = {*number};
      return number.has_value();
    }
    case ConfigFieldKind::Flag: {
      const auto flag = ParseFlagValue(value);
      if (!flag) why = "expected true, false or a number";
      if (flag) field.Numbers = {*flag};
      return flag.has_value();
    }
    case ConfigFieldKind::Rect:
    case ConfigFieldKind::Size: {
      auto numbers = ParseNumberList(value, NumberCount(field.Kind));
      if (!numbers)
        why = field.Kind == ConfigFieldKind::Rect ? "expected X, Y, W, H" : "expected W, H";
      if (numbers) field.Numbers = std::move(*numbers);
      return numbers.has_value();
    }
    case ConfigFieldKind::Blob: {
      // A file name of this platform, not a Windows-1252 text: quotes are only removed.
      std::string_view name = Trim(value);
      if (name.size() >= 2 && name.front() == '"' && name.back() == '"') {
        name = name.substr(1, name.size() - 2);
      }
      const auto path = baseDir / PathOfUtf8(std::string(name));
      auto bytes = name.empty() ? std::nullopt : ReadBlobFile(path);
      if (!bytes) {
        why = "cannot read file " + Utf8OfPath(path);
        return false;
      }
      field.Blob = std::move(*bytes);
      return true;
    }
    case ConfigFieldKind::SigningKey: {
      const std::optional<P256PublicKey> key = ParsePublicKeyText(value);
      if (!key) why = "expected P256: and 128 hex digits of a key on the curve";
      if (key) field.Blob.assign(key->begin(), key->end());
      return key.has_value();
    }
  }
  return false;
}

// Splits the description into "Name = value" lines; false with error on a malformed or
// repeated line.
bool CollectLines(std::string_view description, std::map<std::string, Given>& given,
                  std::string& error) {
  int number = 0;
  while (!description.empty()) {
    const auto end = description.find('\n');
    const std::string_view line = Trim(description.substr(0, end));
    description.remove_prefix(end == std::string_view::npos ? description.size() : end + 1);
    ++number;
    if (line.empty() || line.front() == '#') continue;
    const auto equals = line.find('=');
    const std::string name(Trim(line.substr(0, equals)));
    if (equals == std::string_view::npos || name.empty()) {
      error = "line " + std::to_string(number) + ": expected Name = value";
      return false;
    }
    const auto [at, inserted] =
        given.try_emplace(name, Given{number, std::string(line.substr(equals + 1))});
    if (!inserted) {
      error = LineError(number, name,
                        "given twice (first on line " + std::to_string(at->second.line) + ")");
      return false;
    }
  }
  return true;
}

}  // namespace

std::string SkinFileName() { return "skin.bmp"; }

std::string BannerFileName(std::int32_t bannerKind) {
  switch (bannerKind) {
    case 1:
      return "banner.swf";
    case 2:
    case 3:
      return "banner.jpg";
    case 4:
      return "banner.png";
    default:
      return "banner.bin";
  }
}

std::optional<ConfigRecord> ParseDescription(std::string_view description,
                                             const std::filesystem::path& baseDir,
                                             std::string& error) {
  std::map<std::string, Given> given;
  if (!CollectLines(description, given, error)) return std::nullopt;

  // A line naming no field is reported before any missing field, as it is most likely a typo.
  const ConfigRecord everyField = ConfigSchema(true);
  const Given* unknown = nullptr;
  std::string unknownName;
  for (const auto& [name, line] : given) {
    const bool known = name == kSigningKeyName ||
                       std::any_of(everyField.begin(), everyField.end(),
                                   [&](const ConfigField& f) { return f.Name == name; });
    if (!known && (unknown == nullptr || line.line < unknown->line)) {
      unknown = &line;
      unknownName = name;
    }
  }
  if (unknown != nullptr) {
    error = LineError(unknown->line, unknownName, "no such field");
    return std::nullopt;
  }

  const auto kind = given.find("BannerKind");
  const auto bannerKind = kind == given.end() ? std::nullopt : ParseNumberValue(kind->second.value);
  ConfigRecord record = ConfigSchema(bannerKind.value_or(0) > 0);
  const auto banner = given.find("BannerData");
  if (banner != given.end() && record.back().Name != "BannerData" && bannerKind) {
    error = LineError(banner->second.line, "BannerData", "given while BannerKind is 0 or below");
    return std::nullopt;
  }
  if (given.contains(kSigningKeyName)) {
    record.push_back({kSigningKeyName, ConfigFieldKind::SigningKey, {}, {}, {}});
  }
  for (auto& field : record) {
    const auto at = given.find(field.Name);
    if (at == given.end()) {
      error = field.Name + ": missing";
      return std::nullopt;
    }
    std::string why;
    if (!FillField(field, at->second.value, baseDir, why)) {
      error = LineError(at->second.line, field.Name, why);
      return std::nullopt;
    }
    if (field.Name == "SkinImage" &&
        (field.Blob.size() < 2 || field.Blob[0] != 'B' || field.Blob[1] != 'M')) {
      error = LineError(at->second.line, field.Name, "not a BMP file");
      return std::nullopt;
    }
  }
  return record;
}

std::string DescribeRecord(const ConfigRecord& record) {
  std::string out = "# Config.mpc description: one \"Name = value\" line per field.\n";
  std::int32_t bannerKind = 0;
  for (const auto& field : record) {
    out += field.Name + " = ";
    switch (field.Kind) {
      case ConfigFieldKind::Text:
        out += QuoteTextValue(field.Text);
        break;
      case ConfigFieldKind::Int32:
        out += std::to_string(field.Numbers.at(0));
        break;
      case ConfigFieldKind::Colour:
        out += FormatHex(field.Numbers.at(0));
        break;
      case ConfigFieldKind::Flag:
        out += FormatFlag(field.Numbers.at(0));
        break;
      case ConfigFieldKind::Rect:
      case ConfigFieldKind::Size:
        for (std::size_t i = 0; i < field.Numbers.size(); ++i) {
          out += (i ? ", " : "") + std::to_string(field.Numbers[i]);
        }
        break;
      case ConfigFieldKind::Blob:
        out += field.Name == "SkinImage" ? SkinFileName() : BannerFileName(bannerKind);
        break;
      case ConfigFieldKind::SigningKey: {
        P256PublicKey key{};
        std::copy_n(field.Blob.begin(), std::min(field.Blob.size(), key.size()), key.begin());
        out += PublicKeyText(key);
        break;
      }
    }
    if (field.Name == "BannerKind") bannerKind = field.Numbers.at(0);
    out += "\n";
  }
  return out;
}
