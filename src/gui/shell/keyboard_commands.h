#pragma once

// Keyboard conventions of the main window beyond its menus' own keys: Ctrl+S
// saves, and Window > Close window (Ctrl+F4) closes the active child window.

class QMainWindow;
class QMdiArea;
class QMenu;

namespace zt::gui {

// Gives File > Save its Ctrl+S and adds Close window to `windowMenu`; the new
// action carries its text id in the property "textId".
void addKeyboardCommands(QMainWindow& main, QMenu& windowMenu, QMdiArea& area);

}  // namespace zt::gui
