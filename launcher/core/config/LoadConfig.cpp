#include <algorithm>
#include <cstring>
#include <utility>

#include "config/ConfigFields.h"
#include "config/ConfigReader.h"
#include "platform/NativeFile.h"
#include "text/LittleEndian.h"

namespace morvo {

namespace {

// Where the bytes come from: the open file, or memory.
class ByteSource {
 public:
  virtual ~ByteSource() = default;
  // Fills as much of out as the source holds; the count filled.
  virtual std::size_t ReadUpTo(std::uint8_t* out, std::size_t size) = 0;
  // Fills all of out, or returns false when the source ends first.
  bool ReadExactly(std::uint8_t* out, std::size_t size) { return ReadUpTo(out, size) == size; }
};

class FileSource : public ByteSource {
 public:
  explicit FileSource(NativeFile& file) : file_(file) {}
  std::size_t ReadUpTo(std::uint8_t* out, std::size_t size) override {
    std::size_t filled = 0;
    while (filled < size) {
      const std::int64_t n = file_.Read(out + filled, size - filled);
      if (n <= 0) break;
      filled += static_cast<std::size_t>(n);
    }
    return filled;
  }

 private:
  NativeFile& file_;
};

class MemorySource : public ByteSource {
 public:
  explicit MemorySource(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
  std::size_t ReadUpTo(std::uint8_t* out, std::size_t size) override {
    const std::size_t filled = std::min(size, bytes_.size());
    std::copy_n(bytes_.begin(), filled, out);
    bytes_ = bytes_.subspan(filled);
    return filled;
  }

 private:
  std::span<const std::uint8_t> bytes_;
};

// Reads the fields in order into settings and, when asked, their stored form into a record;
// after the first failure it reads nothing more.
class FieldReader {
 public:
  FieldReader(ByteSource& source, ConfigRecord* record) : source_(source), record_(record) {}
  bool ok() const { return ok_; }

  void Int32(const std::string& name, std::int32_t& value) {
    value = NextInt32();
    Keep(name, ConfigFieldKind::Int32, {value});
  }
  void Colour(const std::string& name, std::int32_t& value) {
    value = NextInt32();
    Keep(name, ConfigFieldKind::Colour, {value});
  }
  // Only the lowest byte counts: 256 is false, 2 is true.
  void Flag(const std::string& name, bool& value) {
    const std::int32_t stored = NextInt32();
    value = (stored & 0xFF) != 0;
    Keep(name, ConfigFieldKind::Flag, {stored});
  }
  void Rect(const std::string& name, SettingsRect& rect) {
    rect.X = NextInt32();
    rect.Y = NextInt32();
    rect.Width = NextInt32();
    rect.Height = NextInt32();
    Keep(name, ConfigFieldKind::Rect, {rect.X, rect.Y, rect.Width, rect.Height});
  }
  void Size(const std::string& name, SettingsSize& size) {
    size.Width = NextInt32();
    size.Height = NextInt32();
    Keep(name, ConfigFieldKind::Size, {size.Width, size.Height});
  }
  void Text(const std::string& name, std::string& text) {
    const std::int32_t count = NextInt32();
    if (!ok_) return;
    if (count < 0 || count > static_cast<std::int32_t>(kConfigTextLimit)) {
      ok_ = false;
      return;
    }
    char bytes[kConfigTextLimit];
    if (!Read(bytes, static_cast<std::size_t>(count))) return;
    text.assign(bytes, strnlen(bytes, static_cast<std::size_t>(count)));
    if (ConfigField* field = Keep(name, ConfigFieldKind::Text, {})) {
      field->Text.assign(bytes, static_cast<std::size_t>(count));
    }
  }
  void Blob(const std::string& name, std::vector<std::uint8_t>& blob) {
    const std::int32_t count = NextInt32();
    if (!ok_) return;
    if (count < 0) {
      ok_ = false;
      return;
    }
    // Pieces of at most 4096 bytes: memory grows only with bytes actually read, so a count
    // larger than the file costs nothing.
    constexpr std::size_t kPiece = 4096;
    blob.clear();
    std::size_t remaining = static_cast<std::size_t>(count);
    while (remaining > 0 && ok_) {
      const std::size_t piece = std::min(remaining, kPiece);
      const std::size_t at = blob.size();
      blob.resize(at + piece);
      Read(blob.data() + at, piece);
      remaining -= piece;
    }
    if (ConfigField* field = Keep(name, ConfigFieldKind::Blob, {})) field->Blob = blob;
  }
  void Banner(const std::string& name, std::optional<std::vector<std::uint8_t>>& banner,
              bool present) {
    if (!present || !ok_) return;
    banner.emplace();
    Blob(name, *banner);
  }
  // The trailer after the last field. Bytes that do not begin with the tag are not read, as
  // before; a trailer that begins with it but is cut short or holds no valid key fails the
  // whole file, so that a configuration naming a key never runs unsigned.
  void SigningKey(const std::string& name, std::optional<P256PublicKey>& key) {
    if (!ok_) return;
    std::array<std::uint8_t, kSigningKeyTagSize + P256PublicKey{}.size()> trailer{};
    const std::size_t size = source_.ReadUpTo(trailer.data(), trailer.size());
    const std::size_t compared = std::min(size, kSigningKeyTagSize);
    if (size == 0 || std::memcmp(trailer.data(), kSigningKeyTag, compared) != 0) return;
    P256PublicKey stored{};
    std::copy(trailer.begin() + kSigningKeyTagSize, trailer.end(), stored.begin());
    if (size < trailer.size() || !IsP256PublicKey(stored)) {
      ok_ = false;
      return;
    }
    key = stored;
    if (ConfigField* field = Keep(name, ConfigFieldKind::SigningKey, {})) {
      field->Blob.assign(stored.begin(), stored.end());
    }
  }

 private:
  bool Read(void* out, std::size_t size) {
    if (ok_ && !source_.ReadExactly(static_cast<std::uint8_t*>(out), size)) ok_ = false;
    return ok_;
  }
  std::int32_t NextInt32() {
    std::uint8_t bytes[4] = {};
    if (!Read(bytes, sizeof bytes)) return 0;
    return DecodeInt32LE(bytes);
  }
  ConfigField* Keep(const std::string& name, ConfigFieldKind kind,
                    std::vector<std::int32_t> numbers) {
    if (record_ == nullptr || !ok_) return nullptr;
    record_->push_back({name, kind, {}, std::move(numbers), {}});
    return &record_->back();
  }

  ByteSource& source_;
  ConfigRecord* record_;
  bool ok_ = true;
};

bool ReadSettings(ByteSource& source, PatcherSettings& settings, ConfigRecord* record) {
  std::uint8_t magic[kConfigMagicSize];
  if (!source.ReadExactly(magic, sizeof magic) || !HasConfigMagic(magic)) return false;
  PatcherSettings loaded;
  ConfigRecord fields;
  FieldReader reader(source, record != nullptr ? &fields : nullptr);
  VisitConfigFields(loaded, reader);
  if (!reader.ok()) return false;
  settings = std::move(loaded);
  if (record != nullptr) *record = std::move(fields);
  return true;
}

}  // namespace

bool HasConfigMagic(std::span<const std::uint8_t> bytes) {
  return bytes.size() >= kConfigMagicSize &&
         std::memcmp(bytes.data(), kConfigMagic, kConfigMagicSize) == 0;
}

bool ParseConfig(std::span<const std::uint8_t> bytes, PatcherSettings& settings) {
  MemorySource source(bytes);
  return ReadSettings(source, settings, nullptr);
}

bool ParseConfigRecord(std::span<const std::uint8_t> bytes, ConfigRecord& record) {
  MemorySource source(bytes);
  PatcherSettings unused;
  return ReadSettings(source, unused, &record);
}

bool LoadConfig(const std::string& directory, PatcherSettings& settings) {
  const std::string path = directory + kConfigFileName;
  NativeFile file = NativeFile::OpenToRead(path);
  if (!file.IsOpen()) return false;
  // Shared with nobody: a file another process of ours holds is not read.
  if (file.TryLock() != LockResult::Locked) return false;
  FileSource source(file);
  return ReadSettings(source, settings, nullptr);
}

}  // namespace morvo
