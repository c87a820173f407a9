#include "AboutBody.h"

#include <gtest/gtest.h>

#include <vector>

using namespace morvo;

TEST(AboutBody, FreeTextThenSeparatorThenProductLines) {
  const std::string french = AboutBody("Bienvenue !", false);
  EXPECT_EQ(french.rfind("Bienvenue !\r\n\r\n" + std::string(50, '-') +
                             "\r\n\r\n"
                             "Morvo Patcher version 1.3.0.3.\r\n\r\n",
                         0),
            0u);
  const std::string english = AboutBody("", true);
  EXPECT_EQ(english.rfind("\r\n\r\n" + std::string(50, '-') + "\r\n\r\n", 0), 0u);
  EXPECT_NE(french, AboutBody("Bienvenue !", true));
  EXPECT_NE(french.find('\xE9'), std::string::npos);  // French lines in Windows-1252
  EXPECT_EQ(english.find('\xE9'), std::string::npos);
  // Line layout after the version: credit / rights, blank, library credit ending with a comma
  // / its continuation, blank, two web lines with " > ".
  const std::string tail = english.substr(english.find("1.3.0.3.") + 8);
  std::vector<std::string> lines;
  for (std::size_t at = 0, next; at <= tail.size(); at = next + 2) {
    next = tail.find("\r\n", at);
    if (next == std::string::npos) next = tail.size();
    lines.push_back(tail.substr(at, next - at));
  }
  ASSERT_EQ(lines.size(), 10u);
  EXPECT_TRUE(lines[0].empty() && lines[1].empty() && lines[4].empty() && lines[7].empty());
  EXPECT_EQ(lines[5].back(), ',');
  EXPECT_NE(lines[8].find(" > "), std::string::npos);
  EXPECT_NE(lines[9].find(" > "), std::string::npos);
}

TEST(AboutBody, LanguageSettingPicksTextsOrKeepsThePreviousOnes) {
  EXPECT_EQ(AboutLanguageIsEnglish(0), false);
  EXPECT_EQ(AboutLanguageIsEnglish(1), true);
  for (int other : {-1, 2, 0x7FFFFFFF}) EXPECT_EQ(AboutLanguageIsEnglish(other), std::nullopt);
  EXPECT_STREQ(AboutButtonCaptions(false).Register, "Inscription");
  EXPECT_STREQ(AboutButtonCaptions(false).Close, "Fermer");
  EXPECT_STREQ(AboutButtonCaptions(true).Register, "Registering");
  EXPECT_STREQ(AboutButtonCaptions(true).Close, "Close");
}
