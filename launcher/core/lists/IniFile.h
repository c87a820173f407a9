// A read-only profile (INI) file with the rules the patch lists rely on: section names match
// without regard to ASCII case, a section counts only when it holds an entry, keys and values
// come back trimmed, entries keep their file order. Texts stay the file's 8-bit bytes.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace morvo {

class IniFile {
 public:
  struct Entry {
    std::string Key;
    std::string Value;
  };

  // Parses text; any bytes are accepted. Lines are ended by LF or CR LF; lines beginning with
  // ';' are comments; a line without '=' inside a section is ignored; a section named twice
  // continues where it left off.
  static IniFile Parse(std::string_view text);
  // A missing or unreadable file reads as a file with no sections.
  static IniFile Load(const std::string& path);

  bool SectionPresent(std::string_view section) const;
  // Every entry of the section as key + "=" + value, in file order.
  std::vector<std::string> ReadSection(std::string_view section) const;
  // The value of the first entry named key (ASCII case ignored), or fallback.
  std::string ReadString(std::string_view section, std::string_view key,
                         std::string_view fallback) const;
  // A decimal or "0x" hexadecimal 32-bit integer; fallback when missing or not an integer.
  std::int32_t ReadInteger(std::string_view section, std::string_view key,
                           std::int32_t fallback) const;
  // An integer with default 0, any other value meaning true.
  bool ReadFlag(std::string_view section, std::string_view key) const;

 private:
  struct Section {
    std::string Name;
    std::vector<Entry> Entries;
  };
  const Section* Find(std::string_view section) const;
  const Entry* FindEntry(std::string_view section, std::string_view key) const;

  std::vector<Section> sections_;
};

// Parses a whole text as a 32-bit integer: optional sign, then decimal digits or "0x" and
// hexadecimal digits (up to 0xFFFFFFFF, taken as its 32-bit pattern). Nothing else may follow.
bool ParseIniInteger(std::string_view text, std::int32_t& value);

}  // namespace morvo
