// The fields of "Config.mpc" after its magic, in file order, with their names and encodings.
// Reader, writer and the description tool all walk this one list.
#pragma once

#include <string>
#include <type_traits>

#include "config/PatcherSettings.h"

namespace morvo {

// Visitor gets, for each field in order: Text, Int32, Flag, Colour, Rect, Size, Blob
// (name, field&), then Banner(name, BannerData&, present) where present is BannerKind > 0
// as it stands when the banner is reached, then SigningKey(name, SigningKey&) for the optional
// trailer.
template <class Settings, class Visitor>
requires std::is_same_v<std::remove_const_t<Settings>, PatcherSettings>
void VisitConfigFields(Settings& s, Visitor&& v) {
  v.Text("StartCaption", s.StartCaption);
  v.Text("QuitCaption", s.QuitCaption);
  v.Text("AboutCaption", s.AboutCaption);
  for (std::size_t i = 0; i < s.Messages.size(); ++i) {
    v.Text("Messages[" + std::to_string(i) + "]", s.Messages[i]);
  }
  v.Int32("Language", s.Language);
  v.Text("AboutText", s.AboutText);
  v.Int32("BannerKind", s.BannerKind);
  v.Int32("BannerWidth", s.BannerWidth);
  v.Flag("MusicEnabled", s.MusicEnabled);
  v.Text("MusicFile", s.MusicFile);
  v.Flag("ClickSoundEnabled", s.ClickSoundEnabled);
  v.Flag("LogEnabled", s.LogEnabled);
  v.Rect("SkinBackgroundRect", s.SkinBackgroundRect);
  v.Rect("SkinStartRect", s.SkinStartRect);
  v.Rect("SkinQuitRect", s.SkinQuitRect);
  v.Rect("SkinAboutRect", s.SkinAboutRect);
  v.Rect("SkinStartHoverRect", s.SkinStartHoverRect);
  v.Rect("SkinQuitHoverRect", s.SkinQuitHoverRect);
  v.Rect("SkinAboutHoverRect", s.SkinAboutHoverRect);
  v.Size("WindowSize", s.WindowSize);
  v.Rect("StartBounds", s.StartBounds);
  v.Rect("QuitBounds", s.QuitBounds);
  v.Rect("AboutBounds", s.AboutBounds);
  v.Rect("ProgressBounds", s.ProgressBounds);
  v.Rect("NewsBounds", s.NewsBounds);
  v.Flag("ShowStart", s.ShowStart);
  v.Flag("ShowQuit", s.ShowQuit);
  v.Flag("ShowProgress", s.ShowProgress);
  v.Flag("ShowNews", s.ShowNews);
  v.Colour("ProgressFrameColor", s.ProgressFrameColor);
  v.Colour("ProgressBackColor", s.ProgressBackColor);
  v.Colour("ProgressForeColor", s.ProgressForeColor);
  v.Colour("NewsBorderColor", s.NewsBorderColor);
  v.Text("ButtonFontName", s.ButtonFontName);
  v.Int32("ButtonFontSize", s.ButtonFontSize);
  v.Colour("ButtonFontColor", s.ButtonFontColor);
  v.Flag("ButtonFontBold", s.ButtonFontBold);
  v.Text("ProcessFontName", s.ProcessFontName);
  v.Int32("ProcessFontSize", s.ProcessFontSize);
  v.Colour("ProcessFontColor", s.ProcessFontColor);
  v.Flag("ProcessFontBold", s.ProcessFontBold);
  v.Text("NewsUrl", s.NewsUrl);
  v.Text("RegisterUrl", s.RegisterUrl);
  v.Text("PatchListUrl", s.PatchListUrl);
  v.Text("GameExe", s.GameExe);
  v.Text("GameParameters", s.GameParameters);
  v.Blob("SkinImage", s.SkinImage);
  v.Banner("BannerData", s.BannerData, s.BannerKind > 0);
  v.SigningKey("SigningKey", s.SigningKey);
}

// The largest text the format holds.
inline constexpr std::size_t kConfigTextLimit = 255;

}  // namespace morvo
