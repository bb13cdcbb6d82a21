#include "gui/widgets/typed_list_box.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QWheelEvent>

namespace zt::gui {

TypedListBox::TypedListBox(QWidget* parent) : QComboBox(parent)
{
    connect(this, &QComboBox::activated, this, &TypedListBox::onActivated);
}

void TypedListBox::commit()
{
    typed_.clear();
    if (!pending_) return;
    pending_ = false;
    emit chosen(currentIndex());
}

void TypedListBox::dropPendingEntry()
{
    typed_.clear();
    pending_ = false;
}

void TypedListBox::onActivated(int index)
{
    if (moving_) {
        pending_ = true;
        return;
    }
    // A pick from the open list ends the entry.
    typed_.clear();
    pending_ = false;
    emit chosen(index);
}

int TypedListBox::matchTyped() const
{
    const int exact = findText(typed_, Qt::MatchFixedString);
    return exact >= 0 ? exact : findText(typed_, Qt::MatchStartsWith);
}

void TypedListBox::keyPressEvent(QKeyEvent* event)
{
    const QString text = event->text();
    const bool typesChar = text.size() == 1 && text.at(0).unicode() > 32 &&  // Space opens the list

                           !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
    if (typesChar || (event->key() == Qt::Key_Backspace && !typed_.isEmpty())) {
        if (typesChar)
            typed_ += text;
        else
            typed_.chop(1);
        const int found = typed_.isEmpty() ? -1 : matchTyped();
        if (found >= 0 && found != currentIndex()) {
            setCurrentIndex(found);
            pending_ = true;
        }
        event->accept();
        return;
    }
    typed_.clear();
    moving_ = true;
    QComboBox::keyPressEvent(event);
    moving_ = false;
}

void TypedListBox::wheelEvent(QWheelEvent* event)
{
    typed_.clear();
    moving_ = true;
    QComboBox::wheelEvent(event);
    moving_ = false;
}

void TypedListBox::focusOutEvent(QFocusEvent* event)
{
    // The open list takes the focus while the entry goes on.
    if (event->reason() != Qt::PopupFocusReason) commit();
    QComboBox::focusOutEvent(event);
}

void TypedListBox::showPopup()
{
    typed_.clear();
    QComboBox::showPopup();
}

}  // namespace zt::gui
