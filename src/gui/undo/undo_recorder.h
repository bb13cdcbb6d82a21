#pragma once

#include <QObject>
#include <QPointer>
#include <cstdint>

#include "core/edit/undo_history.h"

class QEvent;
class QKeyEvent;
class QLineEdit;
class QWidget;

namespace zt {
class DocumentStore;
}

namespace zt::gui {

// Keeps the undo history of the open document by looking at it after every
// user action, whichever window the action happened in.
//
// An application-wide event filter notes the end of an action: a key or
// mouse button released, a wheel turned, something dropped, a window closed
// or hidden (a dialog or a list's pop-up). One check of the document is then
// queued for the next turn of the event loop, when every handler of the
// action has run, and a change found there is one undo step. While a modal
// window is up (a question in the middle of an action) the check waits for it
// to close, so the action and its answer stay one step. The document is also
// checked as a key press or a click arrives, before its widget sees it: what
// changed before belongs to the earlier actions.
//
// Keys typed into one text box in a row are one step together. A child window
// that changes a stored value as it opens (a value its list cannot show, from
// a file made elsewhere) makes a step of its own, announced by
// windowChangedDocument, so the user is told and Undo takes it back. When the
// same action closed windows to replace the document under them (an import),
// the change is that action's step.
class UndoRecorder : public QObject {
    Q_OBJECT
  public:
    explicit UndoRecorder(DocumentStore& documents, QObject* parent = nullptr);
    ~UndoRecorder() override;

    // Records the working document now (when no modal window is up). True
    // when that made a new step or changed the last one.
    bool recordNow();
    // Forgets every step; the working document as it stands is the start.
    void forgetSteps();
    // Takes the working document as it stands as the current state, making
    // no step: what windows write as they open is no action of the user's.
    void adoptDocument();

    UndoHistory& history() { return history_; }
    const UndoHistory& history() const { return history_; }

  signals:
    // Something was recorded, undone, redone or forgotten.
    void historyChanged();
    // `window` changed the document as it opened; that change is the latest step.
    void windowChangedDocument(QWidget* window);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // The text box the key was typed into, or null when the key is no typing.
    static QLineEdit* typedInto(QObject* watched, const QKeyEvent& key);
    void noteAction(QLineEdit* typingBox);
    void queueCheck();
    void recordOpeningChange(QWidget& window);

    DocumentStore& documents_;
    UndoHistory history_;
    bool checkQueued_ = false;
    bool actionSinceCheck_ = false;
    bool windowsClosedSinceCheck_ = false;  // child windows closed in the action being checked
    std::uint64_t pendingRun_ = 0;  // typing run of the actions since the last check; 0: mixed
    std::uint64_t runCounter_ = 0;
    QPointer<QLineEdit> typingBox_;  // the box of the running typing run
    std::uint64_t typingRun_ = 0;
    const QEvent* lastKeyEvent_ = nullptr;  // the key release seen last, and where
    QPointer<QWidget> lastKeyTarget_;
};

}  // namespace zt::gui
