#pragma once

#include <QMainWindow>
#include <QString>
#include <QTimer>
#include <memory>

#include "core/host/link_interfaces.h"
#include "gui/shell/child_window_area.h"
#include "gui/shell/document_file_commands.h"
#include "gui/shell/function_tree_pane.h"
#include "gui/widgets/twips.h"
#include "platform/user_settings_store.h"

class QAction;
class QLabel;
class QMdiArea;
class QMenu;
class QToolBar;

namespace zt {
class SerialLinkPort;
}

namespace zt::gui {

struct AppContext;
class TransferController;

// The main window: it puts together the menus, the toolbar, the status panels, the function
// tree pane (FunctionTreePane), the child-window area (ChildWindowArea) and the file commands
// (DocumentFileCommands), keeps its position, follows the language and starts the transfers.
class MainWindow : public QMainWindow {
    Q_OBJECT
  public:
    explicit MainWindow(AppContext& app, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Replaces the serial port and Qt timers of the transfers (tests use the
    // virtual radio and clock).
    void useLink(LinkPort& port, TimerFactory& timers);
    TransferController& transfers() { return *transfers_; }

    // Where the window position is kept: the per-user store under the
    // program's name (never a translated title) by default; an INI file when
    // given (tests).
    void setPositionStore(const QString& iniFile) { positionStore_ = iniFile; }
    // Main window load: position, texts, tree and the first document with the
    // channel grid.
    void formLoad();

    QMdiArea* mdiArea() const { return childArea_; }
    // The child-window area's commands, as the main window's own.
    void showChildWindow(const QString& name, bool activateNew = true)
    {
        childArea_->showChildWindow(name, activateNew);
    }
    QWidget* childWindow(const QString& name) const { return childArea_->childWindow(name); }
    int childWindowCount() const { return childArea_->childWindowCount(); }
    void closeChildWindow(const QString& name) { childArea_->closeChildWindow(name); }
    void closeAllChildWindows() { childArea_->closeAllChildWindows(); }
    QTimer& newDocTimer() { return fileCommands_->newDocTimer(); }
    bool initialValuesRequested() const { return fileCommands_->initialValuesRequested(); }

    // The status-bar text of the first panel (hints such as why an edit was refused).
    QString statusHint() const;

  public slots:
    // Every command that reads the document calls this first: each open child
    // window writes the entry it is still editing into the document.
    void aboutToReadDocument();
    void showStatusHint(const QString& text);
    void applyLanguage();
    void retranslate();
    void showDocumentCaption();
    // Shows a modal window by name (model information, password, COM port,
    // language, about); returns its result, or -1 for a name that is no modal window.
    int showModalWindow(const QString& name);

    // True when the document was saved.
    bool fileSaveAs() { return fileCommands_->fileSaveAs(); }
    void readFromRadio();
    void writeToRadio();
    void readRadioInformation();
    // Shows channel `chNo` in the channel grid (its group, its row).
    void showChannelInGrid(int chNo);

    // Runs the language change when the language window changed
    // `CurrentLanguage`. On activation it is queued to the event loop: it
    // closes and re-creates child windows, which must never happen inside an
    // event that concerns them.
    void checkLanguageChange();
    // Dragging the splitter by `twips` to the right (negative: left); refused
    // when the pane would be narrower than 300 twips or wider than the inner
    // width. Returns whether it was accepted.
    bool dragSplitter(int twips) { return treePane_->dragSplitter(twips); }
    void setTreePaneVisible(bool visible);

  protected:
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void buildMenus();
    void buildToolbar();
    void buildStatusBar();
    void createLink();
    void restorePosition();
    [[nodiscard]] bool storePosition();
    UserSettingsStore positionStore() const;
    void documentReplaced();
    void endProgram();
    void toolbarClicked(const QString& key);
    void refreshClock();

    AppContext& app_;
    DocumentFileCommands* fileCommands_ = nullptr;
    QAction* backupBeforeWriteItem_ = nullptr;
    QString positionStore_;

    ChildWindowArea* childArea_ = nullptr;
    QToolBar* toolBar_ = nullptr;
    FunctionTreePane* treePane_ = nullptr;
    QLabel* panels_[5] = {};
    QMenu* windowMenu_ = nullptr;
    QAction* viewTreeItem_ = nullptr;
    QAction* viewToolbarItem_ = nullptr;
    QAction* viewStatusBarItem_ = nullptr;

    QTimer clockTimer_;
    bool closingForVersionSwitch_ = false;
    bool languageCheckQueued_ = false;

    std::unique_ptr<SerialLinkPort> serialPort_;
    std::unique_ptr<TimerFactory> qtTimers_;
    LinkPort* port_ = nullptr;
    std::unique_ptr<TransferController> transfers_;
};

}  // namespace zt::gui
