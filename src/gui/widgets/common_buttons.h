#pragma once

#include "core/files/language.h"

class QWidget;

namespace zt::gui {

// Captions the common buttons (CommandOK, CommandCancel, CommandClose,
// CommandHelp) among the children of `window` with their language texts.
void captionCommonButtons(QWidget& window, const TextLookup& text);

}  // namespace zt::gui

namespace zt::gui {

// Closes a child window: the MDI sub-window holding it when it has one,
// otherwise the widget itself.
void closeChildWindow(QWidget& window);

}  // namespace zt::gui
