// A configuration in which every field holds a value of its own, so that a field read from the
// wrong place or in the wrong order shows.
#pragma once

#include "SettingsBuilder.h"

namespace morvo {

inline PatcherSettings SampleSettings() {
  return SettingsBuilder()
      .FrenchCaptions()
      .NumberedMessages("Message ")
      .Message(9,
               "T\xE9l\xE9"
               "chargement : ")
      .With([](PatcherSettings& s) {
        s.Language = 1;
        s.AboutText = "Serveur de test\r\nLigne 2";
        s.BannerKind = 4;
        s.BannerWidth = 468;
        s.MusicEnabled = true;
        s.MusicFile = "Music\\theme.mp3";
        s.ClickSoundEnabled = false;
        s.BannerData = std::vector<std::uint8_t>{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
      })
      .Logging()
      .Skin({'B', 'M', 0x3A, 0, 0, 0, 0, 0, 0, 0, 0x36, 0, 0, 0}, {.background = {0, 0, 640, 480},
                                                                   .start = {1, 2, 3, 4},
                                                                   .startHover = {13, 14, 15, 16},
                                                                   .quit = {5, 6, 7, 8},
                                                                   .quitHover = {17, 18, 19, 20},
                                                                   .about = {9, 10, 11, 12},
                                                                   .aboutHover = {21, 22, 23, 24}})
      .Layout({.window = {640, 392},
               .start = {500, 300, 100, 30},
               .quit = {500, 340, 100, 30},
               .about = {-5, 340, 100, 30},
               .progress = {20, 350, 400, 12},
               .news = {20, 20, 600, 300}})
      .Show({.start = true, .quit = true, .progress = false, .news = true})
      .Paint({.progressFrame = 0x00102030,
              .progressBack = static_cast<std::int32_t>(0x8000000F),
              .progressFore = 0x0000FF00,
              .newsBorder = 0x00FFFFFF})
      .Fonts({"Tahoma", 9, 0x000000FF, true}, {"Verdana", 8, 0x00EEEEEE, false})
      .Addresses("http://127.0.0.1:8080/news.html", "http://127.0.0.1:8080/patchs.ini",
                 "http://127.0.0.1:8080/register")
      .Game("Game.exe", "-windowed \"two words\"")
      .Build();
}

}  // namespace morvo
