#pragma once

#include <functional>

#include "core/history/snapshot_store.h"

class QMenu;
class QWidget;

namespace zt::gui {

struct AppContext;

// What the comparison and backup commands ask of the main window.
struct HistoryHooks {
    // Every open window writes the entry it is still editing into the document.
    std::function<void()> commitPendingEdits;
    // Before the document is replaced: the windows close, as before a read.
    std::function<void()> closeDocumentWindows;
    // After it was replaced: the windows show the document again, as after a read.
    std::function<void()> documentReplaced;
    // Shows channel `chNo` in the channel grid.
    std::function<void(int chNo)> showChannel;
    // Writes a snapshot back to the radio, as every write goes (backup, preview).
    std::function<void(const Snapshot&)> restoreToRadio;
};

// Adds File > Compare with file... and Program > Backups...; the commands live as long as
// the owner. Snapshots are those of the user's data folder ($XDG_DATA_HOME/ztp958fm/radios).
void addHistoryItems(QMenu& fileMenu, QMenu& programMenu, AppContext& app, QWidget* owner,
                     HistoryHooks hooks);

}  // namespace zt::gui
