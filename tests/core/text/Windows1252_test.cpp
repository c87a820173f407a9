#include "text/Windows1252.h"

#include <gtest/gtest.h>

using namespace morvo;

TEST(StartupWindows1252, FrenchLettersAndHighRangeBecomeUtf8) {
  EXPECT_EQ(Windows1252ToUtf8("termin\xE9"), "termin\xC3\xA9");
  EXPECT_EQ(Windows1252ToUtf8("\x80"), "\xE2\x82\xAC");  // euro sign
  EXPECT_EQ(Windows1252ToUtf8("\x9F"), "\xC5\xB8");      // Y with diaeresis
  EXPECT_EQ(Windows1252ToUtf8("\x81"), "\xC2\x81");      // undefined byte keeps its control
  EXPECT_EQ(Windows1252ToUtf8(std::string_view("a\0b", 3)), std::string("a\0b", 3));
}

TEST(StartupWindows1252, EveryByteRoundTrips) {
  std::string all;
  for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
  EXPECT_EQ(Utf8ToWindows1252(Windows1252ToUtf8(all)), all);
}

TEST(StartupWindows1252, Utf8WithoutAByteIsRefused) {
  struct Case {
    const char* name;
    std::string utf8;
  };
  const Case refused[] = {
      {"cjk character", "\xE6\x97\xA5"},      {"c1 control with a defined byte", "\xC2\x80"},
      {"overlong slash", "\xC0\xAF"},         {"surrogate", "\xED\xA0\x80"},
      {"beyond unicode", "\xF4\x90\x80\x80"}, {"truncated sequence", "\xC3"},
      {"stray continuation", "\x80"},
  };
  for (const auto& c : refused) EXPECT_FALSE(Utf8ToWindows1252(c.utf8)) << c.name;
  EXPECT_EQ(Utf8ToWindows1252("\xE2\x80\x99"), "\x92");  // right single quote
  EXPECT_EQ(Utf8ToWindows1252("caf\xC3\xA9 \xE2\x82\xAC"), "caf\xE9 \x80");
}
