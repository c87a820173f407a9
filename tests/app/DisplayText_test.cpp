#include "DisplayText.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "platform/GamePath.h"

using namespace morvo;

TEST(DisplayText, ShowsWindows1252WithPlainLineFeeds) {
  EXPECT_EQ(DisplayText("Caf\xE9\r\n\x80 5"), QString::fromUtf8("Caf\xC3\xA9\n\xE2\x82\xAC 5"));
  EXPECT_EQ(DisplayText("a\rb\nc"), QStringLiteral("a\rb\nc"));  // only pairs are line breaks
}

TEST(DisplayText, SettingsFileNamesFindTheFileWhateverTheLetterCase) {
  QTemporaryDir folder;
  const std::string root = folder.path().toStdString() + "/";
  ASSERT_TRUE(QDir(folder.path()).mkpath(QStringLiteral("Bin")));
  QFile game(folder.path() + QStringLiteral("/Bin/Game.exe"));
  ASSERT_TRUE(game.open(QIODevice::WriteOnly));
  game.close();

  struct Case {
    const char* name;
    std::string expected;
  };
  const Case cases[] = {
      {"bin\\GAME.EXE", root + "Bin/Game.exe"},
      {"Bin/Game.exe", root + "Bin/Game.exe"},
      {"bin\\missing.exe", root + "Bin/missing.exe"},
      {"..\\other\\run.exe", root + "../other/run.exe"},  // joined as it stands
      {"m\xFAsica.mp3", root + "m\xC3\xBAsica.mp3"},
  };
  for (const Case& c : cases) EXPECT_EQ(SettingsFilePath(root, c.name), c.expected) << c.name;
}
