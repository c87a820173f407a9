#include <gtest/gtest.h>
#include <stdlib.h>

#include "text/MessageFormat.h"

using namespace morvo;

TEST(StartupMessageFormat, UserSeparatorFollowsTheNumericLocale) {
  ::setenv("LC_ALL", "C", 1);
  EXPECT_EQ(UserDecimalSeparator(), '.');
  EXPECT_EQ(FormatMessage("%f", {1.5}), "1.50");
  ::unsetenv("LC_ALL");
}
