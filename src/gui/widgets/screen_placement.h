#pragma once

class QWidget;

namespace zt::gui {

// Moves a top-level window so that it lies inside the available area of its screen (the
// desktop without panels and docks), centred where it had no place inside it; a window
// larger than that area is made smaller, as far as its minimum size allows. Window managers
// differ in where they put a new window, and some put a tall one partly off screen.
void placeInsideAvailableScreen(QWidget& window);

}  // namespace zt::gui
