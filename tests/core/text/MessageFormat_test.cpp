#include "text/MessageFormat.h"

#include <gtest/gtest.h>

#include <vector>

using namespace morvo;

namespace {

std::string Format(std::string_view pattern, std::vector<FormatArg> args, char separator = ',') {
  return FormatMessage(pattern, args, separator);
}

}  // namespace

TEST(StartupMessageFormat, ExpandsTextIntegerAndRealInOrder) {
  EXPECT_EQ(Format("%s -> %d octets.", {"a.vka", 42}), "a.vka -> 42 octets.");
  EXPECT_EQ(Format("%f Ko/s", {3.14159}), "3,14 Ko/s");
  EXPECT_EQ(Format("%f", {2.0}, '.'), "2.00");
  EXPECT_EQ(Format("%f", {-0.005}, '.'), "-0.01");
  EXPECT_EQ(Format("%d", {std::int64_t{-2147483648LL}}), "-2147483648");
  EXPECT_EQ(Format("100%%", {}), "100%");
  EXPECT_EQ(Format("no directive", {}), "no directive");
}

// Configured head texts are joined in front of fixed patterns, so they may hold any "%".
TEST(StartupMessageFormat, StrayDirectivesStandAsTheyAre) {
  struct Case {
    const char* pattern;
    std::vector<FormatArg> args;
    const char* expected;
  };
  const std::vector<Case> cases = {
      {"50% done %s", {"x"}, "50% done x"},  // unknown "% d" style directive
      {"%s %s %d", {"one"}, "one %s %d"},    // more directives than arguments
      {"%x%n%p", {1}, "%x%n%p"},             // unknown letters never consume
      {"%d", {"text"}, "%d"},                // argument of another kind
      {"%s then %d", {5}, "%s then 5"},      // the mismatch leaves the argument
      {"trailing %", {}, "trailing %"},
      {"%5.1f", {1.0}, "%5.1f"},
  };
  for (const auto& c : cases) EXPECT_EQ(Format(c.pattern, c.args), c.expected) << c.pattern;
}

TEST(StartupMessageFormat, FloatsUseTheUsersSeparator) {
  EXPECT_EQ(FormatMessage("%f", {1.5}), std::string("1") + UserDecimalSeparator() + "50");
}
