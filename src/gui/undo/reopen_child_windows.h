#pragma once

#include <QString>
#include <functional>

class QMdiArea;

namespace zt::gui {

struct AppContext;

// Replaces the document every open child window shows (an undo or redo):
// the windows are closed, so none writes a value of the old document into
// the new one, `replaceDocument` runs, and the windows are opened again by
// name in the order they were opened, each in its place with its size and
// state; the window that was active is active again. The channel grid keeps
// its current cell and the channel editor follows it. `showChildWindow`
// opens a child window by name (the main window's way of opening them).
void reopenChildWindows(QMdiArea& area, AppContext& app,
                        const std::function<void(const QString&)>& showChildWindow,
                        const std::function<void()>& replaceDocument);

}  // namespace zt::gui
