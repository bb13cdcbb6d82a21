#pragma once

#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <array>
#include <memory>

#include "gui/child_window.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;

namespace zt::gui {

struct AppContext;
class ChannelEditorWindow;
class ChannelGridClipboard;
class ChannelGridView;
class ChannelTableModel;

// The channel grid: one channel group at a time, one row per channel position, with the
// group selector, the group name, the group's emergency channels, in-cell editing, and the
// button that opens the channel editor. The table is a model over the document's channel
// table; its editors and key rules live in the view.
class ChannelGridWindow : public QWidget, public ChildWindow {
    Q_OBJECT
  public:
    explicit ChannelGridWindow(AppContext& app, QWidget* parent = nullptr);
    ~ChannelGridWindow() override;

    // Redisplays the row of channel number chNo (a channel of the shown group).
    void refreshChannelRow(int chNo);
    // Selects `CurrentGroup` in the group list, which shows that group.
    void showCurrentGroup();
    // Rebuilds and re-selects the two emergency lists of the shown group.
    void refreshEmergencyLists();
    // True when the current row has a receive frequency; otherwise the cursor goes to column 1.
    bool requireReceiveFrequency();
    void editCurrentCell();
    void moveToNextRow();
    void moveToNextColumn();
    // Ends the cell edit at `EditPos` and writes it.
    void concludeCellEdit();

    void applyLanguageTexts();
    // Writes a typed but not yet written cell entry (the write command calls it).
    void commitPendingEdits() override;
    // Shows the shown group again from the document.
    void reload() override;
    void retranslate() override { applyLanguageTexts(); }
    // The channel editor this grid opened when it has no main window around it.
    ChannelEditorWindow* ownEditor() const;

    // Spreadsheet editing: the selected cells to the clipboard as tab-separated text, cut,
    // paste (each cell checked as typing would check it), and deleting the channels of the
    // selected rows. Refused cells and kept channels are listed to the user.
    void copyCells();
    void cutCells();
    void pasteCells();
    void deleteSelectedChannels();
    // Asks for a field and a value and writes it into every selected channel as one action;
    // the channels that do not take it are reported once.
    void setForSelectedChannels();
    // Shows every stored field of a channel as a column (or only the grid's own columns).
    void showWholeChannel(bool on);
    ChannelGridClipboard& clipboard() { return *clipboard_; }

    // The shown group (index of `Combo7`).
    int shownGroup() const;
    // The group list (`Combo7`).
    QComboBox* groupList() const { return groupList_; }
    // The text of a grid cell (row 1..GroupSize, column 0..10).
    QString cellText(int row, int col) const;
    ChannelGridView* grid() const { return grid_; }
    QTimer& doubleClickGuard();
    QTimer& scrollGuard();

  signals:
    // A short explanation for the status bar (empty: clear it), such as why a
    // frequency cannot be typed in this group.
    void statusHint(const QString& text);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    void buildControls();
    void initGridLayout();
    // Widths, hidden columns and order of the grid's columns for the view shown.
    void applyColumnLayout();
    void showGroup(int group);
    void setCaption();
    void warnUnreadableFrequency(int row);
    void onCellEntered(int row, int col);
    void onEditStarted(int row, int col);
    void onGroupNameEdited(const QString& text);
    void onEmergencyChosen(int which);
    void openChannelEditor(bool focusAfter);
    void unloadWindow();

    AppContext& app_;
    QLabel* groupLabel_ = nullptr;
    QComboBox* groupList_ = nullptr;
    QLabel* groupNameLabel_ = nullptr;
    QLineEdit* groupNameBox_ = nullptr;
    std::array<QLabel*, 4> groupSettingLabels_{};
    std::array<QComboBox*, 4> groupSettingLists_{};
    ChannelTableModel* model_ = nullptr;
    ChannelGridView* grid_ = nullptr;
    std::unique_ptr<ChannelGridClipboard> clipboard_;
    QPushButton* openEditorButton_ = nullptr;
    QPushButton* closeButton_ = nullptr;
    QMenu* contextMenu_ = nullptr;
    QPointer<ChannelEditorWindow> ownEditor_;
    bool firstActivation_ = false;
    bool unloaded_ = false;
};

}  // namespace zt::gui
