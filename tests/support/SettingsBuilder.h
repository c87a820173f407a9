// The settings of a test installation, built in named steps from an empty record, so that each
// test says only what its installation needs and the steps shared by the areas' fixtures are
// written once.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "config/PatcherSettings.h"

namespace morvo {

class SettingsBuilder {
 public:
  // Where each picture of the skin is cut from.
  struct SkinCuts {
    SettingsRect background, start, startHover, quit, quitHover, about, aboutHover;
  };
  // The skinned area and where each control lies on it.
  struct Places {
    SettingsSize window;
    SettingsRect start, quit, about, progress, news;
  };
  struct Font {
    std::string name;
    std::int32_t size = 0;
    std::int32_t colour = 0;
    bool bold = false;
  };
  struct Shown {
    bool start = false, quit = false, progress = false, news = false;
  };
  struct Colours {
    std::int32_t progressFrame = 0, progressBack = 0, progressFore = 0, newsBorder = 0;
  };

  // Status texts prefix + index: "M0" .. "M11" for "M".
  SettingsBuilder& NumberedMessages(const std::string& prefix) {
    for (std::size_t i = 0; i < settings_.Messages.size(); ++i) {
      settings_.Messages[i] = prefix + std::to_string(i);
    }
    return *this;
  }
  SettingsBuilder& Message(std::size_t index, std::string text) {
    settings_.Messages.at(index) = std::move(text);
    return *this;
  }
  // The button captions of a French installation (Windows-1252).
  SettingsBuilder& FrenchCaptions() {
    settings_.StartCaption = "Jouer";
    settings_.QuitCaption = "Quitter";
    settings_.AboutCaption = "\xC0 propos";
    return *this;
  }
  SettingsBuilder& Skin(std::vector<std::uint8_t> image, const SkinCuts& cuts) {
    settings_.SkinImage = std::move(image);
    settings_.SkinBackgroundRect = cuts.background;
    settings_.SkinStartRect = cuts.start;
    settings_.SkinStartHoverRect = cuts.startHover;
    settings_.SkinQuitRect = cuts.quit;
    settings_.SkinQuitHoverRect = cuts.quitHover;
    settings_.SkinAboutRect = cuts.about;
    settings_.SkinAboutHoverRect = cuts.aboutHover;
    return *this;
  }
  SettingsBuilder& Layout(const Places& places) {
    settings_.WindowSize = places.window;
    settings_.StartBounds = places.start;
    settings_.QuitBounds = places.quit;
    settings_.AboutBounds = places.about;
    settings_.ProgressBounds = places.progress;
    settings_.NewsBounds = places.news;
    return *this;
  }
  SettingsBuilder& Show(const Shown& shown) {
    settings_.ShowStart = shown.start;
    settings_.ShowQuit = shown.quit;
    settings_.ShowProgress = shown.progress;
    settings_.ShowNews = shown.news;
    return *this;
  }
  SettingsBuilder& Paint(const Colours& colours) {
    settings_.ProgressFrameColor = colours.progressFrame;
    settings_.ProgressBackColor = colours.progressBack;
    settings_.ProgressForeColor = colours.progressFore;
    settings_.NewsBorderColor = colours.newsBorder;
    return *this;
  }
  SettingsBuilder& Fonts(const Font& buttons, const Font& process) {
    settings_.ButtonFontName = buttons.name;
    settings_.ButtonFontSize = buttons.size;
    settings_.ButtonFontColor = buttons.colour;
    settings_.ButtonFontBold = buttons.bold;
    settings_.ProcessFontName = process.name;
    settings_.ProcessFontSize = process.size;
    settings_.ProcessFontColor = process.colour;
    settings_.ProcessFontBold = process.bold;
    return *this;
  }
  SettingsBuilder& Addresses(std::string news, std::string patchList, std::string signUp = {}) {
    settings_.NewsUrl = std::move(news);
    settings_.PatchListUrl = std::move(patchList);
    settings_.RegisterUrl = std::move(signUp);
    return *this;
  }
  SettingsBuilder& Game(std::string program, std::string parameters = {}) {
    settings_.GameExe = std::move(program);
    settings_.GameParameters = std::move(parameters);
    return *this;
  }
  SettingsBuilder& Logging(bool enabled = true) {
    settings_.LogEnabled = enabled;
    return *this;
  }
  // Any field that no step above names.
  SettingsBuilder& With(const std::function<void(PatcherSettings&)>& change) {
    change(settings_);
    return *this;
  }

  PatcherSettings Build() const { return settings_; }

 private:
  PatcherSettings settings_;
};

}  // namespace morvo
