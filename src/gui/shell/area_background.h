#pragma once

class QMdiArea;
class QSize;

namespace zt::gui {

struct AppContext;

// The picture behind the child windows: "PIC/BK_<language>.jpg" in the program folder, its
// border left out and tiled over `size` (the main window's size). A missing or unreadable
// picture leaves a plain dark background.
void paintAreaBackground(QMdiArea& area, const AppContext& app, const QSize& size);

}  // namespace zt::gui
