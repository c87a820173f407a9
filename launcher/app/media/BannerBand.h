// The 88-pixel band above the skinned area: a JPEG or PNG picture carried in the settings.
#pragma once

#include <string>

#include "PanelLayout.h"
#include "config/PatcherSettings.h"
#include "engine/TemporaryNames.h"

class QLabel;
class QWidget;

class BannerBand {
 public:
  // The band's picture Img_Banner is created as a hidden child of window at 0, 0, 545 x 88.
  BannerBand(QWidget* window, morvo::PatcherSettings& settings, const std::string& programDir);

  // Kinds 2 and 3 decode BannerData as JPEG, kind 4 as PNG, shown unscaled from the top-left
  // corner and cut at 545 x 88. Kind 1 writes "MorvoTMPBanner.swf" for the Flash control, which
  // this platform lacks, and deletes it at once: the band stays empty. A picture that cannot be
  // decoded also leaves the band empty. BannerData is released for kinds 1 to 4.
  void SetUp();

  // 88 for kinds 1 to 4 (even when the band stays empty), 0 otherwise.
  int BandHeight() const;

  QLabel* Img_Banner() const { return imgBanner_; }

 private:
  void ShowPicture(bool jpeg);

  morvo::PatcherSettings& settings_;
  std::string programDir_;
  QLabel* imgBanner_;
};
