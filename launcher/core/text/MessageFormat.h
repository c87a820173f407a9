// The printf-like formatter of status texts and log lines: %s, %d and %f only.
#pragma once

#include <concepts>
#include <cstdint>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>

namespace morvo {

// One value for a %s, %d or %f directive.
struct FormatArg {
  enum class Kind { Text, Integer, Real };
  Kind Type;
  std::string_view Text;
  std::int64_t Integer = 0;
  double Real = 0.0;

  FormatArg(std::string_view value) : Type(Kind::Text), Text(value) {}
  FormatArg(const std::string& value) : Type(Kind::Text), Text(value) {}
  FormatArg(const char* value) : Type(Kind::Text), Text(value) {}
  template <std::integral T>
  FormatArg(T value) : Type(Kind::Integer), Integer(static_cast<std::int64_t>(value)) {}
  template <std::floating_point T>
  FormatArg(T value) : Type(Kind::Real), Real(static_cast<double>(value)) {}
};

// Expands pattern with args, in order: %s takes a text, %d an integer, %f a real written with
// exactly two decimals and decimalSeparator. "%%" is one "%". A directive with no argument left,
// a directive whose argument has another kind, or an unknown directive is copied as it stands:
// configured head texts may hold "%", and they must never make the formatter read past args.
std::string FormatMessage(std::string_view pattern, std::span<const FormatArg> args,
                          char decimalSeparator);

// The same with the user's decimal separator (see UserDecimalSeparator).
std::string FormatMessage(std::string_view pattern, std::initializer_list<FormatArg> args);

// The decimal separator of the user's numeric settings (LC_NUMERIC / LC_ALL / LANG on Linux, the
// regional settings on Windows), "." when unset.
char UserDecimalSeparator();

}  // namespace morvo
