#include "config/ConfigWriter.h"

#include <limits>

#include "config/ConfigFields.h"
#include "platform/AtomicFile.h"

namespace {

class FieldWriter {
 public:
  explicit FieldWriter(std::vector<std::uint8_t>& out) : out_(out) {}
  bool ok() const { return ok_; }

  void Int32(const std::string&, std::int32_t value) { PutInt32(value); }
  void Colour(const std::string&, std::int32_t value) { PutInt32(value); }
  void Flag(const std::string&, bool value) { PutInt32(value ? 1 : 0); }
  void Rect(const std::string&, const SettingsRect& rect) {
    PutInt32(rect.X);
    PutInt32(rect.Y);
    PutInt32(rect.Width);
    PutInt32(rect.Height);
  }
  void Size(const std::string&, const SettingsSize& size) {
    PutInt32(size.Width);
    PutInt32(size.Height);
  }
  void Text(const std::string&, const std::string& text) {
    if (text.size() > kConfigTextLimit) ok_ = false;
    PutBytes(text.data(), text.size());
  }
  void Blob(const std::string&, const std::vector<std::uint8_t>& blob) {
    if (blob.size() > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())) {
      ok_ = false;
    }
    PutBytes(blob.data(), blob.size());
  }
  void Banner(const std::string& name, const std::optional<std::vector<std::uint8_t>>& banner,
              bool present) {
    if (present) Blob(name, banner.value_or(std::vector<std::uint8_t>{}));
  }

 private:
  void PutInt32(std::int32_t value) {
    const auto bits = static_cast<std::uint32_t>(value);
    for (int shift = 0; shift < 32; shift += 8) out_.push_back(static_cast<std::uint8_t>(bits >> shift));
  }
  void PutBytes(const void* data, std::size_t size) {
    PutInt32(static_cast<std::int32_t>(size));
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    out_.insert(out_.end(), bytes, bytes + size);
  }

  std::vector<std::uint8_t>& out_;
  bool ok_ = true;
};

}  // namespace

std::optional<std::vector<std::uint8_t>> SerializeConfig(const PatcherSettings& settings) {
  std::vector<std::uint8_t> bytes(kConfigMagic, kConfigMagic + kConfigMagicSize);
  FieldWriter writer(bytes);
  VisitConfigFields(settings, writer);
  if (!writer.ok()) return std::nullopt;
  return bytes;
}

bool SaveConfig(const std::string& directory, const PatcherSettings& settings) {
  const auto bytes = SerializeConfig(settings);
  return bytes && ReplaceFileAtomically(directory + kConfigFileName, *bytes);
}
