#include "text/MessageFormat.h"

#include <charconv>
#include <clocale>

namespace morvo {

namespace {

std::string FormatReal(double value, char decimalSeparator) {
  // to_chars ignores the C locale, which a GUI toolkit may have switched.
  char buffer[512];
  const auto result =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 2);
  std::string text(buffer, result.ec == std::errc() ? result.ptr : buffer);
  for (char& c : text) {
    if (c == '.') c = decimalSeparator;
  }
  return text;
}

// Appends the expansion of directive (the letter after '%') when the next argument fits it.
bool ExpandDirective(std::string& out, char directive, const FormatArg* arg,
                     char decimalSeparator) {
  if (arg == nullptr) return false;
  switch (directive) {
    case 's':
      if (arg->Type != FormatArg::Kind::Text) return false;
      out += arg->Text;
      return true;
    case 'd':
      if (arg->Type != FormatArg::Kind::Integer) return false;
      out += std::to_string(arg->Integer);
      return true;
    case 'f':
      if (arg->Type != FormatArg::Kind::Real) return false;
      out += FormatReal(arg->Real, decimalSeparator);
      return true;
    default:
      return false;
  }
}

}  // namespace

std::string FormatMessage(std::string_view pattern, std::span<const FormatArg> args,
                          char decimalSeparator) {
  std::string out;
  out.reserve(pattern.size());
  std::size_t nextArg = 0;
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    const char c = pattern[i];
    if (c != '%' || i + 1 == pattern.size()) {
      out += c;
      continue;
    }
    const char directive = pattern[i + 1];
    if (directive == '%') {
      out += '%';
      ++i;
      continue;
    }
    const FormatArg* arg = nextArg < args.size() ? &args[nextArg] : nullptr;
    if (ExpandDirective(out, directive, arg, decimalSeparator)) {
      ++nextArg;
      ++i;
    } else {
      // Shown as it stands; the letter after '%' is copied on the next turn.
      out += c;
    }
  }
  return out;
}

std::string FormatMessage(std::string_view pattern, std::initializer_list<FormatArg> args) {
  // Asking the system for the user's settings costs more than the formatting: only a pattern
  // that can write a real asks.
  const bool writesReal = pattern.find("%f") != std::string_view::npos;
  return FormatMessage(pattern, std::span<const FormatArg>(args.begin(), args.size()),
                       writesReal ? UserDecimalSeparator() : '.');
}

}  // namespace morvo
