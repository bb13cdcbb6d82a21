#include "gui/channels/channel_grid_view.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QScrollBar>
#include <algorithm>

#include "core/edit/channel_grid_rules.h"
#include "gui/channels/channel_delegates.h"
#include "gui/channels/channel_table_model.h"
#include "gui/widgets/guarded_line_edit.h"

namespace zt::gui {
namespace {

bool isEnter(const QKeyEvent& key)
{
    return key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter;
}

}  // namespace

ChannelGridView::ChannelGridView(QWidget* parent) : QTableView(parent)
{
    // Editors open by the grid's own rules, never by Qt's triggers.
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setTabKeyNavigation(true);

    auto addDelegate = [this](int col, ChannelCellDelegate* delegate) {
        setItemDelegateForColumn(col, delegate);
        connect(delegate, &ChannelCellDelegate::enterPressed, this,
                &ChannelGridView::onEnterPressed);
    };
    addDelegate(kColRx, new FrequencyDelegate(this));
    addDelegate(kColTx, new OffsetDelegate(this));
    addDelegate(3, new ChannelCodeDelegate(this));
    addDelegate(kColDecode, new ToneListDelegate(this));
    addDelegate(kColEncode, new ToneListDelegate(this));
    addDelegate(6, new FlagListDelegate(this, "Combo2"));
    addDelegate(kColScanSkip, new FlagListDelegate(this, "Combo3"));
    addDelegate(kColOptSignal, new FlagListDelegate(this, "Combo4"));
    addDelegate(kColSpacing, new FlagListDelegate(this, "Combo5"));

    fieldListDelegate_ = new FlagListDelegate(this, "FieldList");
    connect(fieldListDelegate_, &ChannelCellDelegate::enterPressed, this,
            &ChannelGridView::onEnterPressed);

    doubleClickGuard_.setSingleShot(true);
    doubleClickGuard_.setInterval(1000);
    doubleClickGuard_.setObjectName("TimerCHEdit");
    scrollGuard_.setSingleShot(true);
    scrollGuard_.setInterval(500);
    scrollGuard_.setObjectName("ScrollTimer");

    connect(this, &QAbstractItemView::clicked, this, &ChannelGridView::onClicked);
    connect(this, &QAbstractItemView::doubleClicked, this, &ChannelGridView::onDoubleClicked);
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, &ChannelGridView::onScroll);
}

void ChannelGridView::setChannelModel(ChannelTableModel* model)
{
    model_ = model;
    setModel(model);
    // Another group replaces every row: the open editor is closed while its cell still
    // exists, so it is released by its own delegate.
    connect(model, &QAbstractItemModel::modelAboutToBeReset, this,
            &ChannelGridView::closeOpenEditor);
}

void ChannelGridView::installFieldEditors()
{
    if (!model_) return;
    for (int c = kGridColumns; c < model_->columnCount(); ++c) {
        const ChannelField* field = model_->extraField(c);
        const bool list =
            field && field->kind != FieldKind::Number && field->kind != FieldKind::TxFrequency;
        setItemDelegateForColumn(c, list ? fieldListDelegate_ : nullptr);
    }
}

int ChannelGridView::rowCount() const
{
    return model_ ? model_->rowCount() : 0;
}

QString ChannelGridView::cellText(int row, int col) const
{
    return model_ ? model_->index(row, col).data().toString() : QString();
}

void ChannelGridView::setCurrentCell(int row, int col)
{
    if (!model_) return;
    const QModelIndex target = model_->index(row, col);
    if (target == currentIndex())
        enterCurrentCell();
    else
        moveTo(target);
}

void ChannelGridView::moveTo(const QModelIndex& index)
{
    // A move by the grid's rules selects the new cell alone, whatever keys are held.
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
}

void ChannelGridView::placeCursor(int row, int col)
{
    const bool wasReady = ready_;
    ready_ = false;
    closeOpenEditor();
    if (model_)
        selectionModel()->setCurrentIndex(model_->index(row, col),
                                          QItemSelectionModel::ClearAndSelect);
    ready_ = wasReady;
}

QWidget* ChannelGridView::openEditor() const
{
    const QModelIndex index = currentIndex();
    return index.isValid() ? indexWidget(index) : nullptr;
}

void ChannelGridView::commitOpenEditor()
{
    if (QWidget* editor = openEditor()) commitData(editor);
}

void ChannelGridView::closeOpenEditor()
{
    if (QWidget* editor = openEditor()) closeEditor(editor, QAbstractItemDelegate::NoHint);
}

bool ChannelGridView::frequencyCellFixed(int col) const
{
    return (col == kColRx || col == kColTx) && model_ && !model_->frequencyEditable();
}

void ChannelGridView::currentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    // The base writes and closes the editor of the cell being left.
    QTableView::currentChanged(current, previous);
    topRowAtEntry_ = rowAt(0);
    if (current.isValid()) enterCurrentCell();
}

void ChannelGridView::enterCurrentCell()
{
    topRowAtEntry_ = rowAt(0);
    const QModelIndex index = currentIndex();
    if (!ready_ || !model_ || !index.isValid()) return;
    const int row = index.row();
    const int col = index.column();
    emit cellEntered(row, col);
    setFocus(Qt::OtherFocusReason);
    // A channel is made by its receive frequency, and a transmit tone needs the transmit
    // column: such a cell sends the cursor there first.
    const bool needsChannel = (col >= kColTx && col <= kLastEditableColumn) || col >= kGridColumns;
    if (needsChannel && cellText(row, kColRx).isEmpty())
        moveTo(model_->index(row, kColRx));
    else if (col == kColEncode && cellText(row, kColTx).isEmpty())
        moveTo(model_->index(row, kColTx));
    else
        editCurrentCell();
}

void ChannelGridView::editCurrentCell()
{
    const QModelIndex index = currentIndex();
    if (!model_ || !index.isValid()) return;
    const int col = index.column();
    editRow_ = index.row();
    topRowAtEntry_ = rowAt(0);
    emit editStarted(index.row(), col);
    if (col == kColRow || col == kColEditor || frequencyCellFixed(col)) return;
    if (QWidget* editor = openEditor()) {
        itemDelegateForIndex(index)->setEditorData(editor, index);
    } else {
        edit(index);
    }
    if (QWidget* editor = openEditor()) editor->setFocus(Qt::OtherFocusReason);
}

void ChannelGridView::onEnterPressed(const QModelIndex& index, bool editorEmpty)
{
    if (index != currentIndex()) return;
    if (index.column() == kColRx && editorEmpty)
        nextLine();
    else
        nextColumn();
}

std::vector<int> ChannelGridView::typingColumns() const
{
    std::vector<int> cols;
    if (!model_) return cols;
    for (int c = kColRx; c < model_->columnCount(); ++c) {
        if (c == kColEditor || isColumnHidden(c) || columnWidth(c) <= 0) continue;
        // Extra columns that take no typing are passed over; the grid's own are visited.
        if (c >= kGridColumns && !(model_->flags(model_->index(0, c)) & Qt::ItemIsEditable))
            continue;
        cols.push_back(c);
    }
    const QHeaderView* header = horizontalHeader();
    std::sort(cols.begin(), cols.end(),
              [header](int a, int b) { return header->visualIndex(a) < header->visualIndex(b); });
    return cols;
}

int ChannelGridView::nextVisibleColumn(int col) const
{
    const int shownAt = horizontalHeader()->visualIndex(col);
    for (int c : typingColumns())
        if (horizontalHeader()->visualIndex(c) > shownAt) return c;
    return -1;
}

int ChannelGridView::previousVisibleColumn(int col) const
{
    const int shownAt = horizontalHeader()->visualIndex(col);
    const std::vector<int> cols = typingColumns();
    for (auto it = cols.rbegin(); it != cols.rend(); ++it)
        if (horizontalHeader()->visualIndex(*it) < shownAt) return *it;
    return -1;
}

void ChannelGridView::nextLine()
{
    if (rowCount() == 0) return;
    const int row = currentRow() + 1 < rowCount() ? currentRow() + 1 : 0;
    setCurrentCell(row, currentColumn());
}

void ChannelGridView::nextColumn()
{
    const int col = nextVisibleColumn(currentColumn());
    if (col >= 0) {
        setCurrentCell(currentRow(), col);
        return;
    }
    const int row = currentRow() + 1 < rowCount() ? currentRow() + 1 : 0;
    setCurrentCell(row, kColRx);
}

QModelIndex ChannelGridView::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers)
{
    if (action == MoveNext && model_) {
        // Tab follows Enter's path through the visible columns; after the last cell there is
        // none (the grid is left).
        const int col = nextVisibleColumn(currentColumn());
        if (col >= 0) return model_->index(currentRow(), col);
        return currentRow() + 1 < rowCount() ? model_->index(currentRow() + 1, kColRx)
                                             : QModelIndex();
    }
    if (action == MovePrevious && model_) {
        const int col = previousVisibleColumn(currentColumn());
        if (col >= 0) return model_->index(currentRow(), col);
        const std::vector<int> cols = typingColumns();
        return currentRow() > 0 && !cols.empty() ? model_->index(currentRow() - 1, cols.back())
                                                 : QModelIndex();
    }
    return QTableView::moveCursor(action, modifiers);
}

QItemSelectionModel::SelectionFlags ChannelGridView::selectionCommand(const QModelIndex& index,
                                                                      const QEvent* event) const
{
    QItemSelectionModel::SelectionFlags flags = QTableView::selectionCommand(index, event);
    // The row-number column selects whole rows.
    if (index.isValid() && index.column() == kColRow && event &&
        (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseMove))
        flags |= QItemSelectionModel::Rows;
    return flags;
}

bool ChannelGridView::event(QEvent* event)
{
    // Cut, copy and paste are the Edit commands over the selected cells, not the table's
    // own copy of the current cell's text.
    if (event->type() == QEvent::ShortcutOverride &&
        isClipboardKey(*static_cast<QKeyEvent*>(event))) {
        event->ignore();
        return true;
    }
    return QTableView::event(event);
}

void ChannelGridView::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint)
{
    // Tab in the editor of the last cell (Shift+Tab in the first) goes on past the grid.
    const bool forward = hint == QAbstractItemDelegate::EditNextItem;
    if ((forward || hint == QAbstractItemDelegate::EditPreviousItem) &&
        !moveCursor(forward ? MoveNext : MovePrevious, Qt::NoModifier).isValid()) {
        QTableView::closeEditor(editor, QAbstractItemDelegate::NoHint);
        leaveGrid(forward);
        return;
    }
    QTableView::closeEditor(editor, hint);
}

void ChannelGridView::leaveGrid(bool forward)
{
    commitOpenEditor();
    closeOpenEditor();
    setFocus(Qt::OtherFocusReason);
    QWidget::focusNextPrevChild(forward);
}

void ChannelGridView::focusInEvent(QFocusEvent* event)
{
    QTableView::focusInEvent(event);
    // Tabbing into the grid enters its current cell, as a click on it would.
    const auto reason = event->reason();
    if ((reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason) && ready_ &&
        !openEditor())
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (hasFocus() && !openEditor()) enterCurrentCell();
            },
            Qt::QueuedConnection);
}

void ChannelGridView::keyPressEvent(QKeyEvent* event)
{
    const bool plain = !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
    if (plain && (event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab)) {
        const bool forward =
            event->key() == Qt::Key_Tab && !(event->modifiers() & Qt::ShiftModifier);
        const QModelIndex target =
            moveCursor(forward ? MoveNext : MovePrevious, event->modifiers());
        if (target.isValid())
            moveTo(target);
        else
            leaveGrid(forward);
        return;
    }
    if (plain && currentColumn() == kColEditor &&
        (isEnter(*event) || event->key() == Qt::Key_Space)) {
        emit channelEditorRequested();
        return;
    }
    if (isEnter(*event)) {
        if (frequencyCellFixed(currentColumn())) emit fixedFrequencyRefused();
        editCurrentCell();
        return;
    }
    if (isClipboardKey(*event)) return;  // reached only without an Edit menu
    if (event->key() == Qt::Key_Delete && event->modifiers() == Qt::NoModifier) {
        emit deleteRequested();
        return;
    }
    const QString typed = event->text();
    if (typed.size() == 1 && typed.at(0).unicode() >= 32 &&
        !(event->modifiers() & Qt::ControlModifier)) {
        // Typing on the grid itself (a cell without an editor) neither searches nor moves
        // the cursor; in a fixed frequency cell the window says why.
        if (frequencyCellFixed(currentColumn())) emit fixedFrequencyRefused();
        return;
    }
    QTableView::keyPressEvent(event);
}

void ChannelGridView::onClicked(const QModelIndex& index)
{
    // A click on the current cell enters it anew, unless it follows a double click.
    if (index != currentIndex() || openEditor() || doubleClickGuard_.isActive()) return;
    enterCurrentCell();
}

void ChannelGridView::onDoubleClicked(const QModelIndex& index)
{
    doubleClickGuard_.start();
    if (frequencyCellFixed(index.column())) emit fixedFrequencyRefused();
    if (index.column() == kColEditor) emit channelEditorRequested();
}

void ChannelGridView::onScroll()
{
    if (scrollGuard_.isActive() || !ready_ || !model_) return;
    scrollGuard_.start();
    // The cursor keeps its distance from the top row.
    const int row = currentRow() - topRowAtEntry_ + rowAt(0);
    if (row < 0 || row >= rowCount()) return;
    if (row != editRow_) setCurrentCell(row, currentColumn());
}

}  // namespace zt::gui
