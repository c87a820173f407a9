#include "SettingsColor.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QPalette>

TEST(SettingsColor, PlainColoursHaveRedInTheLowestByte) {
  EXPECT_EQ(ColorFromSetting(0x000000FF), QColor(255, 0, 0));
  EXPECT_EQ(ColorFromSetting(0x0000FF00), QColor(0, 255, 0));
  EXPECT_EQ(ColorFromSetting(0x00FF0000), QColor(0, 0, 255));
  EXPECT_EQ(ColorFromSetting(0x00123456), QColor(0x56, 0x34, 0x12));
}

TEST(SettingsColor, SystemColoursMapToPaletteRoles) {
  const QPalette palette = QGuiApplication::palette();
  const auto system = [](std::uint32_t n) { return static_cast<std::int32_t>(0x80000000u + n); };
  EXPECT_EQ(ColorFromSetting(system(15)), palette.color(QPalette::Active, QPalette::Button));
  EXPECT_EQ(ColorFromSetting(system(16)), palette.color(QPalette::Active, QPalette::Dark));
  EXPECT_EQ(ColorFromSetting(system(5)), palette.color(QPalette::Active, QPalette::Base));
  EXPECT_EQ(ColorFromSetting(system(13)), palette.color(QPalette::Active, QPalette::Highlight));
  EXPECT_EQ(ColorFromSetting(system(8)), palette.color(QPalette::Active, QPalette::Text));
  // Only the low byte names the colour; an index the platform does not know is black.
  EXPECT_EQ(ColorFromSetting(system(0x100 + 15)), ColorFromSetting(system(15)));
  EXPECT_EQ(ColorFromSetting(system(200)), QColor(0, 0, 0));
  EXPECT_EQ(ColorFromSetting(static_cast<std::int32_t>(0xFFFFFFFFu)), QColor(0, 0, 0));
}
