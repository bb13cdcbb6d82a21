#pragma once

#include <functional>

// Keyboard conventions of the main window beyond its menus' own keys: Ctrl+S
// saves, Ctrl+Shift+P prints (Ctrl+P is the program password), Edit > Channel
// editor (Ctrl+Shift+E) opens the channel editor, and the Window menu closes the
// active child window (Ctrl+F4) and moves to the next (Ctrl+Tab) or previous
// (Ctrl+Shift+Tab) one.

class QMainWindow;
class QMdiArea;
class QMenu;

namespace zt::gui {

// Gives File > Save and File > Print their keys, adds Channel editor after
// Edit > Channel information (`openChannelEditor` opens it) and adds the
// window commands to `windowMenu`. Every new action carries its text id in the
// property "textId".
void addKeyboardCommands(QMainWindow& main, QMenu& windowMenu, QMdiArea& area,
                         const std::function<void()>& openChannelEditor);

}  // namespace zt::gui
