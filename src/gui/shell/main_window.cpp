#include "gui/shell/main_window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDate>
#include <QDialog>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QShowEvent>
#include <QStatusBar>
#include <QStyle>
#include <QTableView>
#include <QTime>
#include <QToolBar>
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
#include "gui/shell/area_background.h"
#include "gui/shell/child_windows.h"
#include "gui/shell/keyboard_commands.h"
#include "gui/shell/menu_item.h"
#include "gui/shell/startup.h"
#include "gui/text_codec.h"
#include "gui/transfer/transfer_controller.h"
#include "gui/transfer/transfer_progress_dialog.h"
#include "gui/undo/undo_commands.h"
#include "gui/undo/undo_recorder.h"
#include "gui/widgets/accessible_names.h"
#include "gui/widgets/qt_translations.h"
#include "gui/widgets/text_size.h"
#include "gui/widgets/twips.h"
#include "platform/port_diagnosis.h"
#include "platform/port_table.h"
#include "platform/qt_timers.h"
#include "platform/serial_link_port.h"

namespace zt::gui {
namespace {

constexpr const char* kSettingsSection = "Settings";
constexpr const char* kBackupBeforeWriteKey = "BackupBeforeWrite";
// The per-user store of the window position: fixed names, so a language change
// (which changes the title) keeps the position.
constexpr const char* kPositionApplication = "ZTP958FM";

QString pathText(const std::filesystem::path& p)
{
    return QString::fromStdString(p.string());
}

}  // namespace

MainWindow::MainWindow(AppContext& app, QWidget* parent) : QMainWindow(parent), app_(app)
{
    setObjectName("frmMain");
    setWindowIcon(style()->standardIcon(QStyle::SP_ComputerIcon));
    childArea_ = new ChildWindowArea(app_, this);
    connect(childArea_, &ChildWindowArea::statusHint, this, &MainWindow::showStatusHint);

    fileCommands_ = new DocumentFileCommands(
        app_,
        {[this] {
             const QStringList open = childArea_->openWindowNames();
             closeAllChildWindows();
             return open;
         },
         [this](const QString& name) { showChildWindow(name); },
         [this] { showChildWindow(window::CommChInfo); }, [this] { childArea_->cascade(); },
         [this] { showDocumentCaption(); }, [this] { retranslate(); },
         [this] { forgetUndoSteps(*this); }, [this] { endProgram(); }},
        this);
    buildMenus();
    buildToolbar();
    treePane_ = new FunctionTreePane(app_, this);
    connect(treePane_, &FunctionTreePane::closeRequested, this,
            [this] { setTreePaneVisible(false); });
    connect(treePane_, &FunctionTreePane::childWindowChosen, this, [this](const QString& name) {
        // Radio information is read from the radio before its window shows.
        if (name == QLatin1String(window::RadioInfo))
            readRadioInformation();
        else
            showChildWindow(name);
    });
    buildStatusBar();

    auto* central = new QWidget(this);
    central->setObjectName("centralArea");
    auto* row = new QHBoxLayout(central);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    row->addWidget(treePane_);
    row->addWidget(treePane_->splitterHandle());
    row->addWidget(childArea_, 1);
    setCentralWidget(central);

    clockTimer_.setInterval(1000);
    connect(&clockTimer_, &QTimer::timeout, this, &MainWindow::refreshClock);
    clockTimer_.start();

    createLink();
    app_.windowHost = childArea_;
}

MainWindow::~MainWindow()
{
    if (app_.windowHost == childArea_) app_.windowHost = nullptr;
    // Child windows go first: they may still look at the document and the transfers.
    for (QMdiSubWindow* w : childArea_->subWindowList()) delete w;
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
    w.closeAllDocumentWindows = [this] { closeAllChildWindows(); };
    w.documentReplaced = [this](const std::string&) {
        documentReplaced();
        forgetUndoSteps(*this);
    };
    w.showRadioInformation = [this] { showChildWindow(window::RadioInfo); };
    w.endProgram = [this] { endProgram(); };
    w.showChannel = [this](int chNo) { showChannelInGrid(chNo); };
    transfers_->setWindows(std::move(w));
    transfers_->setPasswordWindow(
        [this](QWidget* parent) { return createModalWindow(window::PassWord, app_, parent); });
    transfers_->setBackupBeforeWrite(!backupBeforeWriteItem_ ||
                                     backupBeforeWriteItem_->isChecked());
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
    showChildWindow(window::CommChInfo);
    auto* grid = qobject_cast<ChannelGridWindow*>(childWindow(window::CommChInfo));
    if (!grid) return;
    grid->showCurrentGroup();
    if (auto* view = grid->findChild<QTableView*>())
        view->setCurrentIndex(view->model()->index(chNo - GroupBase(group) - 1, 1));
}

// ---- Building the window ----------------------------------------------------

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
    fileCommands_->addTo(*file);
    addReportCommands(*file, app_, *this, [this] { aboutToReadDocument(); });
    file->addSeparator();
    addChannelCsvItems(*file, app_, this,
                       {[this] { aboutToReadDocument(); }, [this] { closeAllChildWindows(); },
                        [this] { documentReplaced(); }});
    file->addSeparator();
    connect(addMenuItem(*file, "mnuFileExit", text::menu::FileExit), &QAction::triggered, this,
            &QWidget::close);

    QMenu* model = addMenu("mnuModel", text::menu::ModelMenu);
    connect(addMenuItem(*model, "mnuModelInfo", text::menu::ModelInformation), &QAction::triggered,
            this, [this] { showModalWindow(window::ModelInfo); });

    QMenu* edit = addMenu("mnuEdit", text::menu::EditMenu);
    installUndoCommands(*this, *edit, app_,
                        UndoHost{[this] { aboutToReadDocument(); },
                                 [this](const std::function<void()>& replace) {
                                     replace();
                                     emit app_.events.documentReplaced();
                                     showDocumentCaption();
                                 }});
    connect(&undoCommandsOf(*this)->recorder(), &UndoRecorder::windowChangedDocument, this,
            [this](QWidget* window) {
                showStatusHint(
                    app_.text(text::msg::WindowChangedStoredValue).arg(window->windowTitle()));
            });
    connect(undoCommandsOf(*this), &UndoCommands::restoredValuesNotShown, this,
            [this] { showStatusHint(app_.text(text::others::RestoredValuesNotShown)); });
    auto child = [this](const char* name) { return [this, name] { showChildWindow(name); }; };
    connect(addMenuItem(*edit, "mnuChannelInfo", text::menu::EditChannelInformation),
            &QAction::triggered, this, child(window::CommChInfo));
    edit->addSeparator();
    connect(addMenuItem(*edit, "mnuOptFeature", text::menu::EditOptionalFeatures),
            &QAction::triggered, this, child(window::OptFeatures));
    connect(addMenuItem(*edit, "mnuResetInit", text::menu::EditResetMode), &QAction::triggered,
            this, child(window::ResetMode));
    connect(addMenuItem(*edit, "mnuToneTips", text::menu::EditToneTips), &QAction::triggered, this,
            child(window::ToneTips));
    connect(addMenuItem(*edit, "MnuDTMF", text::menu::EditDtmf), &QAction::triggered, this,
            child(window::Dtmf));
    edit->addSeparator();
    connect(addMenuItem(*edit, "mnuEmbeddedMsg", text::menu::EditEmbeddedMessage),
            &QAction::triggered, this, child(window::EmbMsg));
    connect(addMenuItem(*edit, "MnuLocalInfo", text::menu::EditRadioInformation),
            &QAction::triggered, this, &MainWindow::readRadioInformation);
    addChannelGridEditCommands(edit, childArea_);

    QMenu* program = addMenu("mnuProgram", text::menu::ProgramMenu);
    QAction* a = addMenuItem(*program, "mnuReadFromRadio", text::menu::ProgramReadFromRadio);
    a->setShortcut(QKeySequence("Ctrl+R"));
    connect(a, &QAction::triggered, this, &MainWindow::readFromRadio);
    a = addMenuItem(*program, "mnuWriteToRadio", text::menu::ProgramWriteToRadio);
    a->setShortcut(QKeySequence("Ctrl+W"));
    connect(a, &QAction::triggered, this, &MainWindow::writeToRadio);
    a = addMenuItem(*program, "MnuProPassWord", text::menu::ProgramPassword);
    a->setShortcut(QKeySequence("Ctrl+P"));
    connect(a, &QAction::triggered, this, [this] { showModalWindow(window::PassWord); });
    connect(addMenuItem(*program, "mnuCompareWithRadio", text::menu::ProgramCompareWithRadio),
            &QAction::triggered, this, [this] {
                aboutToReadDocument();
                transfers_->compareWithRadio();
            });
    addHistoryItems(*file, *program, app_, this,
                    {[this] { aboutToReadDocument(); }, [this] { closeAllChildWindows(); },
                     [this] { documentReplaced(); }, [this](int chNo) { showChannelInGrid(chNo); },
                     [this](const Snapshot& snapshot) {
                         aboutToReadDocument();
                         transfers_->restore(snapshot);
                     }});
    // Whether a write first reads the radio for a backup: the user's choice,
    // kept in the per-user store (on until turned off).
    backupBeforeWriteItem_ =
        addMenuItem(*program, "mnuBackupBeforeWrite", text::menu::ProgramBackupBeforeWrite);
    backupBeforeWriteItem_->setCheckable(true);
    backupBeforeWriteItem_->setChecked(true);
    connect(backupBeforeWriteItem_, &QAction::triggered, this, [this](bool on) {
        transfers_->setBackupBeforeWrite(on);
        if (!positionStore().storeNumbers(kSettingsSection, {{kBackupBeforeWriteKey, on ? 1 : 0}}))
            app_.prompt->ask(settingsNotSaved(positionStore().location().toStdString()));
    });
    addProductionLineCommand(*program, app_, *this, [this] { aboutToReadDocument(); });

    QMenu* set = addMenu("mnuSet", text::menu::SettingsMenu);
    connect(addMenuItem(*set, "mnuComm", text::menu::SettingsComPort), &QAction::triggered, this,
            [this] { showModalWindow(window::SetComm); });
    connect(addMenuItem(*set, "mnuLanguage", text::menu::SettingsLanguage), &QAction::triggered,
            this, [this] { showModalWindow(window::SetLanguage); });
    connect(addMenuItem(*set, "mnuLinkOptions", text::menu::SettingsTransferOptions),
            &QAction::triggered, this, [this] { showModalWindow(window::LinkOptions); });
    connect(addMenuItem(*set, "MnuInit", text::menu::SettingsInitialSettings), &QAction::triggered,
            fileCommands_, &DocumentFileCommands::initialSettings);

    QMenu* view = addMenu("mnuView", text::menu::ViewMenu);
    viewTreeItem_ = addMenuItem(*view, "mnuTreeView", text::menu::ViewTree);
    viewTreeItem_->setCheckable(true);
    viewTreeItem_->setChecked(true);
    connect(viewTreeItem_, &QAction::triggered, this,
            [this] { setTreePaneVisible(!treePane_->isVisibleTo(this)); });
    view->addSeparator();
    viewToolbarItem_ = addMenuItem(*view, "mnuViewToolbar", text::menu::ViewToolbar);
    viewToolbarItem_->setCheckable(true);
    viewToolbarItem_->setChecked(true);
    connect(viewToolbarItem_, &QAction::toggled, this,
            [this](bool on) { toolBar_->setVisible(on); });
    viewStatusBarItem_ = addMenuItem(*view, "mnuViewStatusBar", text::menu::ViewStatusBar);
    viewStatusBarItem_->setCheckable(true);
    viewStatusBarItem_->setChecked(true);
    connect(viewStatusBarItem_, &QAction::toggled, this,
            [this](bool on) { statusBar()->setVisible(on); });
    // A new text size lays the open windows out again: they are opened anew.
    addTextSizeCommands(*view, {[this] { return positionStore(); },
                                [this] {
                                    aboutToReadDocument();
                                    childArea_->reopenChildWindows();
                                }});
    addChannelGridViewCommands(view, childArea_);

    windowMenu_ = addMenu("mnuWindow", text::menu::WindowMenu);
    connect(addMenuItem(*windowMenu_, "mnuWindowCascade", text::menu::WindowCascade),
            &QAction::triggered, childArea_, &ChildWindowArea::cascade);
    windowMenu_->addSeparator();
    connect(addMenuItem(*windowMenu_, "mnuCloseAll", text::menu::WindowCloseAll),
            &QAction::triggered, childArea_, &ChildWindowArea::closeAllChildWindows);
    addKeyboardCommands(*this, *windowMenu_, *childArea_, [this] {
        aboutToReadDocument();
        showChildWindow(window::ChannelEditor);
    });
    windowMenu_->addSeparator();
    connect(windowMenu_, &QMenu::aboutToShow, this,
            [this] { childArea_->listWindowsIn(*windowMenu_); });

    QMenu* help = addMenu("mnuHelp", text::menu::HelpMenu);
    help->addSeparator();
    connect(addMenuItem(*help, "mnuHelpAbout", text::menu::HelpAbout), &QAction::triggered, this,
            [this] { showModalWindow(window::About); });
}

void MainWindow::buildToolbar()
{
    toolBar_ = addToolBar(QString());
    toolBar_->setObjectName("tbToolBar");
    toolBar_->setMovable(false);
    toolBar_->setIconSize(QSize(24, 24));
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
        if (b.separatorBefore) toolBar_->addSeparator();
        QAction* a = toolBar_->addAction(style()->standardIcon(b.icon), QString());
        a->setObjectName(b.key);
        a->setData(QString::fromLatin1(b.key));
        a->setProperty("tipId", b.tipId);
        connect(a, &QAction::triggered, this,
                [this, key = QString::fromLatin1(b.key)] { toolbarClicked(key); });
    }
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
    fileCommands_->newDocTimer().stop();
    treePane_->releaseSplitter();
    applyStoredTextSize(positionStore());
    restorePosition();
    const bool backup = positionStore().number(kSettingsSection, kBackupBeforeWriteKey, 1) != 0;
    backupBeforeWriteItem_->setChecked(backup);
    transfers_->setBackupBeforeWrite(backup);
    retranslate();
    treePane_->fillTree();
    // A new document again, the texts, the channel grid, the caption.
    startNewDocument(app_, NewKind::Ordinary);
    retranslate();
    showChildWindow(window::CommChInfo);
    showDocumentCaption();
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
    QTimer::singleShot(0, childArea_, &ChildWindowArea::fitChildWindows);
}

void MainWindow::checkLanguageChange()
{
    if (app_.currentLanguage == app_.appliedLanguage) return;
    aboutToReadDocument();
    app_.appliedLanguage = app_.currentLanguage;
    app_.texts.setLanguage(app_.currentLanguage);
    applyQtTranslations(app_.currentLanguage);
    applyLanguage();
    closeAllChildWindows();
    showChildWindow(window::CommChInfo);
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
    paintAreaBackground(*childArea_, app_, size());
    if (isVisible()) childArea_->fitChildWindows();
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    aboutToReadDocument();
    if (!isMinimized() && !storePosition())
        app_.prompt->ask(settingsNotSaved(positionStore().location().toStdString()));
    const QStringList wereOpen = childArea_->openWindowNames();
    closeAllChildWindows();
    if (!closingForVersionSwitch_ && !fileCommands_->settleUnsavedChanges()) {
        // The program stays: so do the windows the user had open.
        for (const QString& name : wereOpen) showChildWindow(name);
        event->ignore();
        return;
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
    retranslate();
    treePane_->fillTree();
    emit app_.events.languageChanged();
}

void MainWindow::retranslate()
{
    fileCommands_->retranslate();
    panels_[2]->setText(app_.text(text::main::StatusBarComPortLabel) +
                        QString::number(app_.comPort));
    panels_[1]->setText(fromRecordText(app_.state.ModelName) + "[" +
                        fromRecordText(app_.state.BandText) + "]");
    showDocumentCaption();
    paintAreaBackground(*childArea_, app_, size());
    const auto menus = menuBar()->actions();
    for (QAction* m : menus) {
        if (m->property("textId").isValid()) m->setText(app_.text(m->property("textId").toInt()));
        if (QMenu* sub = m->menu())
            for (QAction* item : sub->actions())
                if (item->property("textId").isValid())
                    item->setText(app_.text(item->property("textId").toInt()));
    }
    for (QAction* b : toolBar_->actions())
        if (b->property("tipId").isValid()) {
            const QString tip = app_.text(b->property("tipId").toInt());
            b->setToolTip(tip);
            b->setText(tip);
        }
    nameControls(*this, [this](int id) { return app_.text(id); });
}

void MainWindow::showDocumentCaption()
{
    const QString model = fromRecordText(app_.state.ModelName);
    const QString file = QString::fromStdString(app_.documents.fileName().filename().string());
    setWindowTitle(app_.text(text::main::ApplicationTitle) + "[" + model + ":" +
                   fromRecordText(app_.state.BandText) + "]" + "[" +
                   app_.text(text::main::CaptionFileNameLabel) + ":" + file + "]");
    treePane_->showModelName(model);
}

void MainWindow::refreshClock()
{
    const QDateTime now = QDateTime::currentDateTime();
    panels_[3]->setText(QLocale::c().toString(now.date(), "yyyy-MM-dd"));
    panels_[4]->setText(QLocale::c().toString(now.time(), "HH:mm"));
}

// ---- Modal windows -----------------------------------------------------------

int MainWindow::showModalWindow(const QString& name)
{
    aboutToReadDocument();
    QDialog* dialog = createModalWindow(name, app_, this);
    if (!dialog) return -1;
    // A confirmed model or band change starts a new document.
    if (auto* model = qobject_cast<ModelInfoDialog*>(dialog))
        model->loadNewDoc = [this] { fileCommands_->scheduleNewDocument(); };
    const int result = app_.prompt->execModal(*dialog);
    delete dialog;
    if (name == QLatin1String(window::ModelInfo)) showDocumentCaption();
    // The language window's change takes effect as the main window is active again.
    checkLanguageChange();
    return result;
}

// ---- Tree, toolbar, splitter ------------------------------------------------------

void MainWindow::toolbarClicked(const QString& key)
{
    aboutToReadDocument();
    // New asks about unsaved changes exactly as File > New does.
    if (key == "NewFile")
        fileCommands_->fileNew();
    else if (key == "OpenFile")
        fileCommands_->fileOpen();
    else if (key == "SaveFile")
        fileCommands_->fileSave();
    else if (key == "ReadRadio")
        readFromRadio();
    else if (key == "CommSet")
        showModalWindow(window::SetComm);
    else if (key == "WriteRadio")
        writeToRadio();
    else if (key == "About")
        showModalWindow(window::About);
}

void MainWindow::setTreePaneVisible(bool visible)
{
    treePane_->setPaneVisible(visible);
    viewTreeItem_->setChecked(visible);
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
    closeChildWindow(window::RadioInfo);
    transfers_->readInformation();
}

void MainWindow::documentReplaced()
{
    emit app_.events.documentReplaced();
    showDocumentCaption();
    retranslate();
    showChildWindow(window::CommChInfo);
    childArea_->cascade();
}

}  // namespace zt::gui
