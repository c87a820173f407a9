#include "DescriptionValues.h"

#include <charconv>
#include <cstdio>

#include "text/HexText.h"
#include "text/Windows1252.h"

using namespace morvo;

namespace {

// Converts the UTF-8 run collected so far and appends it to out.
bool FlushUtf8(std::string& run, std::string& out, std::string& error) {
  const auto bytes = Utf8ToWindows1252(run);
  if (!bytes) {
    error = "text holds a character that has no Windows-1252 byte (or is not UTF-8)";
    return false;
  }
  out += *bytes;
  run.clear();
  return true;
}

// The text after an opening double quote, up to the closing one, which must end the value.
std::optional<std::string> Unescape(std::string_view inner, std::string& error) {
  std::string out;
  std::string run;
  bool closed = false;
  for (std::size_t i = 0; i < inner.size(); ++i) {
    const char c = inner[i];
    if (c == '"') {
      if (i + 1 != inner.size()) {
        error = "text goes on after its closing double quote";
        return std::nullopt;
      }
      closed = true;
      break;
    }
    if (c != '\\') {
      run += c;
      continue;
    }
    if (!FlushUtf8(run, out, error)) return std::nullopt;
    const char next = i + 1 < inner.size() ? inner[i + 1] : '\0';
    ++i;
    switch (next) {
      case '\\':
        out += '\\';
        break;
      case '"':
        out += '"';
        break;
      case 'r':
        out += '\r';
        break;
      case 'n':
        out += '\n';
        break;
      case 't':
        out += '\t';
        break;
      case 'x': {
        const int high = i + 1 < inner.size() ? HexDigitValue(inner[i + 1]) : -1;
        const int low = i + 2 < inner.size() ? HexDigitValue(inner[i + 2]) : -1;
        if (high < 0 || low < 0) {
          error = "\\x needs two hex digits";
          return std::nullopt;
        }
        out += static_cast<char>(high * 16 + low);
        i += 2;
        break;
      }
      default:
        error = "unknown escape \\" + std::string(1, next);
        return std::nullopt;
    }
  }
  if (!closed) {
    error = "quoted text has no closing double quote";
    return std::nullopt;
  }
  if (!FlushUtf8(run, out, error)) return std::nullopt;
  return out;
}

}  // namespace

std::string_view Trim(std::string_view text) {
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

std::optional<std::string> ParseTextValue(std::string_view value, std::string& error) {
  value = Trim(value);
  if (value.empty() || value.front() != '"') {
    std::string run(value);
    std::string out;
    if (!FlushUtf8(run, out, error)) return std::nullopt;
    return out;
  }
  return Unescape(value.substr(1), error);
}

std::string QuoteTextValue(std::string_view bytes) {
  std::string out = "\"";
  for (char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    switch (c) {
      case '\\':
        out += "\\\\";
        continue;
      case '"':
        out += "\\\"";
        continue;
      case '\r':
        out += "\\r";
        continue;
      case '\n':
        out += "\\n";
        continue;
      case '\t':
        out += "\\t";
        continue;
      default:
        break;
    }
    // Controls and the bytes the code page leaves undefined are written as escapes.
    if (byte < 0x20 || byte == 0x7F || byte == 0x81 || byte == 0x8D || byte == 0x8F ||
        byte == 0x90 || byte == 0x9D) {
      char escape[5];
      std::snprintf(escape, sizeof escape, "\\x%02X", byte);
      out += escape;
    } else {
      out += Windows1252ToUtf8(std::string_view(&c, 1));
    }
  }
  return out + "\"";
}

std::optional<std::int32_t> ParseNumberValue(std::string_view value) {
  value = Trim(value);
  if (value.size() > 2 && value[0] == '0' && (value[1] == 'x' || value[1] == 'X')) {
    std::uint32_t bits = 0;
    const auto digits = value.substr(2);
    const auto result = std::from_chars(digits.data(), digits.data() + digits.size(), bits, 16);
    if (result.ec != std::errc() || result.ptr != digits.data() + digits.size())
      return std::nullopt;
    return static_cast<std::int32_t>(bits);
  }
  std::int32_t number = 0;
  const auto result = std::from_chars(value.data(), value.data() + value.size(), number);
  if (value.empty() || result.ec != std::errc() || result.ptr != value.data() + value.size()) {
    return std::nullopt;
  }
  return number;
}

std::optional<std::vector<std::int32_t>> ParseNumberList(std::string_view value,
                                                         std::size_t count) {
  std::vector<std::int32_t> numbers;
  while (true) {
    const auto comma = value.find(',');
    const auto number = ParseNumberValue(value.substr(0, comma));
    if (!number) return std::nullopt;
    numbers.push_back(*number);
    if (comma == std::string_view::npos) break;
    value.remove_prefix(comma + 1);
  }
  if (numbers.size() != count) return std::nullopt;
  return numbers;
}

std::optional<std::int32_t> ParseFlagValue(std::string_view value) {
  value = Trim(value);
  if (value == "true") return 1;
  if (value == "false") return 0;
  return ParseNumberValue(value);
}

std::string FormatHex(std::int32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08X", static_cast<std::uint32_t>(value));
  return text;
}

std::string FormatFlag(std::int32_t stored) {
  if (stored == 0) return "false";
  if (stored == 1) return "true";
  return std::to_string(stored);
}
