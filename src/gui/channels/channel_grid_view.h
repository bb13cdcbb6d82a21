#pragma once

#include <QTableView>
#include <QTimer>
#include <vector>

namespace zt::gui {

class ChannelTableModel;
class ChannelCellDelegate;

// The channel grid's table: the cell editors of each column and the grid's key rules. Entering
// a cell opens its editor at once; a cell that needs the receive frequency first (any column
// of a row without one) sends the cursor to it; Enter writes the entry and moves on to the
// next visible column, from the last one to column 1 of the next row (columns of width 0
// are skipped, the rows wrap); the frequency columns of a group whose frequencies are fixed
// open no editor. Tab follows the same path but leaves the grid after its last cell, and
// Shift+Tab before its first, so the controls after the grid are reached from the keyboard;
// Enter and Space on ">>" open the channel editor as a double click does. Columns are visited
// in the order they are shown. Rows are 0-based here.
class ChannelGridView : public QTableView {
    Q_OBJECT
  public:
    explicit ChannelGridView(QWidget* parent = nullptr);

    void setChannelModel(ChannelTableModel* model);
    ChannelTableModel* channelModel() const { return model_; }

    // Cell entry is ignored until the window is ready.
    void setReady(bool ready) { ready_ = ready; }

    int rowCount() const;
    int currentRow() const { return currentIndex().row(); }
    int currentColumn() const { return currentIndex().column(); }
    QString cellText(int row, int col) const;
    // Moves the cursor; a move onto the current cell enters it anew.
    void setCurrentCell(int row, int col);
    // Moves the cursor without entering the cell (the grid is being rebuilt).
    void placeCursor(int row, int col);

    // Opens the editor of the current cell (Enter on the grid, the window's request).
    void editCurrentCell();
    // Enters the current cell: the checks that send the cursor to the frequency first, then
    // the editor, which takes the keyboard.
    void enterCurrentCell();
    // Writes what the open editor holds, if anything changed.
    void commitOpenEditor();
    void closeOpenEditor();
    QWidget* openEditor() const;

    // Next row, same column; after the last row the first.
    void nextLine();
    // Next visible column up to the last editable one; else column 1 of the next row.
    void nextColumn();

    // Gives the extra columns of the whole channel (after the model's columns changed) their
    // list editors.
    void installFieldEditors();

    QTimer& doubleClickGuard() { return doubleClickGuard_; }
    QTimer& scrollGuard() { return scrollGuard_; }

  signals:
    // A cell was entered (before its editor opens): row and column, 0-based.
    void cellEntered(int row, int col);
    // The editor of a cell is about to open (the edit position is this cell).
    void editStarted(int row, int col);
    // A frequency cell of a fixed group was asked for an entry; the window says why.
    void fixedFrequencyRefused();
    // Double click on the editor column, or Enter or Space on it.
    void channelEditorRequested();
    // The Delete key on the grid itself (rows chosen by their numbers): delete their channels.
    void deleteRequested();

  protected:
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    bool event(QEvent* event) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;
    void focusInEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                         const QEvent* event) const override;

  private:
    void onEnterPressed(const QModelIndex& index, bool editorEmpty);
    void onClicked(const QModelIndex& index);
    void onDoubleClicked(const QModelIndex& index);
    void onScroll();
    void moveTo(const QModelIndex& index);
    bool frequencyCellFixed(int col) const;
    int nextVisibleColumn(int col) const;
    int previousVisibleColumn(int col) const;
    // The columns Enter and Tab visit, as shown from left to right.
    std::vector<int> typingColumns() const;
    // Tab after the last cell or Shift+Tab before the first: on to the next control.
    void leaveGrid(bool forward);

    ChannelTableModel* model_ = nullptr;
    ChannelCellDelegate* fieldListDelegate_ = nullptr;
    QTimer doubleClickGuard_;
    QTimer scrollGuard_;
    int topRowAtEntry_ = 0;
    int editRow_ = -1;  // row of the last edit position
    bool ready_ = false;
};

}  // namespace zt::gui
