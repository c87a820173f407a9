#include "config/ConfigRecord.h"

#include <limits>

#include "config/ConfigFields.h"
#include "text/LittleEndian.h"

namespace morvo {

namespace {

// Appends each visited field to a record, with its value when given settings.
class RecordBuilder {
 public:
  explicit RecordBuilder(ConfigRecord& record) : record_(record) {}

  void Text(const std::string& name, const std::string& text) {
    Add(name, ConfigFieldKind::Text).Text = text;
  }
  void Int32(const std::string& name, std::int32_t value) {
    Add(name, ConfigFieldKind::Int32).Numbers = {value};
  }
  void Colour(const std::string& name, std::int32_t value) {
    Add(name, ConfigFieldKind::Colour).Numbers = {value};
  }
  void Flag(const std::string& name, bool value) {
    Add(name, ConfigFieldKind::Flag).Numbers = {value ? 1 : 0};
  }
  void Rect(const std::string& name, const SettingsRect& r) {
    Add(name, ConfigFieldKind::Rect).Numbers = {r.X, r.Y, r.Width, r.Height};
  }
  void Size(const std::string& name, const SettingsSize& s) {
    Add(name, ConfigFieldKind::Size).Numbers = {s.Width, s.Height};
  }
  void Blob(const std::string& name, const std::vector<std::uint8_t>& blob) {
    Add(name, ConfigFieldKind::Blob).Blob = blob;
  }
  void Banner(const std::string& name, const std::optional<std::vector<std::uint8_t>>& banner,
              bool present) {
    if (present) Blob(name, banner.value_or(std::vector<std::uint8_t>{}));
  }
  void SigningKey(const std::string& name, const std::optional<P256PublicKey>& key) {
    if (key) Add(name, ConfigFieldKind::SigningKey).Blob.assign(key->begin(), key->end());
  }

 private:
  ConfigField& Add(const std::string& name, ConfigFieldKind kind) {
    record_.push_back({name, kind, {}, {}, {}});
    return record_.back();
  }
  ConfigRecord& record_;
};

}  // namespace

std::size_t NumberCount(ConfigFieldKind kind) {
  switch (kind) {
    case ConfigFieldKind::Int32:
    case ConfigFieldKind::Flag:
    case ConfigFieldKind::Colour:
      return 1;
    case ConfigFieldKind::Rect:
      return 4;
    case ConfigFieldKind::Size:
      return 2;
    case ConfigFieldKind::Text:
    case ConfigFieldKind::Blob:
    case ConfigFieldKind::SigningKey:
      return 0;
  }
  return 0;
}

ConfigRecord ConfigSchema(bool bannerPresent) {
  PatcherSettings empty;
  empty.BannerKind = bannerPresent ? 1 : 0;
  ConfigRecord record = RecordOfSettings(empty);
  for (auto& field : record) {
    field.Numbers.assign(NumberCount(field.Kind), 0);
  }
  return record;
}

ConfigRecord RecordOfSettings(const PatcherSettings& settings) {
  ConfigRecord record;
  VisitConfigFields(settings, RecordBuilder(record));
  return record;
}

std::optional<std::vector<std::uint8_t>> EncodeConfigRecord(const ConfigRecord& record) {
  std::vector<std::uint8_t> out(kConfigMagic, kConfigMagic + kConfigMagicSize);
  for (const auto& field : record) {
    if (field.Numbers.size() != NumberCount(field.Kind)) return std::nullopt;
    if (field.Kind == ConfigFieldKind::SigningKey) {
      if (&field != &record.back() || field.Blob.size() != P256PublicKey{}.size()) {
        return std::nullopt;
      }
      out.insert(out.end(), kSigningKeyTag, kSigningKeyTag + kSigningKeyTagSize);
      out.insert(out.end(), field.Blob.begin(), field.Blob.end());
    } else if (field.Kind == ConfigFieldKind::Text) {
      if (field.Text.size() > kConfigTextLimit) return std::nullopt;
      AppendInt32LE(out, static_cast<std::int32_t>(field.Text.size()));
      out.insert(out.end(), field.Text.begin(), field.Text.end());
    } else if (field.Kind == ConfigFieldKind::Blob) {
      if (field.Blob.size() > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())) {
        return std::nullopt;
      }
      AppendInt32LE(out, static_cast<std::int32_t>(field.Blob.size()));
      out.insert(out.end(), field.Blob.begin(), field.Blob.end());
    } else {
      for (std::int32_t value : field.Numbers) AppendInt32LE(out, value);
    }
  }
  return out;
}

}  // namespace morvo
