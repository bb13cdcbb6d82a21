#include "gui/channels/channel_delegates.h"

#include <QKeyEvent>

#include "core/edit/channel_cell_rules.h"
#include "core/radio/fixed_text.h"
#include "core/values/number_text.h"
#include "gui/channels/channel_table_model.h"
#include "gui/channels/channel_windows.h"
#include "gui/text_codec.h"
#include "gui/widgets/guarded_line_edit.h"
#include "gui/widgets/typed_list_box.h"

namespace zt::gui {
namespace {

bool isEnter(const QKeyEvent& key)
{
    return key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter;
}

// The character a key types, or 0 for keys that type none (Backspace, arrows ...).
char32_t typedChar(const QKeyEvent& key)
{
    const QString t = key.text();
    if (t.size() != 1) return 0;
    const char32_t c = t.at(0).unicode();
    return c >= 32 ? c : 0;
}

GuardedLineEdit* textEditor(QWidget* parent, const char* name, int maxLength)
{
    auto* edit = new GuardedLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setMaxLength(maxLength);
    edit->setAlignment(Qt::AlignCenter);
    edit->setEnterMovesOn(false);
    edit->setFrame(false);
    return edit;
}

void writeToModel(const QModelIndex& index, const QVariant& value)
{
    if (auto* model = const_cast<QAbstractItemModel*>(index.model()))
        model->setData(index, value, Qt::EditRole);
}

}  // namespace

// ---- Common -------------------------------------------------------------------------------

void ChannelCellDelegate::updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                                               const QModelIndex&) const
{
    editor->setGeometry(option.rect);
}

void ChannelCellDelegate::destroyEditor(QWidget* editor, const QModelIndex& index) const
{
    // A closed editor lingers until the event loop deletes it; it gives up its name at once
    // so the cell's next editor is the one found by it.
    editor->setObjectName(QString());
    if (editing_ == index) editing_ = QPersistentModelIndex();
    QStyledItemDelegate::destroyEditor(editor, index);
}

bool ChannelCellDelegate::eventFilter(QObject* watched, QEvent* event)
{
    auto* editor = qobject_cast<QWidget*>(watched);
    if (!editor) return QStyledItemDelegate::eventFilter(watched, event);
    if (event->type() == QEvent::ShortcutOverride) {
        // Cut, copy and paste belong to the grid (its cells), not to the editor's text.
        if (isClipboardKey(*static_cast<QKeyEvent*>(event))) {
            event->ignore();
            return true;
        }
    } else if (event->type() == QEvent::KeyPress) {
        const auto& key = *static_cast<QKeyEvent*>(event);
        if (isEnter(key) && editing_.isValid()) {
            const QModelIndex index = editing_;
            const bool empty = editorEmpty(editor);
            concludeOnEnter(editor, index);
            emit enterPressed(index, empty);
            return true;
        }
        if (isClipboardKey(key)) return true;
        if (refuseKey(editor, key)) return true;
        // Tab and Escape keep their item-view meaning (next cell, drop the entry).
    }
    return QStyledItemDelegate::eventFilter(watched, event);
}

bool ChannelCellDelegate::refuseKey(QWidget*, const QKeyEvent&) const
{
    return false;
}

void ChannelCellDelegate::concludeOnEnter(QWidget*, const QModelIndex&) const {}

bool ChannelCellDelegate::editorEmpty(QWidget*) const
{
    return false;
}

// ---- Frequencies ----------------------------------------------------------------------------

QWidget* FrequencyDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&,
                                         const QModelIndex& index) const
{
    editing_ = index;
    return textEditor(parent, "Text1", 9);
}

void FrequencyDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const
{
    auto* edit = static_cast<QLineEdit*>(editor);
    edit->setText(index.data(Qt::EditRole).toString());  // also clears isModified()
    if (!edit->text().isEmpty()) edit->selectAll();
}

void FrequencyDelegate::setModelData(QWidget* editor, QAbstractItemModel* model,
                                     const QModelIndex& index) const
{
    // Leaving the box writes a changed entry as it stands, once.
    auto* edit = static_cast<QLineEdit*>(editor);
    if (!edit->isModified()) return;
    edit->setModified(false);
    model->setData(index, edit->text(), Qt::EditRole);
    setEditorData(editor, index);  // written, changed by the rules or refused
}

bool FrequencyDelegate::refuseKey(QWidget*, const QKeyEvent& key) const
{
    const char32_t c = typedChar(key);
    if (c == 0) return false;  // Backspace, arrows and other keys that type nothing
    return c > 127 || !frequencyCharAccepted(c, signedOffset_);
}

void FrequencyDelegate::concludeOnEnter(QWidget* editor, const QModelIndex& index) const
{
    auto* edit = static_cast<QLineEdit*>(editor);
    edit->setModified(false);
    // A receive frequency is written in its shown form; an offset as typed (its sign kept).
    const QString value = signedOffset_ ? edit->text() : formatFrequencyText(edit->text());
    writeToModel(index, value);
    if (editing_ == index) setEditorData(editor, index);
}

bool FrequencyDelegate::editorEmpty(QWidget* editor) const
{
    return static_cast<QLineEdit*>(editor)->text().isEmpty();
}

// ---- Channel code ---------------------------------------------------------------------------

QWidget* ChannelCodeDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&,
                                           const QModelIndex& index) const
{
    editing_ = index;
    return textEditor(parent, "Text2", 5);
}

void ChannelCodeDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const
{
    auto* edit = static_cast<QLineEdit*>(editor);
    edit->setText(fromRecordText(cutAtZero(toRecordText(index.data(Qt::EditRole).toString()))));
    if (!edit->text().isEmpty()) edit->selectAll();
}

void ChannelCodeDelegate::setModelData(QWidget* editor, QAbstractItemModel* model,
                                       const QModelIndex& index) const
{
    model->setData(index, static_cast<QLineEdit*>(editor)->text(), Qt::EditRole);
}

bool ChannelCodeDelegate::refuseKey(QWidget* editor, const QKeyEvent& key) const
{
    const char32_t c = typedChar(key);
    if (c == 0) return false;
    const char taken = c > 127 ? 0 : channelCodeChar(c);
    if (taken == 0) return true;
    if (static_cast<char32_t>(taken) != c) {
        static_cast<QLineEdit*>(editor)->insert(QString(QChar(taken)));
        return true;
    }
    return false;
}

void ChannelCodeDelegate::concludeOnEnter(QWidget* editor, const QModelIndex& index) const
{
    writeToModel(index, static_cast<QLineEdit*>(editor)->text());
}

bool ChannelCodeDelegate::editorEmpty(QWidget* editor) const
{
    return static_cast<QLineEdit*>(editor)->text().isEmpty();
}

// ---- Lists ----------------------------------------------------------------------------------

QWidget* ListDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&,
                                    const QModelIndex& index) const
{
    editing_ = index;
    auto* list = new TypedListBox(parent);
    list->setObjectName(QString::fromLatin1(editorName_));
    if (const auto* model = qobject_cast<const ChannelTableModel*>(index.model()))
        list->addItems(model->listEntries(index.row(), index.column()));
    // Long lists (265 tones) open about 20 rows high rather than screen high.
    list->setMaxVisibleItems(20);
    list->setStyleSheet(QStringLiteral("QComboBox { combobox-popup: 0; }"));
    const QPersistentModelIndex target(index);
    connect(list, &TypedListBox::chosen, list, [target](int chosen) {
        if (target.isValid()) writeToModel(target, chosen);
    });
    return list;
}

void ListDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const
{
    auto* list = static_cast<TypedListBox*>(editor);
    const QSignalBlocker block(list);
    list->dropPendingEntry();
    list->setCurrentIndex(list->findText(index.data(Qt::EditRole).toString(), Qt::MatchExactly));
}

void ListDelegate::setModelData(QWidget* editor, QAbstractItemModel*, const QModelIndex&) const
{
    // Tab or leaving the cell ends a typed entry (see createEditor).
    static_cast<TypedListBox*>(editor)->commit();
}

void ListDelegate::concludeOnEnter(QWidget* editor, const QModelIndex&) const
{
    static_cast<TypedListBox*>(editor)->commit();
}

}  // namespace zt::gui
