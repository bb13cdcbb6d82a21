#pragma once

#include <QWidget>
#include <map>
#include <vector>

#include "gui/child_window.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace zt::gui {

struct AppContext;
class TypedListBox;

// The channel detail editor: the settings of one channel, including those the grid does not
// show, changed one at a time. It follows the grid's current cell and group and makes the
// grid follow the group chosen here.
class ChannelEditorWindow : public QWidget, public ChildWindow {
    Q_OBJECT
  public:
    explicit ChannelEditorWindow(AppContext& app, QWidget* parent = nullptr);
    ~ChannelEditorWindow() override;

    // Loads every control for the channel to show: from the grid (`CurrentGroup`, row of
    // `EditPos`) or from the editor's own group and channel lists.
    void showChannel(bool fromGrid);
    // Refills the channel list with "1" .. GroupSize(group).
    void listGroupChannels(int groupIndex);
    // Rebuilds the RB-tone list of the shown channel and selects its value.
    void refreshRbToneList();
    // Refills the BOT, EOT and call code lists after the DTMF memory codes changed.
    void refreshDtmfCodeLists();
    // Enables the receive-frequency box when frequencies may be changed in the shown group.
    void updateFrequencyPermission();

    void applyLanguageTexts();
    // Writes a typed but not yet written receive frequency.
    void commitPendingEdits() override;
    // Shows the channel of the grid's editing position again.
    void reload() override { showChannel(true); }
    void retranslate() override { applyLanguageTexts(); }

    // True while user actions are written; false while the window fills its own controls.
    bool writeUserChanges = true;

    // Control arrays by index (Combo2(i), Check1(i)); null for an index not built.
    QComboBox* combo2(int i) const;
    QCheckBox* check1(int i) const;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

  private:
    void buildControls();
    void fillCodeList(QComboBox* list, int stored);
    void fillBusyLock(bool withThird);
    void showEmpty();
    void onGroupOrChannelChosen();
    void onListChosen(int i);
    void onCheckClicked(int i);
    void writeField(int fieldCode, int value);
    void concludeFrequency();
    void unloadWindow();
    int group() const;
    int row() const;

    AppContext& app_;
    QComboBox* groupList_ = nullptr;       // group
    QComboBox* channelList_ = nullptr;     // channel
    QLineEdit* rxFrequencyBox_ = nullptr;  // receive frequency
    QGroupBox* settingsFrame_ = nullptr;
    std::map<int, TypedListBox*> fieldLists_;
    std::map<int, QCheckBox*> fieldChecks_;
    std::map<int, QLabel*> fieldListLabels_;  // labels of Combo2(i), keyed like fieldLists_
    QLabel* groupLabel_ = nullptr;
    QLabel* channelLabel_ = nullptr;
    QLabel* rxFrequencyLabel_ = nullptr;
    QPushButton* closeButton_ = nullptr;
    int rbMirror_ = 0;    // index of the RB mirror list (0 .. 8)
    int busyMirror_ = 0;  // index of the busy-lock mirror list (0 .. 3)
    bool unloaded_ = false;
};

}  // namespace zt::gui
