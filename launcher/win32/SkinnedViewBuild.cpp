// The view built from the settings, in the order the window's creation lays it out.
#include <algorithm>

#include "BmpDecode.h"
#include "FlashBannerFile.h"
#include "PictureDecode.h"
#include "SettingsColour.h"
#include "SkinnedView.h"
#include "Win32Text.h"
#include "WindowFonts.h"

using namespace morvo;

namespace {

// A 32-bit top-down DIB section holding picture's premultiplied pixels, as AlphaBlend takes them.
UniqueBitmap BitmapOf(const PixelImage& picture) {
  if (picture.Empty()) return {};
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = picture.Width;
  info.bmiHeader.biHeight = -picture.Height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  UniqueBitmap bitmap(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (bitmap && bits != nullptr) {
    std::copy(picture.Pixels.begin(), picture.Pixels.end(), static_cast<std::uint32_t*>(bits));
  }
  return bitmap;
}

// A picture never needs more pixels than the panel can show.
PixelImage BlankPictureFor(int width, int height, const LayoutSize& panel) {
  return BlankImage(std::min(width, panel.Width), std::min(height, panel.Height));
}

// A decoded banner as premultiplied pixels; a picture with alpha shows the window below it.
PixelImage PixelsOf(const DecodedPicture& decoded) {
  PixelImage image = BlankImage(decoded.width, decoded.height);
  for (int y = 0; y < image.Height; ++y) {
    for (int x = 0; x < image.Width; ++x) {
      const std::uint8_t* pixel = decoded.Pixel(x, y);
      const std::uint32_t alpha = decoded.channels == 4 ? pixel[3] : 255;
      const auto scaled = [alpha](std::uint8_t value) { return value * alpha / 255; };
      image.At(x, y) =
          alpha << 24 | scaled(pixel[0]) << 16 | scaled(pixel[1]) << 8 | scaled(pixel[2]);
    }
  }
  return image;
}

}  // namespace

bool SkinnedView::Build(PatcherSettings& settings, const std::string& programDir) {
  std::optional<PixelImage> skin = DecodeBmp(settings.SkinImage);
  std::vector<std::uint8_t>().swap(settings.SkinImage);  // the undecoded bytes are done with
  if (!skin) return false;

  panel_ = SkinnedAreaSize(settings.WindowSize);
  client_.Width = panel_.Width;
  clickAreas_ = {ClickArea{ControlBounds(settings.StartBounds), false},
                 ClickArea{ControlBounds(settings.QuitBounds), true},
                 ClickArea{ControlBounds(settings.AboutBounds), true}};
  CutPictures(settings, *skin);
  PlaceCaptions(settings);
  PlaceProgressArea(settings);
  news_ = ControlBounds(settings.NewsBounds);
  SetUpBanner(settings, programDir);
  const BannerLayout layout = LayOutBanner(settings.BannerKind, panel_.Height);
  panelTop_ = layout.PanelTop;
  client_.Height = layout.ClientHeight;
  ApplyVisibilitySwitches(settings);
  return true;
}

void SkinnedView::CutPictures(const PatcherSettings& settings, const PixelImage& skin) {
  PixelImage background = BlankPictureFor(settings.SkinBackgroundRect.Width,
                                          settings.SkinBackgroundRect.Height, panel_);
  CopySkinRect(skin, settings.SkinBackgroundRect, background);
  pictures_[kBackground] =
      Picture{{0, 0, background.Width, background.Height}, true, false, BitmapOf(background)};

  struct ButtonPicture {
    PictureIndex index;
    const SettingsRect& skinRect;
    const SettingsRect& bounds;
    bool hover;
  };
  const ButtonPicture buttons[] = {
      {kStart, settings.SkinStartRect, settings.StartBounds, false},
      {kQuit, settings.SkinQuitRect, settings.QuitBounds, false},
      {kAbout, settings.SkinAboutRect, settings.AboutBounds, false},
      {kStartB, settings.SkinStartHoverRect, settings.StartBounds, true},
      {kQuitB, settings.SkinQuitHoverRect, settings.QuitBounds, true},
      {kAboutB, settings.SkinAboutHoverRect, settings.AboutBounds, true},
  };
  for (const ButtonPicture& button : buttons) {
    Picture& picture = pictures_[button.index];
    if (IsMissingSkinRect(button.skinRect)) {
      // Out of sight, with no picture of its own: a mouse-over there shows the background.
      picture = Picture{{kOutOfSightLeft, 0, 0, 0}, true, true, {}};
      continue;
    }
    const LayoutRect bounds = ControlBounds(button.bounds);
    PixelImage pixels = BlankPictureFor(bounds.Width, bounds.Height, panel_);
    CopySkinRect(skin, button.skinRect, pixels);
    KeyOutMagenta(pixels);
    picture = Picture{
        {bounds.X, bounds.Y, pixels.Width, pixels.Height}, !button.hover, true, BitmapOf(pixels)};
  }
}

void SkinnedView::PlaceCaptions(const PatcherSettings& settings) {
  const std::string* texts[] = {&settings.StartCaption, &settings.QuitCaption,
                                &settings.AboutCaption};
  captionFont_ =
      SettingsFont(settings.ButtonFontName, settings.ButtonFontSize, settings.ButtonFontBold);
  captionColour_ = ColourOfSetting(settings.ButtonFontColor);
  // Centred by the size of the text in the window's own font, not in the caption font.
  const UniqueFont design = DesignFont();
  for (std::size_t i = 0; i < captions_.size(); ++i) {
    captions_[i].text = WideFrom1252(*texts[i]);
    const SIZE size = MeasureText(design.Get(), captions_[i].text);
    captions_[i].at = CaptionPosition(clickAreas_[i].bounds, size.cx, size.cy);
  }
}

void SkinnedView::PlaceProgressArea(const PatcherSettings& settings) {
  gauge_ = ControlBounds(settings.ProgressBounds);
  gaugeBack_ = ColourOfSetting(settings.ProgressBackColor);
  gaugeFore_ = ColourOfSetting(settings.ProgressForeColor);
  frameColour_ = ColourOfSetting(settings.ProgressFrameColor);
  const SIZE sample = MeasureText(DesignFont().Get(), WideFrom1252(kStatusSample));
  status_.at = StatusLinePosition(gauge_, sample.cy);
  statusFont_ =
      SettingsFont(settings.ProcessFontName, settings.ProcessFontSize, settings.ProcessFontBold);
  statusColour_ = ColourOfSetting(settings.ProcessFontColor);
  statusLineHeight_ = MeasureText(statusFont_.Get(), L"").cy;
}

void SkinnedView::SetUpBanner(PatcherSettings& settings, const std::string& programDir) {
  const int kind = settings.BannerKind;
  if (!HasBannerBand(kind)) return;  // no banner, and BannerData (if any) is left alone
  if (kind == 1) {
    HandOverFlashMovie(settings.BannerData, programDir);
  } else if (settings.BannerData) {
    const std::span<const std::uint8_t> data(*settings.BannerData);
    const auto decoded = kind == 4 ? DecodePngTopLeft(data, kBannerBandWidth, kBannerBandHeight)
                                   : DecodeJpegTopLeft(data, kBannerBandWidth, kBannerBandHeight);
    // A picture that cannot be decoded leaves the band empty.
    if (decoded) {
      const PixelImage pixels = PixelsOf(*decoded);
      banner_ = Picture{
          {0, 0, pixels.Width, pixels.Height}, true, decoded->channels == 4, BitmapOf(pixels)};
    }
  }
  settings.BannerData.reset();
}

void SkinnedView::ApplyVisibilitySwitches(const PatcherSettings& settings) {
  if (!settings.ShowStart) {
    pictures_[kStart].visible = pictures_[kStartB].visible = false;
    captions_[0].visible = false;
  }
  if (!settings.ShowQuit) {
    pictures_[kQuit].visible = pictures_[kQuitB].visible = false;
    captions_[1].visible = clickAreas_[1].visible = false;
  }
  progressVisible_ = settings.ShowProgress;
  status_.visible = settings.ShowProgress;
  // The Start click area stays hidden until the run allows play, and only where Start is shown.
  startAllowed_ = settings.ShowStart;
}
