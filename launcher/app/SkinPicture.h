// The window's pictures as Qt shows them. The skin is decoded and cut by the layout code both
// window programs share, so a skin looks the same, pixel for pixel, on Linux and on Windows.
#pragma once

#include <QImage>

#include "SkinPixels.h"

// The pixels as a QImage of their own (null when the image is empty).
QImage ToQImage(const morvo::PixelImage& pixels);
