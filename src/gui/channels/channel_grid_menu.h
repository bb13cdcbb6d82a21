#pragma once

class QMdiArea;
class QMenu;

namespace zt::gui {

// Copy, Cut, Paste (the usual shortcuts) and Delete channels in the Edit menu. They act on
// the channel grid when it is the current child window and do nothing otherwise. Each
// action carries its text id, so the menu's language change renames it.
void addChannelGridEditCommands(QMenu* editMenu, QMdiArea* area);

}  // namespace zt::gui
