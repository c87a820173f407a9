// The program-wide settings, read once from "Config.mpc" and only read afterwards.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/EcdsaP256.h"

namespace morvo {

inline constexpr char kConfigFileName[] = "Config.mpc";
inline constexpr char kConfigMagic[] = "MORVOPATCHERCONFBINv1.3";  // 23 bytes in the file
inline constexpr std::size_t kConfigMagicSize = 23;

// The optional trailer after the last field that carries the signing key: these 16 bytes, then
// the 64 bytes of the public key (X then Y). Readers that do not know it never read past the
// last field. Bytes there that do not begin with the tag are not read, as before.
inline constexpr char kSigningKeyTag[] = "MORVOSIGNKEYP256";  // 16 bytes in the file
inline constexpr std::size_t kSigningKeyTagSize = 16;

struct SettingsRect {
  std::int32_t X = 0, Y = 0, Width = 0, Height = 0;
  bool operator==(const SettingsRect&) const = default;
};

struct SettingsSize {
  std::int32_t Width = 0, Height = 0;
  bool operator==(const SettingsSize&) const = default;
};

// Fields in file order. Texts are Windows-1252 bytes; colours are 0x00BBGGRR, or
// 0x80000000 + n for system colour n.
struct PatcherSettings {
  std::string StartCaption;
  std::string QuitCaption;
  std::string AboutCaption;
  std::array<std::string, 12> Messages;
  std::int32_t Language = 0;  // About window: 0 French, 1 English
  std::string AboutText;
  std::int32_t BannerKind = 0;
  std::int32_t BannerWidth = 0;
  bool MusicEnabled = false;
  std::string MusicFile;
  bool ClickSoundEnabled = false;
  bool LogEnabled = false;
  SettingsRect SkinBackgroundRect;
  SettingsRect SkinStartRect;
  SettingsRect SkinQuitRect;
  SettingsRect SkinAboutRect;
  SettingsRect SkinStartHoverRect;
  SettingsRect SkinQuitHoverRect;
  SettingsRect SkinAboutHoverRect;
  SettingsSize WindowSize;
  SettingsRect StartBounds;
  SettingsRect QuitBounds;
  SettingsRect AboutBounds;
  SettingsRect ProgressBounds;
  SettingsRect NewsBounds;
  bool ShowStart = false;
  bool ShowQuit = false;
  bool ShowProgress = false;
  bool ShowNews = false;
  std::int32_t ProgressFrameColor = 0;
  std::int32_t ProgressBackColor = 0;
  std::int32_t ProgressForeColor = 0;
  std::int32_t NewsBorderColor = 0;
  std::string ButtonFontName;
  std::int32_t ButtonFontSize = 0;
  std::int32_t ButtonFontColor = 0;
  bool ButtonFontBold = false;
  std::string ProcessFontName;
  std::int32_t ProcessFontSize = 0;
  std::int32_t ProcessFontColor = 0;
  bool ProcessFontBold = false;
  std::string NewsUrl;
  std::string RegisterUrl;
  std::string PatchListUrl;
  std::string GameExe;
  std::string GameParameters;
  std::vector<std::uint8_t> SkinImage;                  // a BMP file
  std::optional<std::vector<std::uint8_t>> BannerData;  // present only when BannerKind > 0
  // The key patch lists must be signed with; none: lists are used unsigned, as always.
  std::optional<P256PublicKey> SigningKey;

  bool operator==(const PatcherSettings&) const = default;
};

// Reads directory + "Config.mpc" into settings. False when the file is missing, cannot be
// opened, does not begin with the magic, ends before its last field, holds a count that the
// format cannot have, or has a signing-key trailer that is cut short or whose key is no point
// of the curve (a configuration that names a key never runs without it); settings are then
// left exactly as they were.
bool LoadConfig(const std::string& directory, PatcherSettings& settings);

}  // namespace morvo
