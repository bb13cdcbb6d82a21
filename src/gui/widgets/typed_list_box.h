#pragma once

#include <QComboBox>
#include <QString>

class QFocusEvent;
class QKeyEvent;
class QWheelEvent;

namespace zt::gui {

// A drop-down list whose entry is chosen once, when the user is done with it. Keys typed
// into the closed list are gathered and matched as a whole text (the first entry that equals
// it, else the first that begins with it); they and the arrow keys and the wheel only move
// the shown entry. The choice is reported by `chosen` when the entry ends: commit() (Enter,
// Tab, the end of a cell edit), the loss of the focus, or a pick from the open list, which
// ends the entry at once. A closed QComboBox reports every key as a choice, so a rule that
// acts on a choice would act on each half-typed entry ("8" on the way to "88.5").
class TypedListBox : public QComboBox {
    Q_OBJECT
  public:
    explicit TypedListBox(QWidget* parent = nullptr);

    // Ends the entry: reports a shown entry not yet reported. Does nothing without one.
    void commit();
    // Whether an entry was moved to by keys or wheel and not yet reported.
    bool entryPending() const { return pending_; }
    // Forgets a pending entry (the box is being filled from the document again).
    void dropPendingEntry();

  signals:
    void chosen(int index);

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void showPopup() override;

  private:
    void onActivated(int index);
    int matchTyped() const;

    QString typed_;
    bool pending_ = false;
    bool moving_ = false;  // a key or wheel turn is moving the shown entry
};

}  // namespace zt::gui
