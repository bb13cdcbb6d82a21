#pragma once

namespace zt::gui {

// Window layouts and stored window positions are measured in twips, 15 to a pixel (96 DPI).
inline constexpr int kTwipsPerPixel = 15;

// Whole pixels of a layout size in twips (the remainder dropped).
constexpr int twipsToPixels(int twips)
{
    return twips / kTwipsPerPixel;
}

}  // namespace zt::gui
