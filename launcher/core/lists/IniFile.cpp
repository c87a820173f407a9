#include "lists/IniFile.h"

#include <fstream>
#include <iterator>
#include <limits>

#include "platform/FileSystem.h"
#include "text/AsciiText.h"
#include "text/HexText.h"

namespace morvo {

namespace {

std::string_view TrimBlanks(std::string_view text) {
  auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

}  // namespace

bool ParseIniInteger(std::string_view text, std::int32_t& value) {
  bool negative = false;
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  const bool hex = text.size() > 2 && text[0] == '0' && AsciiLower(text[1]) == 'x';
  if (hex) text.remove_prefix(2);
  if (text.empty()) return false;

  const std::uint64_t limit =
      hex ? 0xFFFFFFFFull
          : static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max()) + negative;
  std::uint64_t magnitude = 0;
  for (char c : text) {
    const int digit = hex ? HexDigitValue(c) : (c >= '0' && c <= '9' ? c - '0' : -1);
    if (digit < 0) return false;
    magnitude = magnitude * (hex ? 16 : 10) + static_cast<std::uint64_t>(digit);
    if (magnitude > limit) return false;
  }
  const auto pattern = static_cast<std::uint32_t>(magnitude);
  value = static_cast<std::int32_t>(negative ? 0u - pattern : pattern);
  return true;
}

IniFile IniFile::Parse(std::string_view text) {
  IniFile ini;
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);  // a UTF-8 mark from an editor
  Section* current = nullptr;
  while (!text.empty()) {
    const auto end = text.find('\n');
    std::string_view line = TrimBlanks(text.substr(0, end));
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);

    if (line.empty() || line.front() == ';') continue;
    if (line.front() == '[') {
      const auto close = line.find(']');
      const std::string_view name =
          TrimBlanks(line.substr(1, close == std::string_view::npos ? line.npos : close - 1));
      current = nullptr;
      for (Section& known : ini.sections_) {
        if (EqualsIgnoringAsciiCase(known.Name, name)) current = &known;
      }
      if (current == nullptr) {
        ini.sections_.push_back({std::string(name), {}});
        current = &ini.sections_.back();
      }
      continue;
    }
    const auto equal = line.find('=');
    if (current == nullptr || equal == std::string_view::npos) continue;
    current->Entries.push_back({std::string(TrimBlanks(line.substr(0, equal))),
                                std::string(TrimBlanks(line.substr(equal + 1)))});
  }
  return ini;
}

IniFile IniFile::Load(const std::string& path) {
  std::ifstream in(FsPath(path), std::ios::binary);
  if (!in) return {};
  const std::string bytes{std::istreambuf_iterator<char>(in), {}};
  return Parse(bytes);
}

const IniFile::Section* IniFile::Find(std::string_view section) const {
  for (const Section& candidate : sections_) {
    if (EqualsIgnoringAsciiCase(candidate.Name, section)) return &candidate;
  }
  return nullptr;
}

const IniFile::Entry* IniFile::FindEntry(std::string_view section, std::string_view key) const {
  const Section* found = Find(section);
  if (found == nullptr) return nullptr;
  for (const Entry& entry : found->Entries) {
    if (EqualsIgnoringAsciiCase(entry.Key, key)) return &entry;
  }
  return nullptr;
}

bool IniFile::SectionPresent(std::string_view section) const {
  const Section* found = Find(section);
  return found != nullptr && !found->Entries.empty();
}

std::vector<std::string> IniFile::ReadSection(std::string_view section) const {
  std::vector<std::string> lines;
  if (const Section* found = Find(section)) {
    for (const Entry& entry : found->Entries) lines.push_back(entry.Key + "=" + entry.Value);
  }
  return lines;
}

std::string IniFile::ReadString(std::string_view section, std::string_view key,
                                std::string_view fallback) const {
  const Entry* entry = FindEntry(section, key);
  return std::string(entry != nullptr ? std::string_view(entry->Value) : fallback);
}

std::int32_t IniFile::ReadInteger(std::string_view section, std::string_view key,
                                  std::int32_t fallback) const {
  const Entry* entry = FindEntry(section, key);
  std::int32_t value = 0;
  return entry != nullptr && ParseIniInteger(entry->Value, value) ? value : fallback;
}

bool IniFile::ReadFlag(std::string_view section, std::string_view key) const {
  return ReadInteger(section, key, 0) != 0;
}

}  // namespace morvo
