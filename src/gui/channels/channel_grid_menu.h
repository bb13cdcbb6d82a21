#pragma once

#include <QObject>
#include <functional>

#include "platform/user_settings_store.h"

class QMdiArea;
class QMenu;

namespace zt::gui {

class ChannelGridWindow;

// Copy, Cut, Paste (the usual shortcuts) and Delete channels in the Edit menu. They act on
// the channel grid when it is the current child window and do nothing otherwise. Each
// action carries its text id, so the menu's language change renames it.
void addChannelGridEditCommands(QMenu* editMenu, QMdiArea* area);

// "Whole channel in view" (checkable) and "Set for the selected channels..." in the View
// menu; the option acts on every channel grid, the command on the current one.
void addChannelGridViewCommands(QMenu* viewMenu, QMdiArea* area);

// The channel grid's context menu: the Edit commands over the grid's cells, then the view
// option and "Set for the selected channels...".
QMenu* newChannelGridContextMenu(ChannelGridWindow& grid);

// The grid's view option, kept for the user in the per-user settings store (section
// "ChannelGrid"): every grid shows what it says and follows its changes.
class ChannelGridViewOption : public QObject {
    Q_OBJECT
  public:
    static ChannelGridViewOption& instance();

    bool wholeChannel();
    // Stores the option and tells every grid.
    void setWholeChannel(bool on);
    // Where the option is kept (the user's store by default; tests give a file of their own).
    void setStore(std::function<zt::UserSettingsStore()> store);

  signals:
    void wholeChannelChanged(bool on);

  private:
    ChannelGridViewOption() = default;
    zt::UserSettingsStore store() const;
    std::function<zt::UserSettingsStore()> store_;
    int cached_ = -1;  // -1: not read yet
};

}  // namespace zt::gui
