#pragma once

#include <QDialog>
#include <QTimer>
#include <functional>
#include <vector>

#include "core/history/snapshot_store.h"

class QLabel;
class QListWidget;
class QPushButton;
class QTableWidget;

namespace zt::gui {

struct AppContext;

// Program > Backups...: the radios seen, and for the chosen one its snapshots, newest first,
// with their time, kind and how much they differ from the open document. The differences are
// worked out a few rows at a time on the event loop, so the window opens at once and stays
// responsive with a thousand snapshots.
class BackupsDialog : public QDialog {
    Q_OBJECT
  public:
    BackupsDialog(AppContext& app, SnapshotStore& store, QWidget* parent = nullptr);

    // What the buttons do with the chosen snapshot (set by the menu command).
    std::function<void(const std::filesystem::path&)> compare;
    std::function<void(const std::filesystem::path&)> openAsDocument;
    // Restore to radio: the window closes and the snapshot's image is written.
    std::function<void(const std::filesystem::path&)> restoreToRadio;

    QListWidget* radioList() const { return radios_; }
    QTableWidget* snapshotTable() const { return table_; }
    // Rows whose difference column is still to be worked out.
    int pendingDifferences() const { return static_cast<int>(pending_.size()) - nextPending_; }
    // Works out the difference column of `rows` more rows (the timer does this on its own).
    void fillDifferences(int rows);

  private:
    void showRadio(int index);
    void updateButtons();
    std::filesystem::path chosenFile() const;

    AppContext& app_;
    SnapshotStore& store_;
    QListWidget* radios_ = nullptr;
    QTableWidget* table_ = nullptr;
    QPushButton* compare_ = nullptr;
    QPushButton* open_ = nullptr;
    QPushButton* restore_ = nullptr;
    std::vector<SnapshotInfo> shown_;
    std::vector<int> pending_;
    int nextPending_ = 0;
    QTimer differenceTimer_;
};

}  // namespace zt::gui
