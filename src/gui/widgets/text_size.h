#pragma once

// The program's text size (View > Larger text, Smaller text, Normal size): the
// application font is the system's font times a percentage, and layout sizes
// given in twips grow with it. The size is kept in the per-user settings store.

#include <functional>

#include "platform/user_settings_store.h"

class QMenu;

namespace zt::gui {

inline constexpr int kNormalTextPercent = 100;
inline constexpr int kSmallestTextPercent = 75;
inline constexpr int kLargestTextPercent = 200;
inline constexpr int kTextPercentStep = 25;

// The text size in percent of the system's font.
int textPercent();
// Sets the text size (kept within the smallest and largest size) and the
// application font to match.
void setTextPercent(int percent);
// Pixels of a layout size in twips at the current text size.
int scaledTwipsToPixels(int twips);
// Pixels of a size in pixels at normal text size, at the current text size.
int scaledPixels(int pixels);

// The text size kept in `store`, applied; normal when none is kept.
void applyStoredTextSize(const UserSettingsStore& store);

struct TextSizeHost {
    std::function<UserSettingsStore()> store;  // where the size is kept
    std::function<void()> relayout;            // lays the open windows out again
};

// Adds Larger text (Ctrl++), Smaller text (Ctrl+-) and Normal size (Ctrl+0) to
// `view`. Each action carries its text id in the property "textId".
void addTextSizeCommands(QMenu& view, TextSizeHost host);

}  // namespace zt::gui
