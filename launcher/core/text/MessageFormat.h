// The printf-like formatter of status texts and log lines: %s, %d and %f only.
#pragma once

#include <concepts>
#include <cstdint>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>

// One value for a %s, %d or %f directive.
struct FormatArg {
  enum class Kind { Text, Integer, Real };
  Kind kind;
  std::string_view text;
  std::int64_t integer = 0;
  double real = 0.0;

  FormatArg(std::string_view value) : kind(Kind::Text), text(value) {}
  FormatArg(const std::string& value) : kind(Kind::Text), text(value) {}
  FormatArg(const char* value) : kind(Kind::Text), text(value) {}
  template <std::integral T>
  FormatArg(T value) : kind(Kind::Integer), integer(static_cast<std::int64_t>(value)) {}
  template <std::floating_point T>
  FormatArg(T value) : kind(Kind::Real), real(static_cast<double>(value)) {}
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
