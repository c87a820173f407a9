#include <gtest/gtest.h>

#include <QFile>
#include <QtEndian>

#include "AppResources.h"

namespace {

std::uint32_t U32(const QByteArray& bytes, int at) {
  return qFromLittleEndian<std::uint32_t>(bytes.constData() + at);
}
std::uint16_t U16(const QByteArray& bytes, int at) {
  return qFromLittleEndian<std::uint16_t>(bytes.constData() + at);
}

}  // namespace

TEST(Resources, ClickSoundIsMonoPcmAt22050HzWith66816DataBytes) {
  InitAppResources();
  QFile file(QString::fromLatin1(kSoundClick));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray wave = file.readAll();
  ASSERT_GE(wave.size(), 44);
  EXPECT_EQ(wave.mid(0, 4), "RIFF");
  EXPECT_EQ(U32(wave, 4), static_cast<std::uint32_t>(wave.size() - 8));
  EXPECT_EQ(wave.mid(8, 4), "WAVE");

  // Walk the chunks: a reader finds "fmt " and "data" wherever they are.
  bool sawFormat = false, sawData = false;
  for (int at = 12; at + 8 <= wave.size();) {
    const QByteArray id = wave.mid(at, 4);
    const std::uint32_t size = U32(wave, at + 4);
    if (id == "fmt ") {
      sawFormat = true;
      EXPECT_EQ(U16(wave, at + 8), 1);        // PCM
      EXPECT_EQ(U16(wave, at + 10), 1);       // mono
      EXPECT_EQ(U32(wave, at + 12), 22050u);  // samples per second
      EXPECT_EQ(U16(wave, at + 22), 16);      // bits per sample
    } else if (id == "data") {
      sawData = true;
      EXPECT_EQ(size, 66816u);
      EXPECT_LE(at + 8 + static_cast<int>(size), wave.size());
    }
    at += 8 + static_cast<int>(size + (size & 1));
  }
  EXPECT_TRUE(sawFormat);
  EXPECT_TRUE(sawData);
}

TEST(Resources, CursorsAre32PixelsWithTheHotSpotTopLeft) {
  for (const char* name : {kCursorArrow, kCursorHand}) {
    const QCursor cursor = LoadResourceCursor(name);
    EXPECT_EQ(cursor.pixmap().size(), QSize(32, 32)) << name;
    EXPECT_EQ(cursor.hotSpot(), QPoint(0, 0)) << name;
    // The tip pixel is drawn, so the pointer points where the click lands.
    EXPECT_GT(cursor.pixmap().toImage().pixelColor(0, 0).alpha(), 0) << name;
  }
}
