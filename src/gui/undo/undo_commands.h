#pragma once

#include <QObject>
#include <functional>

class QAction;
class QEvent;
class QMainWindow;
class QMenu;

namespace zt::gui {

struct AppContext;
class UndoRecorder;

// What the undo commands ask of the main window.
struct UndoHost {
    // Every open window writes the entry it is still editing into the document.
    std::function<void()> commitPendingEdits;
    // Replaces the document shown by every open window: `replace` changes
    // the document while no window holds a stale value of it, and every
    // window shows the new one afterwards.
    std::function<void(const std::function<void()>& replace)> replaceShownDocument;
};

// Edit > Undo (Ctrl+Z) and Edit > Redo (Ctrl+Shift+Z, Ctrl+Y) over the
// document's undo history, enabled as the history allows. A text box with
// typing of its own to undo or redo keeps those keys for itself.
class UndoCommands : public QObject {
    Q_OBJECT
  public:
    UndoCommands(QMainWindow& window, QMenu& editMenu, AppContext& app, UndoHost host);

    // Pending entries are written first (they are the latest step); then the
    // document goes back one step and every window shows it. False when
    // there was nothing to undo.
    bool undo();
    bool redo();
    // The document was replaced (new, opened, read): no step leads back.
    void forgetSteps();

    UndoRecorder& recorder() { return *recorder_; }
    QAction* undoAction() const { return undo_; }
    QAction* redoAction() const { return redo_; }

  signals:
    // Undo or Redo put back stored values an open window cannot show; the
    // window shows its nearest entries until one is chosen.
    void restoredValuesNotShown();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    bool restore(bool back);
    void refreshActions();

    AppContext& app_;
    UndoHost host_;
    UndoRecorder* recorder_ = nullptr;
    QAction* undo_ = nullptr;
    QAction* redo_ = nullptr;
    bool restoring_ = false;
};

// Puts Undo and Redo at the top of the Edit menu of `window`.
UndoCommands& installUndoCommands(QMainWindow& window, QMenu& editMenu, AppContext& app,
                                  UndoHost host);
// The undo commands installed in `window`, or null.
UndoCommands* undoCommandsOf(QObject& window);
// After New, Open or Read replaced the document: forgets its undo steps.
void forgetUndoSteps(QObject& window);

}  // namespace zt::gui
