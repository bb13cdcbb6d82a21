#include "gui/widgets/guarded_line_edit.h"

#include <QKeyEvent>
#include <QKeySequence>
#include <QRegularExpression>
#include <QRegularExpressionValidator>
#include <QWidget>

namespace zt::gui {
namespace {

bool isEnter(const QKeyEvent& event)
{
    return event.key() == Qt::Key_Return || event.key() == Qt::Key_Enter;
}

// Moves the focus on from `widget` as Tab would.
void focusNext(QWidget* widget)
{
    if (QWidget* next = widget->nextInFocusChain()) {
        // Skip controls that cannot take the focus (labels, disabled boxes).
        QWidget* w = next;
        while (w != widget && (!(w->focusPolicy() & Qt::TabFocus) || !w->isEnabled() ||
                               !w->isVisibleTo(w->window())))
            w = w->nextInFocusChain();
        w->setFocus(Qt::TabFocusReason);
    }
}

class EnterFilter final : public QObject {
  public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress && isEnter(*static_cast<QKeyEvent*>(event))) {
            if (auto* w = qobject_cast<QWidget*>(watched)) focusNext(w);
            return true;
        }
        return false;
    }
};

}  // namespace

bool isClipboardKey(const QKeyEvent& event)
{
    if (event.matches(QKeySequence::Cut) || event.matches(QKeySequence::Copy) ||
        event.matches(QKeySequence::Paste))
        return true;
    // Ctrl+X/C/V with any further modifier, as the letters alone name them.
    if (event.modifiers() & Qt::ControlModifier) {
        const int k = event.key();
        return k == Qt::Key_X || k == Qt::Key_C || k == Qt::Key_V;
    }
    return false;
}

GuardedLineEdit::GuardedLineEdit(QWidget* parent) : QLineEdit(parent)
{
    setRefuseClipboard(true);
    setMaxCharCode(127);
}

void GuardedLineEdit::setMaxCharCode(int code)
{
    maxCharCode_ = code;
    // Composed input would bypass the key check; plain ASCII boxes take keys only.
    setAttribute(Qt::WA_InputMethodEnabled, code > 127);
    updateRangeValidator();
}

void GuardedLineEdit::setRefuseClipboard(bool refuse)
{
    refuseClipboard_ = refuse;
    // The context menu and dragging would reach the clipboard the keys cannot.
    setContextMenuPolicy(refuse ? Qt::NoContextMenu : Qt::DefaultContextMenu);
    setDragEnabled(!refuse);
    setAcceptDrops(!refuse);
    updateRangeValidator();
}

void GuardedLineEdit::updateRangeValidator()
{
    // Keys are checked one by one; text arriving whole (pasted, dropped, composed) is
    // checked by a validator, needed only where the clipboard is taken.
    if (refuseClipboard_) {
        if (rangeValidator_ && validator() == rangeValidator_) setValidator(nullptr);
        return;
    }
    const QString range =
        QStringLiteral("[\\x{0001}-\\x{%1}]*").arg(maxCharCode_, 4, 16, QLatin1Char('0'));
    setValidator(nullptr);
    delete rangeValidator_;
    rangeValidator_ = new QRegularExpressionValidator(QRegularExpression(range), this);
    setValidator(rangeValidator_);
}

GuardedLineEdit* newOneByteTextBox(QWidget* parent)
{
    auto* box = new GuardedLineEdit(parent);
    box->setEnterMovesOn(false);
    box->setMaxCharCode(255);
    box->setRefuseClipboard(false);
    return box;
}

void GuardedLineEdit::keyPressEvent(QKeyEvent* event)
{
    if (refuseClipboard_ && isClipboardKey(*event)) {
        event->accept();
        return;
    }
    if (enterMovesOn_ && isEnter(*event)) {
        focusNext(this);
        event->accept();
        return;
    }
    const QString text = event->text();
    if (!text.isEmpty() && !(event->modifiers() & Qt::ControlModifier)) {
        for (QChar c : text) {
            if (c.isPrint() && !accepts(c)) {
                event->accept();
                return;
            }
        }
    }
    QLineEdit::keyPressEvent(event);
}

void enterMovesOn(QWidget* widget)
{
    widget->installEventFilter(new EnterFilter(widget));
}

}  // namespace zt::gui
