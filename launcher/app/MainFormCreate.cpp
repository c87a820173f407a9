// The window built from the settings, step by step (the sequence's creation step calls it).
#include <QCoreApplication>
#include <QFontMetrics>
#include <QLabel>

#include "AppResources.h"
#include "BmpDecode.h"
#include "ClickArea.h"
#include "DisplayText.h"
#include "MainForm.h"
#include "OutlineShape.h"
#include "PictureBox.h"
#include "ProgressGauge.h"
#include "QtLayout.h"
#include "SettingsColor.h"
#include "SkinPicture.h"
#include "WindowFont.h"
#include "media/BackgroundMusic.h"
#include "media/BannerBand.h"
#include "media/NewsPane.h"

using namespace morvo;

namespace {

void SetLabelColor(QLabel* label, std::int32_t color) {
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, ColorFromSetting(color));
  label->setPalette(palette);
}

// A picture never needs more pixels than its control can show inside the skinned area.
QImage BlankPictureFor(int width, int height, QSize visible) {
  return ToQImage(BlankImage(std::min(width, visible.width()), std::min(height, visible.height())));
}

}  // namespace

bool TMainForm::BuildInterface() {
  // Every Qt widget already paints through a back buffer: nothing to switch on for flicker.
  const QCursor arrow = LoadResourceCursor(kCursorArrow);
  const QCursor hand = LoadResourceCursor(kCursorHand);
  panel_->setCursor(arrow);
  pgbProcess_->setCursor(arrow);
  for (ClickArea* area : {lblStart_, lblQuit_, lblAbout_}) area->setCursor(hand);

  clickSound_.Load(settings_.ClickSoundEnabled);

  if (!LoadSkin()) return false;

  const QSize area = ToQSize(SkinnedAreaSize(settings_.WindowSize));
  panel_->resize(area);
  resize(area.width(), height());
  imgBackground_->resize(area);
  imgBackground_->SetPicture(BlankPictureFor(settings_.SkinBackgroundRect.Width,
                                             settings_.SkinBackgroundRect.Height, area));

  PlaceButtonPictures();
  lblStart_->setGeometry(ToQRect(ControlBounds(settings_.StartBounds)));
  lblQuit_->setGeometry(ToQRect(ControlBounds(settings_.QuitBounds)));
  lblAbout_->setGeometry(ToQRect(ControlBounds(settings_.AboutBounds)));
  PlaceCaptions();
  PlaceProgressArea();
  news_->Layout();
  banner_->SetUp();
  ApplyBannerLayout();
  CutSkin();
  ApplyVisibilitySwitches();
  return true;
}

bool TMainForm::LoadSkin() {
  std::optional<PixelImage> skin = DecodeBmp(settings_.SkinImage);
  std::vector<std::uint8_t>().swap(settings_.SkinImage);  // the undecoded bytes are done with
  if (!skin) return false;
  skinBitmap_ = std::move(*skin);
  return true;
}

void TMainForm::PlaceButtonPictures() {
  struct ButtonPicture {
    PictureBox* picture;
    const SettingsRect& skinRect;
    const SettingsRect& bounds;
    bool hover;
  };
  const ButtonPicture pictures[] = {
      {imgStart_, settings_.SkinStartRect, settings_.StartBounds, false},
      {imgQuit_, settings_.SkinQuitRect, settings_.QuitBounds, false},
      {imgAbout_, settings_.SkinAboutRect, settings_.AboutBounds, false},
      {imgStartB_, settings_.SkinStartHoverRect, settings_.StartBounds, true},
      {imgQuitB_, settings_.SkinQuitHoverRect, settings_.QuitBounds, true},
      {imgAboutB_, settings_.SkinAboutHoverRect, settings_.AboutBounds, true},
  };
  for (const ButtonPicture& entry : pictures) {
    if (IsMissingSkinRect(entry.skinRect)) {
      // Out of sight; a mouse-over picture stays visible there.
      entry.picture->move(kOutOfSightLeft, entry.picture->y());
      continue;
    }
    if (entry.hover) entry.picture->hide();
    const QRect bounds = ToQRect(ControlBounds(entry.bounds));
    entry.picture->setGeometry(bounds);
    entry.picture->SetPicture(BlankPictureFor(bounds.width(), bounds.height(), panel_->size()));
  }
}

void TMainForm::PlaceCaptions() {
  struct Caption {
    QLabel* label;
    const std::string& text;
    const SettingsRect& bounds;
  };
  const Caption captions[] = {
      {lblStartText_, settings_.StartCaption, settings_.StartBounds},
      {lblQuitText_, settings_.QuitCaption, settings_.QuitBounds},
      {lblAboutText_, settings_.AboutCaption, settings_.AboutBounds},
  };
  const QFont captionFont =
      SettingsFont(settings_.ButtonFontName, settings_.ButtonFontSize, settings_.ButtonFontBold);
  // Centred by the size of the text in the window's own font, not in the caption font.
  const QFontMetrics designMetrics(font());
  for (const Caption& caption : captions) {
    const QString text = DisplayText(caption.text);
    caption.label->setText(text);
    caption.label->setFont(captionFont);
    SetLabelColor(caption.label, settings_.ButtonFontColor);
    caption.label->adjustSize();
    const QSize textSize = designMetrics.size(0, text);
    caption.label->move(ToQPoint(
        CaptionPosition(ControlBounds(caption.bounds), textSize.width(), textSize.height())));
  }
}

void TMainForm::PlaceProgressArea() {
  const LayoutRect bounds = ControlBounds(settings_.ProgressBounds);
  pgbProcess_->setGeometry(ToQRect(bounds));
  pgbProcess_->SetBackColor(ColorFromSetting(settings_.ProgressBackColor));
  pgbProcess_->SetForeColor(ColorFromSetting(settings_.ProgressForeColor));
  shpProcess_->SetPenColor(ColorFromSetting(settings_.ProgressFrameColor));
  shpProcess_->setGeometry(ToQRect(GaugeFrame(bounds)));
  const int sampleHeight =
      QFontMetrics(font()).size(0, QString::fromLatin1(kStatusSample)).height();
  lblProcess_->move(ToQPoint(StatusLinePosition(bounds, sampleHeight)));
  lblProcess_->setFont(SettingsFont(settings_.ProcessFontName, settings_.ProcessFontSize,
                                    settings_.ProcessFontBold));
  SetLabelColor(lblProcess_, settings_.ProcessFontColor);
  lblProcess_->adjustSize();
}

void TMainForm::ApplyBannerLayout() {
  const BannerLayout layout = LayOutBanner(settings_.BannerKind, panel_->height());
  panel_->move(0, layout.PanelTop);
  resize(width(), layout.ClientHeight);
}

void TMainForm::CutSkin() {
  const auto cut = [this](PictureBox* control, const SettingsRect& skinRect, bool keyed) {
    // The control holds a blank picture of the size it can show; the cut goes over it.
    PixelImage picture = BlankImage(control->Picture().width(), control->Picture().height());
    CopySkinRect(skinBitmap_, skinRect, picture);
    if (keyed) KeyOutMagenta(picture);
    control->SetPicture(ToQImage(picture));
  };
  cut(imgBackground_, settings_.SkinBackgroundRect, false);  // the background stays opaque
  cut(imgStart_, settings_.SkinStartRect, true);
  cut(imgQuit_, settings_.SkinQuitRect, true);
  cut(imgAbout_, settings_.SkinAboutRect, true);
  cut(imgStartB_, settings_.SkinStartHoverRect, true);
  cut(imgQuitB_, settings_.SkinQuitHoverRect, true);
  cut(imgAboutB_, settings_.SkinAboutHoverRect, true);
}

void TMainForm::ApplyVisibilitySwitches() {
  const auto hideAll = [](std::initializer_list<QWidget*> controls) {
    for (QWidget* control : controls) control->hide();
  };
  if (!settings_.ShowStart) hideAll({imgStart_, imgStartB_, lblStart_, lblStartText_});
  if (!settings_.ShowQuit) hideAll({imgQuit_, imgQuitB_, lblQuit_, lblQuitText_});
  if (!settings_.ShowProgress) hideAll({lblProcess_, pgbProcess_, shpProcess_});
  // The news page hides itself in its layout step; the About button is always shown.
}
