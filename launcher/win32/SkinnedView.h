// Everything the main window draws, built once from the settings: the banner band, the panel's
// background and button pictures (magenta keyed out at creation), captions, status line, gauge
// and its frame. It paints into any device context, so the window paints through a back buffer
// and tests paint into memory. It also knows where the click areas lie and which picture a
// mouse-over shows.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "ControlBounds.h"
#include "GdiOwners.h"
#include "PanelLayout.h"
#include "SkinPixels.h"
#include "config/PatcherSettings.h"

enum class SkinButton { Start, Quit, About };

class SkinnedView {
 public:
  // Decodes the skin (the undecoded bytes are released) and lays everything out. False when the
  // skin is no picture this program can read: the window has nothing to show.
  bool Build(morvo::PatcherSettings& settings, const std::string& programDir);

  morvo::LayoutSize ClientSize() const { return client_; }
  int PanelTop() const { return panelTop_; }
  // The news page on the window's client area.
  RECT NewsBounds() const;

  // Draws the part of the client area inside dirty.
  void Paint(HDC dc, const RECT& dirty) const;

  // The click area under a client point, if one is shown there.
  std::optional<SkinButton> ClickAreaAt(POINT client) const;
  // True over the background picture, where a mouse button drags the window: on the panel, off
  // the click areas and the gauge.
  bool IsBackgroundAt(POINT client) const;
  // The mouse entered (a button) or left (nullopt) a click area: the pictures swap. The client
  // rectangle to repaint, empty when nothing changed.
  RECT SetHover(std::optional<SkinButton> button);
  std::optional<SkinButton> Hover() const { return hover_; }

  // The Start click area becomes active, unless Start is switched off in the settings.
  void ShowStart();

  // Each returns the client rectangle to repaint (empty when nothing visible changed).
  RECT SetStatusText(const std::wstring& text);
  RECT SetGaugeMaxValue(std::int64_t maximum);
  RECT SetGaugeProgress(std::int64_t position);
  std::int64_t GaugeMaxValue() const { return gaugeMax_; }
  int GaugePercent() const { return percent_; }

 private:
  struct Picture {
    morvo::LayoutRect bounds;  // on the panel
    bool visible = true;
    bool keyed = false;  // drawn with its transparent pixels showing what lies below
    UniqueBitmap bitmap;
  };
  struct Caption {
    std::wstring text;
    morvo::LayoutPoint at;  // on the panel
    bool visible = true;
  };
  struct ClickArea {
    morvo::LayoutRect bounds;  // on the panel
    bool visible = true;
  };
  // Indexes into pictures_, in drawing order (bottom first).
  enum PictureIndex { kBackground, kStart, kStartB, kQuitB, kQuit, kAbout, kAboutB, kPictureCount };

  void CutPictures(const morvo::PatcherSettings& settings, const morvo::PixelImage& skin);
  void PlaceCaptions(const morvo::PatcherSettings& settings);
  void PlaceProgressArea(const morvo::PatcherSettings& settings);
  void SetUpBanner(morvo::PatcherSettings& settings, const std::string& programDir);
  void ApplyVisibilitySwitches(const morvo::PatcherSettings& settings);
  void DrawPicture(HDC dc, const Picture& picture, int top) const;
  void DrawText(HDC dc, HFONT font, COLORREF colour, const std::wstring& text,
                morvo::LayoutPoint at) const;
  RECT OnClient(const morvo::LayoutRect& onPanel) const;
  RECT StatusArea() const;
  RECT GaugeArea() const;

  morvo::LayoutSize client_{morvo::kDesignClientWidth, morvo::kDesignClientHeight};
  morvo::LayoutSize panel_;
  int panelTop_ = morvo::kBannerBandHeight;
  bool startAllowed_ = false;
  morvo::LayoutRect news_;

  std::array<Picture, kPictureCount> pictures_;
  std::optional<Picture> banner_;
  std::array<ClickArea, 3> clickAreas_;  // Start, Quit, About
  std::optional<SkinButton> hover_;

  std::array<Caption, 3> captions_;  // Start, Quit, About
  UniqueFont captionFont_;
  COLORREF captionColour_ = 0;

  Caption status_;
  UniqueFont statusFont_;
  COLORREF statusColour_ = 0;
  int statusLineHeight_ = 0;

  bool progressVisible_ = true;
  morvo::LayoutRect gauge_;
  COLORREF gaugeBack_ = RGB(255, 255, 255);
  COLORREF gaugeFore_ = RGB(0, 0, 255);
  COLORREF frameColour_ = 0;
  std::int64_t gaugeMax_ = 100;
  std::int64_t gaugePosition_ = 0;
  int percent_ = 0;
};
