#pragma once

#include <QLineEdit>
#include <QObject>

class QKeyEvent;
class QValidator;
class QWidget;

namespace zt::gui {

// A one-line text box with the input rules of the programming program's
// editors: Ctrl+X, Ctrl+C and Ctrl+V (and the other clipboard keys) are
// refused, characters above `maxCharCode` are refused (127 for boxes with
// that rule; 255, the most a record byte can hold, otherwise), and Enter
// moves the focus on to the next control instead of triggering anything.
// A box that refuses the clipboard keys also takes no drops and has no
// context menu; a box limited to 127 takes no composed (input-method) text.
// A box that takes the clipboard keeps pasted, dropped and composed text to
// the same characters (1 .. maxCharCode). Text set by the program (a stored
// record text) is shown as it is.
class GuardedLineEdit : public QLineEdit {
    Q_OBJECT
  public:
    explicit GuardedLineEdit(QWidget* parent = nullptr);

    void setMaxCharCode(int code);
    int maxCharCode() const { return maxCharCode_; }
    // Whether the clipboard keys are refused (true by default).
    void setRefuseClipboard(bool refuse);
    // Whether Enter moves on (true by default); otherwise Enter is handled as
    // a plain QLineEdit does (it reaches a dialog's default button).
    void setEnterMovesOn(bool movesOn) { enterMovesOn_ = movesOn; }

    // True when `c` may be typed into the box.
    bool accepts(QChar c) const { return c.unicode() <= maxCharCode_; }

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void updateRangeValidator();

    int maxCharCode_ = 127;
    bool refuseClipboard_ = true;
    bool enterMovesOn_ = true;
    QValidator* rangeValidator_ = nullptr;
};

// A box for a record text of one byte per character: characters 1 .. 255
// typed, pasted or dropped; Enter is left to the window.
GuardedLineEdit* newOneByteTextBox(QWidget* parent);

// True for the clipboard shortcuts a guarded box refuses (cut, copy, paste
// in every key form the platform knows).
bool isClipboardKey(const QKeyEvent& event);

// Makes Enter (and the keypad's Enter) in `widget` move the focus on to the
// next control, as Tab does, and consume the key. Used for drop-down lists.
void enterMovesOn(QWidget* widget);

}  // namespace zt::gui
