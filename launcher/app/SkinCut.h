// Cutting the skin picture into the window's pictures, pixel for pixel, never scaled.
#pragma once

#include <QImage>
#include <cstdint>
#include <optional>
#include <span>

#include "config/PatcherSettings.h"

// The skin BMP decoded; nullopt when the bytes are no picture this platform can read.
std::optional<QImage> DecodeSkin(std::span<const std::uint8_t> bmp);

// A white picture of width x height (empty when either is below 1).
QImage BlankPicture(int width, int height);

// Copies the skin rectangle source (X, Y, W, H) to (0, 0, W, H) of picture; what lies outside
// the skin or the picture is left as it is.
void CopySkinRect(const QImage& skin, const morvo::SettingsRect& source, QImage& picture);

// The picture with every 0xFF00FF pixel made fully transparent.
QImage KeyOutMagenta(const QImage& picture);
