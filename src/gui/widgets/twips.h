#pragma once

namespace zt::gui {

// Window layouts and stored window positions are measured in twips, 15 to a pixel (96 DPI).
inline constexpr int kTwipsPerPixel = 15;

// Pixels of a size or position in twips, to the nearest pixel (halves away from zero), so that
// a stored position and a layout gap convert alike: 1000 twips is 67 pixels, -1000 is -67.
constexpr int twipsToPixels(int twips)
{
    return twips >= 0 ? (twips + kTwipsPerPixel / 2) / kTwipsPerPixel
                      : -((-twips + kTwipsPerPixel / 2) / kTwipsPerPixel);
}

// Twips of a size or position in whole pixels.
constexpr int pixelsToTwips(int pixels)
{
    return pixels * kTwipsPerPixel;
}

}  // namespace zt::gui
