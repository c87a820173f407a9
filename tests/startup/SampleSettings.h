// A configuration in which every field holds a value of its own, so that a field read from the
// wrong place or in the wrong order shows.
#pragma once

#include "config/PatcherSettings.h"

inline PatcherSettings SampleSettings() {
  PatcherSettings s;
  s.StartCaption = "Jouer";
  s.QuitCaption = "Quitter";
  s.AboutCaption = "\xC0 propos";
  for (std::size_t i = 0; i < s.Messages.size(); ++i)
    s.Messages[i] = "Message " + std::to_string(i);
  s.Messages[9] =
      "T\xE9l\xE9"
      "chargement : ";
  s.Language = 1;
  s.AboutText = "Serveur de test\r\nLigne 2";
  s.BannerKind = 4;
  s.BannerWidth = 468;
  s.MusicEnabled = true;
  s.MusicFile = "Music\\theme.mp3";
  s.ClickSoundEnabled = false;
  s.LogEnabled = true;
  s.SkinBackgroundRect = {0, 0, 640, 480};
  s.SkinStartRect = {1, 2, 3, 4};
  s.SkinQuitRect = {5, 6, 7, 8};
  s.SkinAboutRect = {9, 10, 11, 12};
  s.SkinStartHoverRect = {13, 14, 15, 16};
  s.SkinQuitHoverRect = {17, 18, 19, 20};
  s.SkinAboutHoverRect = {21, 22, 23, 24};
  s.WindowSize = {640, 392};
  s.StartBounds = {500, 300, 100, 30};
  s.QuitBounds = {500, 340, 100, 30};
  s.AboutBounds = {-5, 340, 100, 30};
  s.ProgressBounds = {20, 350, 400, 12};
  s.NewsBounds = {20, 20, 600, 300};
  s.ShowStart = true;
  s.ShowQuit = true;
  s.ShowProgress = false;
  s.ShowNews = true;
  s.ProgressFrameColor = 0x00102030;
  s.ProgressBackColor = static_cast<std::int32_t>(0x8000000F);
  s.ProgressForeColor = 0x0000FF00;
  s.NewsBorderColor = 0x00FFFFFF;
  s.ButtonFontName = "Tahoma";
  s.ButtonFontSize = 9;
  s.ButtonFontColor = 0x000000FF;
  s.ButtonFontBold = true;
  s.ProcessFontName = "Verdana";
  s.ProcessFontSize = 8;
  s.ProcessFontColor = 0x00EEEEEE;
  s.ProcessFontBold = false;
  s.NewsUrl = "http://127.0.0.1:8080/news.html";
  s.RegisterUrl = "http://127.0.0.1:8080/register";
  s.PatchListUrl = "http://127.0.0.1:8080/patchs.ini";
  s.GameExe = "Game.exe";
  s.GameParameters = "-windowed \"two words\"";
  s.SkinImage = {'B', 'M', 0x3A, 0, 0, 0, 0, 0, 0, 0, 0x36, 0, 0, 0};
  s.BannerData = std::vector<std::uint8_t>{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  return s;
}
