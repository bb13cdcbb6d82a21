#include "gui/shell/main_window.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QDate>
#include <QDialog>
#include <QFrame>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QShowEvent>
#include <QStatusBar>
#include <QStyle>
#include <QTableView>
#include <QTime>
#include <QToolBar>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <filesystem>

#include "core/files/data_file.h"
#include "core/text_ids.h"
#include "gui/app_context.h"
#include "gui/channels/channel_grid_menu.h"
#include "gui/channels/channel_grid_window.h"
#include "gui/functions/model_info_dialog.h"
#include "gui/history/history_menu.h"
#include "gui/interop/channel_csv_commands.h"
#include "gui/production/production_line_window.h"
#include "gui/report/report_commands.h"
#include "gui/shell/child_windows.h"
#include "gui/shell/keyboard_commands.h"
#include "gui/shell/qt_translations.h"
#include "gui/shell/startup.h"
#include "gui/text_codec.h"
#include "gui/transfer/transfer_controller.h"
#include "gui/transfer/transfer_progress_dialog.h"
#include "gui/undo/undo_commands.h"
#include "gui/undo/undo_recorder.h"
#include "gui/widgets/accessible_names.h"
#include "gui/widgets/text_size.h"
#include "platform/port_diagnosis.h"
#include "platform/port_table.h"
#include "platform/qt_timers.h"
#include "platform/serial_link_port.h"

namespace zt::gui {
namespace {

constexpr const char* kSettingsSection = "Settings";
constexpr const char* kBackupBeforeWriteKey = "BackupBeforeWrite";
constexpr const char* kTreeCloseKey = "删除";
// The per-user store of the window position: fixed names, so a language change
// (which changes the title) keeps the position.
constexpr const char* kPositionApplication = "ZTP958FM";

QString pathText(const std::filesystem::path& p)
{
    return QString::fromStdString(p.string());
}

Message question(int textId, Buttons buttons, Icon icon)
{
    Message m;
    m.textId = textId;
    m.buttons = buttons;
    m.icon = icon;
    return m;
}

struct MenuItem {
    const char* name;
    int textId;
};

}  // namespace

MainWindow::MainWindow(AppContext& app, QWidget* parent) : QMainWindow(parent), app_(app)
{
    setObjectName("frmMain");
    setWindowIcon(style()->standardIcon(QStyle::SP_ComputerIcon));
    mdiArea_ = new QMdiArea(this);
    mdiArea_->setObjectName("MDIClient");
    mdiArea_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    mdiArea_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);

    buildMenus();
    buildToolbar();
    buildTreePane();
    buildStatusBar();

    auto* central = new QWidget(this);
    central->setObjectName("centralArea");
    auto* row = new QHBoxLayout(central);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    row->addWidget(picture1_);
    row->addWidget(commandMove_);
    row->addWidget(mdiArea_, 1);
    setCentralWidget(central);

    newDocTimer_.setObjectName("NewDocTimer");
    newDocTimer_.setSingleShot(true);
    connect(&newDocTimer_, &QTimer::timeout, this, &MainWindow::onNewDocTimer);
    clockTimer_.setInterval(1000);
    connect(&clockTimer_, &QTimer::timeout, this, &MainWindow::refreshClock);
    clockTimer_.start();

    createLink();
    app_.windowHost = this;
}

MainWindow::~MainWindow()
{
    if (app_.windowHost == this) app_.windowHost = nullptr;
    // Child windows go first: they may still look at the document.
    if (mdiArea_) {
        for (QMdiSubWindow* w : mdiArea_->subWindowList()) delete w;
    }
}

// ---- Link -----------------------------------------------------------------

void MainWindow::createLink()
{
    serialPort_ = std::make_unique<SerialLinkPort>();
    qtTimers_ = std::make_unique<QtTimerFactory>();
    serialPort_->onLost = [this](const std::string& reason) {
        if (transfers_) transfers_->portLost(reason);
    };
    serialPort_->setMessageTexts(app_.texts.lookup());
    serialPort_->setPortLister([this] { return existingComPorts(app_.paths.mySetupIni()); });
    useLink(*serialPort_, *qtTimers_);
}

void MainWindow::useLink(LinkPort& port, TimerFactory& timers)
{
    port_ = &port;
    // The port assignment is read afresh at every open: another program (the command line's
    // "ports --assign") may have changed it while this one runs.
    if (&port == serialPort_.get())
        serialPort_->setDeviceResolver(
            [this] { return pathText(comDevice(app_.comPort, app_.paths.mySetupIni())); });
    transfers_ = std::make_unique<TransferController>(app_, port, timers, this);
    TransferWindows w;
    w.closeAllDocumentWindows = [this] { CloseCurAllWindows(); };
    w.documentReplaced = [this](const std::string&) {
        documentReplaced();
        forgetUndoSteps(*this);
    };
    w.showRadioInformation = [this] { ShowChildWindow(window::RadioInfo); };
    w.endProgram = [this] { endProgram(); };
    w.showChannel = [this](int chNo) { showChannelInGrid(chNo); };
    transfers_->setWindows(std::move(w));
    transfers_->setPasswordWindow(
        [this](QWidget* parent) { return createModalWindow(window::PassWord, app_, parent); });
    transfers_->setBackupBeforeWrite(!mnuBackupBeforeWrite_ || mnuBackupBeforeWrite_->isChecked());
    connect(transfers_.get(), &TransferController::statusMessage, this,
            &MainWindow::showStatusHint);
    connect(transfers_.get(), &TransferController::readLeftDocumentUnchanged, this,
            [this] { showStatusHint(app_.text(text::msg::ReadCancelledNothingChanged)); });
}

void MainWindow::showChannelInGrid(int chNo)
{
    const int group = groupOfChannel(chNo);
    if (group < 0) return;
    app_.channelEdit.currentGroup = group;
    ShowChildWindow(window::CommChInfo);
    auto* grid = qobject_cast<ChannelGridWindow*>(childWindow(window::CommChInfo));
    if (!grid) return;
    grid->showCurrentGroup();
    if (auto* view = grid->findChild<QTableView*>())
        view->setCurrentIndex(view->model()->index(chNo - GroupBase(group) - 1, 1));
}

// ---- Building the window ----------------------------------------------------

QAction* MainWindow::menuItem(QMenu* menu, const char* name, int textId)
{
    auto* a = menu->addAction(QString());
    a->setObjectName(name);
    a->setProperty("textId", textId);
    return a;
}

void MainWindow::buildMenus()
{
    QMenuBar* bar = menuBar();
    auto addMenu = [&](const char* name, int textId) {
        QMenu* m = bar->addMenu(QString());
        m->setObjectName(name);
        m->menuAction()->setObjectName(QString(name) + "Action");
        m->menuAction()->setProperty("textId", textId);
        // Opening a menu takes the focus from the cell being edited without the
        // editor noticing; whatever is chosen then sees the edit written.
        connect(m, &QMenu::aboutToShow, this, &MainWindow::aboutToReadDocument);
        return m;
    };

    QMenu* file = addMenu("mnuFile", text::menu::FileMenu);
    QAction* a = menuItem(file, "mnuFileNew", text::menu::FileNew);
    a->setShortcut(QKeySequence("Ctrl+N"));
    connect(a, &QAction::triggered, this, &MainWindow::fileNew);
    a = menuItem(file, "mnuFileOpen", text::menu::FileOpen);
    a->setShortcut(QKeySequence("Ctrl+O"));
    connect(a, &QAction::triggered, this, &MainWindow::fileOpen);
    connect(menuItem(file, "mnuFileSave", text::menu::FileSave), &QAction::triggered, this,
            &MainWindow::fileSave);
    connect(menuItem(file, "mnuFileSaveAs", text::menu::FileSaveAs), &QAction::triggered, this,
            [this] { fileSaveAs(); });
    addReportCommands(*file, app_, *this, [this] { aboutToReadDocument(); });
    file->addSeparator();
    addChannelCsvItems(*file, app_, this,
                       {[this] { aboutToReadDocument(); }, [this] { CloseCurAllWindows(); },
                        [this] { documentReplaced(); }});
    file->addSeparator();
    connect(menuItem(file, "mnuFileExit", text::menu::FileExit), &QAction::triggered, this,
            &QWidget::close);

    QMenu* model = addMenu("mnuModel", text::menu::ModelMenu);
    connect(menuItem(model, "mnuModelInfo", text::menu::ModelInformation), &QAction::triggered,
            this, [this] { ShowModalWindow(window::ModelInfo); });

    QMenu* edit = addMenu("mnuEdit", text::menu::EditMenu);
    installUndoCommands(*this, *edit, app_,
                        UndoHost{[this] { aboutToReadDocument(); },
                                 [this](const std::function<void()>& replace) {
                                     replace();
                                     emit app_.events.documentReplaced();
                                     ShowMainTxt();
                                 }});
    connect(&undoCommandsOf(*this)->recorder(), &UndoRecorder::windowChangedDocument, this,
            [this](QWidget* window) {
                showStatusHint(
                    app_.text(text::msg::WindowChangedStoredValue).arg(window->windowTitle()));
            });
    auto child = [this](const char* name) { return [this, name] { ShowChildWindow(name); }; };
    connect(menuItem(edit, "mnuChannelInfo", text::menu::EditChannelInformation),
            &QAction::triggered, this, child(window::CommChInfo));
    edit->addSeparator();
    connect(menuItem(edit, "mnuOptFeature", text::menu::EditOptionalFeatures), &QAction::triggered,
            this, child(window::OptFeatures));
    connect(menuItem(edit, "mnuResetInit", text::menu::EditResetMode), &QAction::triggered, this,
            child(window::ResetMode));
    connect(menuItem(edit, "mnuToneTips", text::menu::EditToneTips), &QAction::triggered, this,
            child(window::ToneTips));
    connect(menuItem(edit, "MnuDTMF", text::menu::EditDtmf), &QAction::triggered, this,
            child(window::Dtmf));
    edit->addSeparator();
    connect(menuItem(edit, "mnuEmbeddedMsg", text::menu::EditEmbeddedMessage), &QAction::triggered,
            this, child(window::EmbMsg));
    connect(menuItem(edit, "MnuLocalInfo", text::menu::EditRadioInformation), &QAction::triggered,
            this, &MainWindow::readRadioInformation);
    addChannelGridEditCommands(edit, mdiArea_);

    QMenu* program = addMenu("mnuProgram", text::menu::ProgramMenu);
    a = menuItem(program, "mnuReadFromRadio", text::menu::ProgramReadFromRadio);
    a->setShortcut(QKeySequence("Ctrl+R"));
    connect(a, &QAction::triggered, this, &MainWindow::readFromRadio);
    a = menuItem(program, "mnuWriteToRadio", text::menu::ProgramWriteToRadio);
    a->setShortcut(QKeySequence("Ctrl+W"));
    connect(a, &QAction::triggered, this, &MainWindow::writeToRadio);
    a = menuItem(program, "MnuProPassWord", text::menu::ProgramPassword);
    a->setShortcut(QKeySequence("Ctrl+P"));
    connect(a, &QAction::triggered, this, [this] { ShowModalWindow(window::PassWord); });
    connect(menuItem(program, "mnuCompareWithRadio", text::menu::ProgramCompareWithRadio),
            &QAction::triggered, this, [this] {
                aboutToReadDocument();
                transfers_->compareWithRadio();
            });
    addHistoryItems(*file, *program, app_, this,
                    {[this] { aboutToReadDocument(); }, [this] { CloseCurAllWindows(); },
                     [this] { documentReplaced(); }, [this](int chNo) { showChannelInGrid(chNo); },
                     [this](const Snapshot& snapshot) {
                         aboutToReadDocument();
                         transfers_->restore(snapshot);
                     }});
    // Whether a write first reads the radio for a backup: the user's choice,
    // kept in the per-user store (on until turned off).
    mnuBackupBeforeWrite_ =
        menuItem(program, "mnuBackupBeforeWrite", text::menu::ProgramBackupBeforeWrite);
    mnuBackupBeforeWrite_->setCheckable(true);
    mnuBackupBeforeWrite_->setChecked(true);
    connect(mnuBackupBeforeWrite_, &QAction::triggered, this, [this](bool on) {
        transfers_->setBackupBeforeWrite(on);
        if (!positionStore().storeNumbers(kSettingsSection, {{kBackupBeforeWriteKey, on ? 1 : 0}}))
            app_.prompt->ask(settingsNotSaved(positionStore().location().toStdString()));
    });
    addProductionLineCommand(*program, app_, *this, [this] { aboutToReadDocument(); });

    QMenu* set = addMenu("mnuSet", text::menu::SettingsMenu);
    connect(menuItem(set, "mnuComm", text::menu::SettingsComPort), &QAction::triggered, this,
            [this] { ShowModalWindow(window::SetComm); });
    connect(menuItem(set, "mnuLanguage", text::menu::SettingsLanguage), &QAction::triggered, this,
            [this] { ShowModalWindow(window::SetLanguage); });
    connect(menuItem(set, "mnuLinkOptions", text::menu::SettingsTransferOptions),
            &QAction::triggered, this, [this] { ShowModalWindow(window::LinkOptions); });
    connect(menuItem(set, "MnuInit", text::menu::SettingsInitialSettings), &QAction::triggered,
            this, &MainWindow::initialSettings);

    QMenu* view = addMenu("mnuView", text::menu::ViewMenu);
    mnuTreeView_ = menuItem(view, "mnuTreeView", text::menu::ViewTree);
    mnuTreeView_->setCheckable(true);
    mnuTreeView_->setChecked(true);
    connect(mnuTreeView_, &QAction::triggered, this,
            [this] { setTreePaneVisible(!picture1_->isVisibleTo(this)); });
    view->addSeparator();
    mnuViewToolbar_ = menuItem(view, "mnuViewToolbar", text::menu::ViewToolbar);
    mnuViewToolbar_->setCheckable(true);
    mnuViewToolbar_->setChecked(true);
    connect(mnuViewToolbar_, &QAction::toggled, this,
            [this](bool on) { tbToolBar_->setVisible(on); });
    mnuViewStatusBar_ = menuItem(view, "mnuViewStatusBar", text::menu::ViewStatusBar);
    mnuViewStatusBar_->setCheckable(true);
    mnuViewStatusBar_->setChecked(true);
    connect(mnuViewStatusBar_, &QAction::toggled, this,
            [this](bool on) { statusBar()->setVisible(on); });
    // A new text size lays the open windows out again: they are opened anew.
    addTextSizeCommands(*view, {[this] { return positionStore(); },
                                [this] {
                                    aboutToReadDocument();
                                    QStringList open;
                                    for (QMdiSubWindow* w : mdiArea_->subWindowList())
                                        if (w->widget()) open << w->widget()->objectName();
                                    CloseCurAllWindows();
                                    for (const QString& name : open) ShowChildWindow(name);
                                }});
    addChannelGridViewCommands(view, mdiArea_);

    mnuWindow_ = addMenu("mnuWindow", text::menu::WindowMenu);
    connect(menuItem(mnuWindow_, "mnuWindowCascade", text::menu::WindowCascade),
            &QAction::triggered, this, &MainWindow::cascade);
    mnuWindow_->addSeparator();
    connect(menuItem(mnuWindow_, "mnuCloseAll", text::menu::WindowCloseAll), &QAction::triggered,
            this, &MainWindow::CloseCurAllWindows);
    addKeyboardCommands(*this, *mnuWindow_, *mdiArea_);
    windowListSeparator_ = mnuWindow_->addSeparator();
    connect(mnuWindow_, &QMenu::aboutToShow, this, &MainWindow::refreshWindowMenu);

    QMenu* help = addMenu("mnuHelp", text::menu::HelpMenu);
    help->addSeparator();
    connect(menuItem(help, "mnuHelpAbout", text::menu::HelpAbout), &QAction::triggered, this,
            [this] { ShowModalWindow(window::About); });
}

void MainWindow::buildToolbar()
{
    tbToolBar_ = addToolBar(QString());
    tbToolBar_->setObjectName("tbToolBar");
    tbToolBar_->setMovable(false);
    tbToolBar_->setIconSize(QSize(24, 24));
    struct Button {
        const char* key;
        int tipId;
        QStyle::StandardPixmap icon;
        bool separatorBefore;
    };
    const Button buttons[] = {
        {"NewFile", text::toolbar::ToolTipNew, QStyle::SP_FileIcon, false},
        {"OpenFile", text::toolbar::ToolTipOpen, QStyle::SP_DialogOpenButton, false},
        {"SaveFile", text::toolbar::ToolTipSave, QStyle::SP_DialogSaveButton, false},
        {"Print", text::toolbar::ToolTipPrint, QStyle::SP_FileDialogDetailedView, true},
        {"ReadRadio", text::toolbar::ToolTipReadFromRadio, QStyle::SP_ArrowDown, true},
        {"CommSet", text::toolbar::ToolTipComPort, QStyle::SP_ComputerIcon, false},
        {"WriteRadio", text::toolbar::ToolTipWriteToRadio, QStyle::SP_ArrowUp, false},
        {"About", text::toolbar::ToolTipAbout, QStyle::SP_MessageBoxInformation, true},
    };
    for (const Button& b : buttons) {
        if (b.separatorBefore) tbToolBar_->addSeparator();
        QAction* a = tbToolBar_->addAction(style()->standardIcon(b.icon), QString());
        a->setObjectName(b.key);
        a->setData(QString::fromLatin1(b.key));
        a->setProperty("tipId", b.tipId);
        connect(a, &QAction::triggered, this,
                [this, key = QString::fromLatin1(b.key)] { toolbarClicked(key); });
    }
}

void MainWindow::buildTreePane()
{
    picture1_ = new QWidget(this);
    picture1_->setObjectName("Picture1");
    picture1_->setFixedWidth(190);
    frame1_ = new QFrame(picture1_);
    frame1_->setObjectName("Frame1");
    frame1_->setFrameShape(QFrame::StyledPanel);
    auto* paneLayout = new QVBoxLayout(picture1_);
    paneLayout->setContentsMargins(0, 0, 0, 0);
    paneLayout->addWidget(frame1_);

    label1_ = new QLabel(frame1_);
    label1_->setObjectName("Label1");
    QFont bold = label1_->font();
    bold.setBold(true);
    label1_->setFont(bold);
    toolbar1_ = new QToolBar(frame1_);
    toolbar1_->setObjectName("Toolbar1");
    toolbar1_->setIconSize(QSize(12, 12));
    QAction* closePane =
        toolbar1_->addAction(style()->standardIcon(QStyle::SP_TitleBarCloseButton), QString());
    closePane->setObjectName("Toolbar1Close");
    closePane->setData(QString::fromUtf8(kTreeCloseKey));
    connect(closePane, &QAction::triggered, this, [this, closePane] {
        if (closePane->data().toString() == QString::fromUtf8(kTreeCloseKey))
            setTreePaneVisible(false);
    });
    treeView1_ = new QTreeWidget(frame1_);
    treeView1_->setObjectName("TreeView1");
    treeView1_->setHeaderHidden(true);
    treeView1_->setColumnCount(1);
    connect(treeView1_, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem* item, int) { treeClicked(item); });

    auto* title = new QHBoxLayout;
    title->setContentsMargins(4, 2, 0, 2);
    title->addWidget(label1_, 1);
    title->addWidget(toolbar1_);
    auto* frameLayout = new QVBoxLayout(frame1_);
    frameLayout->setContentsMargins(0, 0, 0, 0);
    frameLayout->setSpacing(0);
    frameLayout->addLayout(title);
    frameLayout->addWidget(treeView1_, 1);

    commandMove_ = new QPushButton(this);
    commandMove_->setObjectName("CommandMove");
    commandMove_->setFixedWidth(5);
    commandMove_->setFocusPolicy(Qt::NoFocus);
    commandMove_->setFlat(true);
    commandMove_->setCursor(Qt::SizeHorCursor);
    commandMove_->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
    commandMove_->installEventFilter(this);
}

void MainWindow::buildStatusBar()
{
    QStatusBar* sb = statusBar();
    sb->setObjectName("sbStatusBar");
    for (int i = 0; i < 5; ++i) {
        panels_[i] = new QLabel(sb);
        panels_[i]->setObjectName(QString("Panel%1").arg(i + 1));
        panels_[i]->setFrameShape(QFrame::StyledPanel);
        panels_[i]->setFrameShadow(QFrame::Sunken);
        panels_[i]->setContentsMargins(4, 0, 4, 0);
        sb->addPermanentWidget(panels_[i], i == 0 ? 1 : 0);
    }
    refreshClock();
}

// ---- Load, activation, resize, shutdown ---------------------------------------

void MainWindow::formLoad()
{
    newDocTimer_.stop();
    splitterDrag_ = false;
    applyStoredTextSize(positionStore());
    restorePosition();
    const bool backup = positionStore().number(kSettingsSection, kBackupBeforeWriteKey, 1) != 0;
    mnuBackupBeforeWrite_->setChecked(backup);
    transfers_->setBackupBeforeWrite(backup);
    ApplyLanguageTexts();
    LoadTree();
    // LoadNewDoc2: a new document again, the texts, the channel grid, the caption.
    startNewDocument(app_, NewKind::Ordinary);
    ApplyLanguageTexts();
    ShowChildWindow(window::CommChInfo);
    ShowMainTxt();
    forgetUndoSteps(*this);
}

void MainWindow::restorePosition()
{
    const UserSettingsStore store = positionStore();
    move(twipsToPixels(store.number(kSettingsSection, "MainLeft", 1000)),
         twipsToPixels(store.number(kSettingsSection, "MainTop", 1000)));
    resize(twipsToPixels(store.number(kSettingsSection, "MainWidth", 12500)),
           twipsToPixels(store.number(kSettingsSection, "MainHeight", 9500)));
}

bool MainWindow::storePosition()
{
    return positionStore().storeNumbers(kSettingsSection,
                                        {{"MainLeft", pixelsToTwips(x())},
                                         {"MainTop", pixelsToTwips(y())},
                                         {"MainWidth", pixelsToTwips(width())},
                                         {"MainHeight", pixelsToTwips(height())}});
}

UserSettingsStore MainWindow::positionStore() const
{
    return positionStore_.isEmpty() ? UserSettingsStore::forApplication(kPositionApplication)
                                    : UserSettingsStore::inFile(positionStore_);
}

void MainWindow::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow() &&
        app_.currentLanguage != app_.appliedLanguage && !languageCheckQueued_) {
        // Activation arrives inside the event that activated the window (a click
        // on a list of the grid, say): the windows are re-created once that
        // event is over.
        languageCheckQueued_ = true;
        QTimer::singleShot(0, this, [this] {
            languageCheckQueued_ = false;
            checkLanguageChange();
        });
    }
}

void MainWindow::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    // Child windows loaded before the window had its final size get their full
    // size once the layout has settled.
    QTimer::singleShot(0, this, &MainWindow::fitChildWindows);
}

void MainWindow::checkLanguageChange()
{
    if (app_.currentLanguage == app_.appliedLanguage) return;
    aboutToReadDocument();
    app_.appliedLanguage = app_.currentLanguage;
    app_.texts.setLanguage(app_.currentLanguage);
    applyQtTranslations(app_.currentLanguage);
    applyLanguage();
    CloseCurAllWindows();
    ShowChildWindow(window::CommChInfo);
}

void MainWindow::aboutToReadDocument()
{
    emit app_.events.aboutToReadDocument();
}

void MainWindow::showStatusHint(const QString& text)
{
    panels_[0]->setText(text);
}

QString MainWindow::statusHint() const
{
    return panels_[0]->text();
}

void MainWindow::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    // The tree pane follows the inner height through its layout.
    LoadBKPic();
    if (isVisible()) fitChildWindows();
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    aboutToReadDocument();
    if (!isMinimized() && !storePosition())
        app_.prompt->ask(settingsNotSaved(positionStore().location().toStdString()));
    CloseCurAllWindows();
    if (!closingForVersionSwitch_ && app_.documents.IsModified()) {
        const Answer a =
            app_.prompt->ask(question(text::msg::SaveChanges, Buttons::YesNoCancel, Icon::Warning));
        if (a == Answer::Cancel) {
            event->ignore();
            return;
        }
        if (a == Answer::Yes) {
            fileSave();
            // A save that did not happen (dialog or question cancelled, file
            // error) keeps the program open rather than losing the changes.
            if (app_.documents.IsModified()) {
                event->ignore();
                return;
            }
        }
    }
    if (port_ && port_->isOpen()) port_->close();
    if (!saveSettingRecord(app_.paths.settingIni(), app_.state.Settings))
        app_.prompt->ask(settingsNotSaved(app_.paths.settingIni().string()));
    event->accept();
}

void MainWindow::endProgram()
{
    closingForVersionSwitch_ = true;
    close();
    QApplication::quit();
}

// ---- Texts ----------------------------------------------------------------

void MainWindow::applyLanguage()
{
    ApplyLanguageTexts();
    LoadTree();
    emit app_.events.languageChanged();
}

void MainWindow::ApplyLanguageTexts()
{
    fileFilter_ = app_.text(text::msg::DataFileFilter) + " (*.dat)";
    panels_[2]->setText(app_.text(text::main::StatusBarComPortLabel) +
                        QString::number(app_.comPort));
    panels_[1]->setText(fromRecordText(app_.state.ModelName) + "[" +
                        fromRecordText(app_.state.BandText) + "]");
    ShowMainTxt();
    LoadBKPic();
    const auto menus = menuBar()->actions();
    for (QAction* m : menus) {
        if (m->property("textId").isValid()) m->setText(app_.text(m->property("textId").toInt()));
        if (QMenu* sub = m->menu())
            for (QAction* item : sub->actions())
                if (item->property("textId").isValid())
                    item->setText(app_.text(item->property("textId").toInt()));
    }
    for (QAction* b : tbToolBar_->actions())
        if (b->property("tipId").isValid()) {
            const QString tip = app_.text(b->property("tipId").toInt());
            b->setToolTip(tip);
            b->setText(tip);
        }
    nameControls(*this, [this](int id) { return app_.text(id); });
}

void MainWindow::ShowMainTxt()
{
    const QString model = fromRecordText(app_.state.ModelName);
    const QString file = QString::fromStdString(app_.documents.fileName().filename().string());
    setWindowTitle(app_.text(text::main::ApplicationTitle) + "[" + model + ":" +
                   fromRecordText(app_.state.BandText) + "]" + "[" +
                   app_.text(text::main::CaptionFileNameLabel) + ":" + file + "]");
    label1_->setText(model);
    if (treeView1_->topLevelItemCount() > 0) treeView1_->topLevelItem(0)->setText(0, model);
}

void MainWindow::LoadTree()
{
    treeView1_->clear();
    auto* root = new QTreeWidgetItem(treeView1_, {label1_->text()});
    root->setData(0, Qt::UserRole, "N0");
    root->setIcon(0, style()->standardIcon(QStyle::SP_ComputerIcon));
    struct Node {
        const char* key;
        int textId;
    };
    const Node nodes[] = {{"N1", text::main::TreeNodeChannelInformation},
                          {"N2", text::main::TreeNodeOptionalFeatures},
                          {"N4", text::main::TreeNodeDtmf},
                          {"N13", text::main::TreeNodeResetMode},
                          {"N12", text::main::TreeNodeToneTips},
                          {"N6", text::main::TreeNodeEmbeddedMessage},
                          {"N7", text::main::TreeNodeRadioInformation}};
    for (const Node& n : nodes) {
        auto* item = new QTreeWidgetItem(root, {app_.text(n.textId)});
        item->setData(0, Qt::UserRole, QString::fromLatin1(n.key));
        item->setIcon(0, style()->standardIcon(QStyle::SP_FileIcon));
    }
    root->setExpanded(true);
    fitTreePane();
}

void MainWindow::fitTreePane()
{
    // The pane is wide enough for its longest label in the current language.
    const QFontMetrics metrics(treeView1_->font());
    const int icon = treeView1_->iconSize().isValid() ? treeView1_->iconSize().width() : 16;
    int widest = 0;
    QTreeWidgetItem* root = treeView1_->topLevelItem(0);
    for (int i = 0; root && i < root->childCount(); ++i)
        widest = std::max(widest, metrics.horizontalAdvance(root->child(i)->text(0)));
    // Two levels of indentation, the icon, the frame and a little air.
    const int labels =
        widest + 2 * treeView1_->indentation() + icon + 2 * treeView1_->frameWidth() + 24;
    const int wanted = std::max(190, labels);
    if (picture1_->width() < wanted) picture1_->setFixedWidth(wanted);
}

void MainWindow::LoadBKPic()
{
    const auto file =
        app_.paths.programDir / "PIC" / ("BK_" + std::to_string(app_.currentLanguage) + ".jpg");
    const QImage picture(pathText(file));
    // A missing or unreadable picture leaves a plain background.
    if (picture.isNull() || picture.width() < 3 || picture.height() < 3) {
        mdiArea_->setBackground(palette().brush(QPalette::Dark));
        return;
    }
    const int tileW = picture.width() - 2;
    const int tileH = picture.height() - 2;
    const int winW = std::max(1, width());
    const int winH = std::max(1, height());
    QImage composed(winW, winH, QImage::Format_RGB32);
    composed.fill(Qt::white);
    {
        QPainter p(&composed);
        // The top row of tiles without the picture's left border column ...
        for (int x = 0; x <= winW; x += tileW)
            p.drawImage(QPoint(x, 0), picture, QRect(1, 0, tileW, tileH + 2));
        // ... then that row, without its top line, repeated downwards.
        const QImage rowBand = composed.copy(0, 1, winW, tileH);
        for (int y = tileH; y <= winH; y += tileH) p.drawImage(QPoint(0, y), rowBand);
    }
    mdiArea_->setBackground(QBrush(QPixmap::fromImage(composed)));
}

void MainWindow::refreshClock()
{
    const QDateTime now = QDateTime::currentDateTime();
    panels_[3]->setText(QLocale::c().toString(now.date(), "yyyy-MM-dd"));
    panels_[4]->setText(QLocale::c().toString(now.time(), "HH:mm"));
}

// ---- Child windows -----------------------------------------------------------

QWidget* MainWindow::childWindow(const QString& name) const
{
    QMdiSubWindow* sub = subWindowNamed(name);
    return sub ? sub->widget() : nullptr;
}

int MainWindow::childWindowCount() const
{
    return static_cast<int>(mdiArea_->subWindowList().size());
}

QMdiSubWindow* MainWindow::subWindowNamed(const QString& name) const
{
    for (QMdiSubWindow* w : mdiArea_->subWindowList())
        if (w->widget() && w->widget()->objectName() == name) return w;
    return nullptr;
}

bool MainWindow::activateChildWindow(const QString& name)
{
    QMdiSubWindow* open = subWindowNamed(name);
    if (!open) return false;
    mdiArea_->setActiveSubWindow(open);
    open->widget()->setFocus();
    return true;
}

void MainWindow::ShowChildWindow(const QString& name, bool activateNew)
{
    if (activateChildWindow(name)) return;
    QWidget* child = createChildWindow(name, app_);
    if (!child) return;  // no child window of that name
    // The size the window asked for (its own resize, else its size hint).
    const QSize wanted = child->testAttribute(Qt::WA_Resized) ? child->size() : child->sizeHint();
    QMdiSubWindow* sub = mdiArea_->addSubWindow(child);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    sub->setObjectName(name + "Frame");
    sub->setWindowIcon(style()->standardIcon(QStyle::SP_FileIcon));
    sub->setProperty("wantedSize", wanted);
    // The grid explains refusals in the status bar.
    if (auto* grid = qobject_cast<ChannelGridWindow*>(child))
        connect(grid, &ChannelGridWindow::statusHint, this, &MainWindow::showStatusHint);
    child->show();
    sub->show();
    // The channel editor the grid opens keeps its place beside the grid: the windows are
    // not cascaded for it.
    if (name != QLatin1String(window::ChannelEditor)) cascade();
    if (activateNew) mdiArea_->setActiveSubWindow(sub);
}

void MainWindow::UnloadWindowByName(const QString& name)
{
    for (QMdiSubWindow* w : mdiArea_->subWindowList())
        if (w->widget() && w->widget()->objectName() == name) {
            w->close();
            delete w;
        }
}

void MainWindow::CloseCurAllWindows()
{
    // Each window's own close handling runs; then it is gone.
    for (QMdiSubWindow* w : mdiArea_->subWindowList()) {
        w->close();
        delete w;
    }
}

void MainWindow::cascade()
{
    mdiArea_->cascadeSubWindows();
    // Cascading shrinks windows to their minimum; each gets the size it asked for.
    fitChildWindows();
}

void MainWindow::fitChildWindows()
{
    // A window is never squeezed below the size it asked for (its controls would be cut
    // off); where it reaches past the area, the area scrolls so all of it can be reached.
    for (QMdiSubWindow* w : mdiArea_->subWindowList()) {
        const QSize wanted = w->property("wantedSize").toSize();
        if (!wanted.isValid() || !w->widget() || w->isMaximized() || w->isMinimized()) continue;
        const QSize frame = w->size() - w->widget()->size();
        const QSize fitted = (wanted + frame).expandedTo(w->minimumSizeHint());
        if (w->size().width() < fitted.width() || w->size().height() < fitted.height())
            w->resize(fitted.expandedTo(w->size()));
    }
}

int MainWindow::ShowModalWindow(const QString& name)
{
    aboutToReadDocument();
    QDialog* dialog = createModalWindow(name, app_, this);
    if (!dialog) return -1;
    // A confirmed model or band change starts a new document.
    if (auto* model = qobject_cast<ModelInfoDialog*>(dialog))
        model->loadNewDoc = [this] { LoadNewDoc(); };
    const int result = app_.prompt->execModal(*dialog);
    delete dialog;
    if (name == QLatin1String(window::ModelInfo)) ShowMainTxt();
    // The language window's change takes effect as the main window is active again.
    checkLanguageChange();
    return result;
}

void MainWindow::refreshWindowMenu()
{
    for (QAction* a : windowListActions_) {
        mnuWindow_->removeAction(a);
        a->deleteLater();
    }
    windowListActions_.clear();
    int n = 1;
    for (QMdiSubWindow* w : mdiArea_->subWindowList()) {
        QAction* a = mnuWindow_->addAction(QString("&%1 %2").arg(n++).arg(w->windowTitle()));
        a->setCheckable(true);
        a->setChecked(w == mdiArea_->activeSubWindow());
        connect(a, &QAction::triggered, this, [this, w] { mdiArea_->setActiveSubWindow(w); });
        windowListActions_.push_back(a);
    }
}

// ---- Tree, toolbar, splitter ------------------------------------------------------

void MainWindow::treeClicked(QTreeWidgetItem* item)
{
    if (!item) return;
    const QString key = item->data(0, Qt::UserRole).toString();
    if (key == "N1")
        ShowChildWindow(window::CommChInfo);
    else if (key == "N2")
        ShowChildWindow(window::OptFeatures);
    else if (key == "N4")
        ShowChildWindow(window::Dtmf);
    else if (key == "N13")
        ShowChildWindow(window::ResetMode);
    else if (key == "N12")
        ShowChildWindow(window::ToneTips);
    else if (key == "N6")
        ShowChildWindow(window::EmbMsg);
    else if (key == "N7")
        readRadioInformation();
}

void MainWindow::toolbarClicked(const QString& key)
{
    aboutToReadDocument();
    // New asks about unsaved changes exactly as File > New does.
    if (key == "NewFile")
        fileNew();
    else if (key == "OpenFile")
        fileOpen();
    else if (key == "SaveFile")
        fileSave();
    else if (key == "ReadRadio")
        readFromRadio();
    else if (key == "CommSet")
        ShowModalWindow(window::SetComm);
    else if (key == "WriteRadio")
        writeToRadio();
    else if (key == "About")
        ShowModalWindow(window::About);
}

void MainWindow::setTreePaneVisible(bool visible)
{
    picture1_->setVisible(visible);
    commandMove_->setVisible(visible);
    mnuTreeView_->setChecked(visible);
}

bool MainWindow::dragSplitter(int twips)
{
    const int newWidth = pixelsToTwips(picture1_->width()) + twips;
    const int inner = pixelsToTwips(centralWidget()->width());
    if (newWidth < kMinTreePaneTwips || newWidth > inner) return false;
    picture1_->setFixedWidth(twipsToPixels(newWidth));
    return true;
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == commandMove_) {
        switch (event->type()) {
            case QEvent::MouseButtonPress:
                splitterDrag_ = true;
                return true;
            case QEvent::MouseButtonRelease:
                splitterDrag_ = false;
                return true;
            case QEvent::MouseMove:
                if (splitterDrag_) {
                    const auto* me = static_cast<QMouseEvent*>(event);
                    dragSplitter(pixelsToTwips(qRound(me->position().x())));
                }
                return true;
            default:
                break;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

// ---- Document commands -----------------------------------------------------------

void MainWindow::LoadNewDoc()
{
    aboutToReadDocument();
    CloseCurAllWindows();
    newDocTimer_.start(kNewDocDelayMs);
}

void MainWindow::onNewDocTimer()
{
    startNewDocument(app_, initRequest_ ? NewKind::Initialise : NewKind::Ordinary);
    initRequest_ = false;
    emit app_.events.documentReplaced();
    ApplyLanguageTexts();
    ShowChildWindow(window::CommChInfo);
    ShowMainTxt();
    cascade();
    forgetUndoSteps(*this);
}

bool MainWindow::saveDataFile()
{
    DocumentContext ctx = app_.documentContext();
    const bool ok = app_.documents.Save(app_.documents.fileName(), ctx);
    ShowMainTxt();
    return ok;
}

bool MainWindow::saveBeforeReplacing()
{
    // An untitled document has no place of its own yet: it is saved through
    // the dialog, never silently as "new.dat" in whatever folder is current.
    if (app_.documents.isUntitled()) return fileSaveAs();
    return saveDataFile();
}

void MainWindow::fileNew()
{
    aboutToReadDocument();
    if (app_.documents.IsModified()) {
        const Answer a =
            app_.prompt->ask(question(text::msg::SaveChanges, Buttons::YesNoCancel, Icon::Warning));
        if (a == Answer::Yes) saveBeforeReplacing();
    }
    const Answer ok =
        app_.prompt->ask(question(text::msg::ConfirmNewDocument, Buttons::OkCancel, Icon::Warning));
    if (ok == Answer::Ok)
        LoadNewDoc();
    else
        initRequest_ = false;  // a cancelled Initial settings leaves no request behind
}

void MainWindow::fileOpen()
{
    aboutToReadDocument();
    if (app_.documents.IsModified()) {
        const Answer a =
            app_.prompt->ask(question(text::msg::SaveChanges, Buttons::YesNoCancel, Icon::Warning));
        if (a == Answer::Cancel) return;
        if (a == Answer::Yes && !saveBeforeReplacing()) return;
    }
    openDataFile();
}

void MainWindow::openDataFile()
{
    FileDialogRequest request;
    request.save = false;
    request.filters = {fileFilter_};
    request.initialPath = pathText(app_.documents.fileName());
    const std::optional<QString> chosen = app_.prompt->chooseFile(request);
    if (!chosen) return;
    CloseCurAllWindows();
    DocumentContext ctx = app_.documentContext();
    const OpenResult result =
        app_.documents.Open(std::filesystem::path(chosen->toStdString()), ctx);
    if (result == OpenResult::EndProgram) return endProgram();
    if (result == OpenResult::Opened) afterOpened();
}

void MainWindow::afterOpened()
{
    emit app_.events.documentReplaced();
    ShowChildWindow(window::CommChInfo);
    ShowMainTxt();
    ApplyLanguageTexts();
    cascade();
    forgetUndoSteps(*this);
}

void MainWindow::fileSave()
{
    aboutToReadDocument();
    if (app_.documents.isUntitled()) {
        fileSaveAs();
        return;
    }
    Message m;
    m.text = "\"" + app_.documents.fileName().filename().string() + "\"" +
             app_.texts.GetLangText(text::msg::SaveChangesAfterName);
    m.buttons = Buttons::OkCancel;
    m.icon = Icon::Question;
    if (app_.prompt->ask(m) == Answer::Ok) saveDataFile();
}

bool MainWindow::fileSaveAs()
{
    aboutToReadDocument();
    FileDialogRequest request;
    request.save = true;
    request.filters = {fileFilter_};
    request.initialPath = pathText(app_.documents.fileName());
    const std::optional<QString> chosen = app_.prompt->chooseFile(request);
    if (!chosen) return false;
    const std::filesystem::path path = saveAsPath(std::filesystem::path(chosen->toStdString()));
    DocumentContext ctx = app_.documentContext();
    const bool ok = app_.documents.Save(path, ctx);
    ShowMainTxt();
    return ok;
}

void MainWindow::initialSettings()
{
    initRequest_ = true;
    fileNew();
}

// ---- Transfers ----------------------------------------------------------------

void MainWindow::readFromRadio()
{
    aboutToReadDocument();
    transfers_->read();
}

void MainWindow::writeToRadio()
{
    aboutToReadDocument();
    transfers_->write();
}

void MainWindow::readRadioInformation()
{
    aboutToReadDocument();
    UnloadWindowByName(window::RadioInfo);
    transfers_->readInformation();
}

void MainWindow::documentReplaced()
{
    emit app_.events.documentReplaced();
    ShowMainTxt();
    ApplyLanguageTexts();
    ShowChildWindow(window::CommChInfo);
    cascade();
}

}  // namespace zt::gui
