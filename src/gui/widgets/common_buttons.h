#pragma once

#include <initializer_list>

#include "core/files/language.h"

class QDialog;
class QHBoxLayout;
class QPushButton;
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

// The Close button of a child window (`CommandClose`): a click closes the window.
QPushButton* newCloseButton(QWidget& window);

// The OK and Cancel buttons of a dialog (`CommandOK`, `CommandCancel`); Cancel rejects the
// dialog, OK is left to the dialog to connect.
struct OkCancelButtons {
    QPushButton* ok = nullptr;
    QPushButton* cancel = nullptr;
};
OkCancelButtons newOkCancelButtons(QDialog& dialog);

// The row of a window's buttons (Close, or OK and Cancel): right-aligned, in the order given.
QHBoxLayout* buttonRow(std::initializer_list<QPushButton*> buttons);

}  // namespace zt::gui
