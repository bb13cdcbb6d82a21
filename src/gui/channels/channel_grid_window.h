#pragma once

#include <QStringList>
#include <QTimer>
#include <QWidget>
#include <array>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;
class QKeyEvent;

namespace zt {
struct ChannelRecord;
}

namespace zt::gui {

struct AppContext;

// The channel grid: one channel group at a time, one row per channel position, with the
// group selector, the group name, the group's emergency channels, in-cell editing through
// floating editors, and the button that opens the channel editor.
class ChannelGridWindow : public QWidget {
    Q_OBJECT
  public:
    explicit ChannelGridWindow(AppContext& app, QWidget* parent = nullptr);
    ~ChannelGridWindow() override;

    // Redisplays the row of channel number chNo (a channel of the shown group).
    void reShowGrid(int chNo);
    // Selects `CurrentGroup` in the group list, which shows that group.
    void ChangeGroup();
    // Rebuilds and re-selects the two emergency lists of the shown group.
    void ReshowByCh();
    // True when the current row has a receive frequency; otherwise the cursor goes to column 1.
    bool FlexConcludeRx();
    void EnterGridEdit();
    void GridNextLine();
    void GridNextCol();
    // Ends the cell edit at `EditPos` and writes it.
    void Conclude();

    Q_INVOKABLE void applyLanguageTexts();
    // Writes a typed but not yet written cell entry (the write command calls it).
    Q_INVOKABLE void commitPendingEdits();

    // The shown group (index of `Combo7`).
    int shownGroup() const;
    // The text of a grid cell (row 1..GroupSize, column 0..10).
    QString cellText(int row, int col) const;
    QTableWidget* grid() const { return grid_; }
    QTimer& timerChEdit() { return timerChEdit_; }
    QTimer& scrollTimer() { return scrollTimer_; }

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
    void showGroup(int group);
    void numberRows();
    void setCaption();
    void writeRowCells(int row, const ChannelRecord& rec);
    void clearRowCells(int row);
    void enterCell();
    void moveCursor(int row, int col);
    void hideEditors();
    void placeOver(QWidget* editor, int row, int col);
    QComboBox* listEditorOf(int col) const;
    void reloadEditor();
    void onListActivated(int listIndex);
    void onGroupNameEdited(const QString& text);
    void onEmergencyChosen(int which);
    void onScroll(int value);
    void onDoubleClick(int row, int col);
    void openChannelEditor(bool focusAfter);
    void writeText1AsItStands();
    bool handleText1Key(QKeyEvent* key);
    bool handleText2Key(QKeyEvent* key);
    bool handleListKey(int col, QKeyEvent* key);
    void unloadWindow();
    // Losing the focus to another window: the pending entry is written, the
    // current cell entered anew without taking the focus back, and Text1 hidden.
    void windowDeactivated();
    void takeFocus(QWidget* w);
    // True (with the status hint shown) when the current cell is a frequency
    // cell the group's rules keep from being typed in.
    bool refuseLockedFrequencyCell();
    int currentRow() const;  // 1-based
    int currentCol() const;

    AppContext& app_;
    QLabel* label1_ = nullptr;
    QComboBox* combo7_ = nullptr;
    QLabel* label2_ = nullptr;
    QLineEdit* text3_ = nullptr;
    std::array<QLabel*, 4> label3_{};
    std::array<QComboBox*, 4> combo8_{};
    QTableWidget* grid_ = nullptr;
    QLineEdit* text1_ = nullptr;
    QLineEdit* text2_ = nullptr;
    std::array<QComboBox*, 5> lists_{};  // Combo1 .. Combo5
    QPushButton* commandChInfoEdit_ = nullptr;
    QPushButton* commandClose_ = nullptr;
    std::array<QStringList, 11> listEntries_{};  // entries of the list editor of each column
    QTimer timerChEdit_;
    QTimer scrollTimer_;

    int topRowAtEntry_ = 0;
    int prevEditCol_ = 0;
    int prevEditRow_ = 0;
    bool filling_ = false;
    bool ready_ = false;
    bool firstActivation_ = false;
    bool skipChecks_ = false;
    bool skipEntry_ = false;
    bool listArmed_ = false;
    bool enteredByChange_ = false;
    bool text1Dirty_ = false;
    bool unloaded_ = false;
    bool showingGroup_ = false;
    bool passive_ = false;  // entering a cell without taking the focus
    bool watchingFrame_ = false;
};

}  // namespace zt::gui
