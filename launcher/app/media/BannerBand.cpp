#include "media/BannerBand.h"

#include <QImage>
#include <QLabel>
#include <QPixmap>

#include "FlashBannerFile.h"
#include "PictureDecode.h"

using namespace morvo;

namespace {

QImage ToImage(const DecodedPicture& picture) {
  const QImage::Format format =
      picture.channels == 4 ? QImage::Format_RGBA8888 : QImage::Format_RGB888;
  // The wrapper borrows the pixels; copy() gives the image its own.
  return QImage(picture.pixels.data(), picture.width, picture.height,
                picture.width * picture.channels, format)
      .copy();
}

}  // namespace

BannerBand::BannerBand(QWidget* window, PatcherSettings& settings, const std::string& programDir)
    : settings_(settings), programDir_(programDir), imgBanner_(new QLabel(window)) {
  imgBanner_->setObjectName("Img_Banner");
  imgBanner_->setGeometry(0, 0, kBannerBandWidth, kBannerBandHeight);
  imgBanner_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  imgBanner_->hide();
}

void BannerBand::SetUp() {
  switch (settings_.BannerKind) {
    case 1:
      HandOverFlashMovie(settings_.BannerData, programDir_);
      break;
    case 2:
    case 3:
      ShowPicture(true);
      break;
    case 4:
      ShowPicture(false);
      break;
    default:
      return;  // no banner, and BannerData (if any) is left alone
  }
  settings_.BannerData.reset();
}

int BannerBand::BandHeight() const {
  return HasBannerBand(settings_.BannerKind) ? kBannerBandHeight : 0;
}

void BannerBand::ShowPicture(bool jpeg) {
  if (!settings_.BannerData) return;
  const std::span<const std::uint8_t> data(*settings_.BannerData);
  const auto picture = jpeg ? DecodeJpegTopLeft(data, kBannerBandWidth, kBannerBandHeight)
                            : DecodePngTopLeft(data, kBannerBandWidth, kBannerBandHeight);
  if (!picture) return;  // an undecodable picture leaves the band empty
  imgBanner_->setPixmap(QPixmap::fromImage(ToImage(*picture)));
  imgBanner_->show();
}
