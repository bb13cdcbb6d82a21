// Main window: child windows, document commands and their questions, the
// toolbar, the tree pane and splitter, the language switch and shutdown.

#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QToolBar>
#include <QTreeWidget>
#include <fstream>

#include "core/files/data_file.h"
#include "gui/shell/child_windows.h"
#include "shell_fixture.h"

namespace zt::gui::test {
namespace {

QAction* action(QWidget& w, const char* name)
{
    auto* a = w.findChild<QAction*>(name);
    EXPECT_NE(a, nullptr) << name;
    return a;
}

class MainWindowTest : public ::testing::Test {
  protected:
    void SetUp() override
    {
        program = std::make_unique<ShellProgram>(install);
        w = &program->main(install);
        prompt().asked.clear();
    }
    ScriptedPromptService& prompt() { return program->prompt; }
    AppContext& app() { return program->app; }

    ShellInstall install;
    std::unique_ptr<ShellProgram> program;
    MainWindow* w = nullptr;
};

TEST_F(MainWindowTest, MenusInOrderWithTextsAndShortcuts)
{
    QStringList names;
    for (QAction* m : w->menuBar()->actions()) names << m->menu()->objectName();
    EXPECT_EQ(names, (QStringList{"mnuFile", "mnuModel", "mnuEdit", "mnuProgram", "mnuSet",
                                  "mnuView", "mnuWindow", "mnuHelp"}));
    EXPECT_EQ(action(*w, "mnuFileOpen")->text(), "&Open...");
    EXPECT_EQ(action(*w, "mnuReadFromRadio")->shortcut(), QKeySequence("Ctrl+R"));
    EXPECT_EQ(action(*w, "MnuProPassWord")->shortcut(), QKeySequence("Ctrl+P"));
    // Print and Export PDF after Save As, then the channel list commands and Compare with
    // file, each block between separators, before Exit.
    const auto file = w->findChild<QMenu*>("mnuFile")->actions();
    ASSERT_EQ(file.size(), 13);
    EXPECT_TRUE(file[4]->isSeparator() && file[7]->isSeparator() && file[11]->isSeparator());
    EXPECT_EQ(file[5]->objectName(), "mnuFilePrint");
    EXPECT_EQ(file[6]->objectName(), "mnuFileExportPdf");
    EXPECT_EQ(file[8]->objectName(), "mnuFileImportChannels");
    EXPECT_EQ(file[9]->objectName(), "mnuFileExportChannels");
    EXPECT_EQ(file[10]->objectName(), "mnuFileCompare");
    QStringList program;
    for (QAction* a : w->findChild<QMenu*>("mnuProgram")->actions()) program << a->objectName();
    EXPECT_EQ(program, (QStringList{"mnuReadFromRadio", "mnuWriteToRadio", "MnuProPassWord",
                                    "mnuCompareWithRadio", "mnuBackups", "mnuBackupBeforeWrite",
                                    "mnuProductionLine"}));
    EXPECT_TRUE(action(*w, "mnuBackupBeforeWrite")->isCheckable());
    EXPECT_EQ(action(*w, "mnuBackupBeforeWrite")->text(), "Bac&k up before writing");
    EXPECT_EQ(action(*w, "ReadRadio")->toolTip(), "Read from the radio");
}

TEST_F(MainWindowTest, ChannelGridOpensOnlyOnce)
{
    QWidget* grid = w->childWindow("frmCommChInfo");
    ASSERT_NE(grid, nullptr);
    action(*w, "mnuChannelInfo")->trigger();
    w->showChildWindow("frmCommChInfo");
    auto* tree = w->findChild<QTreeWidget*>("TreeView1");
    emit tree->itemClicked(tree->topLevelItem(0)->child(0), 0);  // "N1"
    EXPECT_EQ(w->childWindowCount(), 1);
    EXPECT_EQ(w->childWindow("frmCommChInfo"), grid);

    // The root node does nothing; other nodes open their windows once each.
    emit tree->itemClicked(tree->topLevelItem(0), 0);
    EXPECT_EQ(w->childWindowCount(), 1);
    action(*w, "mnuEmbeddedMsg")->trigger();
    emit tree->itemClicked(tree->topLevelItem(0)->child(5), 0);  // "N6"
    EXPECT_EQ(w->childWindowCount(), 2);
    w->closeChildWindow("frmCommChInfo");
    EXPECT_EQ(w->childWindow("frmCommChInfo"), nullptr);
    w->closeAllChildWindows();
    EXPECT_EQ(w->childWindowCount(), 0);
}

TEST_F(MainWindowTest, FileNewAsksBothQuestionsEvenAfterCancel)
{
    touchDocument(app());
    prompt().answers = {Answer::Cancel, Answer::Ok};
    action(*w, "mnuFileNew")->trigger();
    EXPECT_EQ(prompt().askedIds(), (std::vector<int>{9006, 9026}));
    EXPECT_EQ(prompt().asked[0].message.buttons, Buttons::YesNoCancel);
    EXPECT_EQ(prompt().asked[1].message.buttons, Buttons::OkCancel);
    EXPECT_EQ(w->childWindowCount(), 0);  // closed before the new document
    waitNewDocument(*w);
    EXPECT_FALSE(app().documents.IsModified());
    EXPECT_NE(w->childWindow("frmCommChInfo"), nullptr);

    // Cancel at 9026 keeps the document.
    touchDocument(app());
    prompt().answers = {Answer::No, Answer::Cancel};
    action(*w, "mnuFileNew")->trigger();
    EXPECT_FALSE(w->newDocTimer().isActive());
    EXPECT_TRUE(app().documents.IsModified());
}

TEST_F(MainWindowTest, ToolbarNewAsksAsFileNewDoes)
{
    // One click must not throw unsaved edits away: Cancel keeps them.
    touchDocument(app());
    prompt().answers = {Answer::No, Answer::Cancel};
    action(*w, "NewFile")->trigger();
    EXPECT_EQ(prompt().askedIds(), (std::vector<int>{9006, 9026}));
    waitNewDocument(*w);
    EXPECT_TRUE(app().documents.IsModified());

    prompt().asked.clear();
    prompt().answers = {Answer::No, Answer::Ok};
    action(*w, "NewFile")->trigger();
    EXPECT_EQ(prompt().askedIds(), (std::vector<int>{9006, 9026}));
    waitNewDocument(*w);
    EXPECT_FALSE(app().documents.IsModified());
    EXPECT_EQ(w->childWindowCount(), 1);
}

TEST_F(MainWindowTest, YesOnAnUntitledDocumentGoesThroughSaveAs)
{
    // Yes must not write "new.dat" into the current folder.
    const fs::path stray = fs::current_path() / "new.dat";
    const bool strayBefore = fs::exists(stray);
    touchDocument(app());
    prompt().answers = {Answer::Yes, Answer::Ok};
    prompt().files = {std::nullopt};  // the dialog is cancelled
    action(*w, "mnuFileNew")->trigger();
    ASSERT_EQ(prompt().fileRequests.size(), 1u);
    EXPECT_TRUE(prompt().fileRequests[0].save);
    EXPECT_EQ(fs::exists(stray), strayBefore);
    EXPECT_EQ(prompt().askedIds(), (std::vector<int>{9006, 9026}));

    // File Open with Yes and a chosen name saves there before the open dialog.
    waitNewDocument(*w);
    touchDocument(app());
    prompt().asked.clear();
    prompt().fileRequests.clear();
    const QString target = QString::fromStdString((install.root() / "kept").string());
    prompt().answers = {Answer::Yes};
    prompt().files = {target, std::nullopt};
    action(*w, "mnuFileOpen")->trigger();
    ASSERT_EQ(prompt().fileRequests.size(), 2u);
    EXPECT_TRUE(prompt().fileRequests[0].save);
    EXPECT_FALSE(prompt().fileRequests[1].save);
    EXPECT_TRUE(fs::exists(install.root() / "kept.dat"));
    EXPECT_TRUE(fs::exists(install.root() / "kept.fre"));
    EXPECT_FALSE(app().documents.IsModified());
}

TEST_F(MainWindowTest, ARefusedFileChangesNothingTheOpenWindowsComeBack)
{
    w->showChildWindow(window::Dtmf);
    const QStringList before = QStringList{"frmCommChInfo", window::Dtmf};
    ASSERT_NE(w->childWindow("frmCommChInfo"), nullptr);
    const auto fileBefore = app().documents.fileName();
    const fs::path garbage = install.root() / "garbage.dat";
    std::ofstream(garbage, std::ios::binary) << "not a data file";
    prompt().files = {QString::fromStdString(garbage.string())};
    action(*w, "mnuFileOpen")->trigger();

    EXPECT_EQ(prompt().asked.size(), 1u);  // the reason
    EXPECT_EQ(app().documents.fileName(), fileBefore);
    for (const QString& name : before)
        EXPECT_NE(w->childWindow(name), nullptr) << name.toStdString();
}

TEST_F(MainWindowTest, SaveOnUntitledGoesToTheDialogThenSavesByName)
{
    action(*w, "mnuFileSave")->trigger();
    ASSERT_EQ(prompt().fileRequests.size(), 1u);
    EXPECT_TRUE(prompt().asked.empty());
    EXPECT_TRUE(app().documents.isUntitled());

    const fs::path file = install.root() / "doc.dat";
    prompt().files = {QString::fromStdString(file.string())};
    action(*w, "mnuFileSaveAs")->trigger();
    EXPECT_TRUE(fs::exists(file));
    EXPECT_FALSE(app().documents.isUntitled());
    EXPECT_TRUE(w->windowTitle().endsWith(":doc.dat]"));

    // A titled document asks "<name>" + 9007 and saves on OK.
    touchDocument(app());
    prompt().answers = {Answer::Cancel};
    action(*w, "SaveFile")->trigger();
    ASSERT_EQ(prompt().asked.size(), 1u);
    EXPECT_EQ(prompt().asked[0].message.text.rfind("\"doc.dat\"", 0), 0u);
    EXPECT_EQ(prompt().asked[0].message.buttons, Buttons::OkCancel);
    EXPECT_TRUE(app().documents.IsModified());
    prompt().answers = {Answer::Ok};
    action(*w, "mnuFileSave")->trigger();
    EXPECT_FALSE(app().documents.IsModified());

    // Opening it again, then a refused file leaves the document as it was.
    prompt().files = {QString::fromStdString(file.string())};
    action(*w, "OpenFile")->trigger();
    EXPECT_EQ(app().documents.fileName(), file);
    EXPECT_NE(w->childWindow("frmCommChInfo"), nullptr);
    std::ofstream(install.root() / "short.dat", std::ios::binary) << "V300";
    prompt().asked.clear();
    prompt().files = {QString::fromStdString((install.root() / "short.dat").string())};
    action(*w, "mnuFileOpen")->trigger();
    EXPECT_EQ(prompt().askedIds(), (std::vector<int>{9033}));
    EXPECT_EQ(app().documents.fileName(), file);
}

TEST_F(MainWindowTest, InitialSettingsRequestLastsOnlyForItsNewDocument)
{
    prompt().answers = {Answer::Cancel};
    action(*w, "MnuInit")->trigger();
    EXPECT_FALSE(w->initialValuesRequested());
    action(*w, "MnuInit")->trigger();
    EXPECT_TRUE(w->initialValuesRequested());
    waitNewDocument(*w);
    EXPECT_FALSE(w->initialValuesRequested());
}

TEST_F(MainWindowTest, SplitterKeepsThePaneBetweenItsLimits)
{
    w->resize(800, 600);
    w->show();
    QWidget* pane = w->findChild<QWidget*>("Picture1");
    const int start = pane->width();
    EXPECT_FALSE(w->dragSplitter(-(start * 15 - 299)));  // would be 299 twips
    EXPECT_EQ(pane->width(), start);
    EXPECT_TRUE(w->dragSplitter(-(start * 15 - 300)));  // exactly 300 twips
    EXPECT_EQ(pane->width(), 20);
    EXPECT_FALSE(w->dragSplitter(w->centralWidget()->width() * 15));  // wider than inside
    EXPECT_EQ(pane->width(), 20);

    // With the mouse: moves count only while the button is held.
    QWidget* move = w->findChild<QPushButton*>("CommandMove");
    QMouseEvent over(QEvent::MouseMove, QPointF(30, 5), QPointF(30, 5), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(move, &over);
    EXPECT_EQ(pane->width(), 20);
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(1, 5), QPointF(1, 5), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(move, &press);
    QMouseEvent drag(QEvent::MouseMove, QPointF(30, 5), QPointF(30, 5), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(move, &drag);
    EXPECT_EQ(pane->width(), 50);
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(30, 5), QPointF(30, 5), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(move, &release);
    QApplication::sendEvent(move, &drag);
    EXPECT_EQ(pane->width(), 50);
}

TEST_F(MainWindowTest, TreePaneCloseButtonAndViewTree)
{
    w->show();
    QWidget* pane = w->findChild<QWidget*>("Picture1");
    QAction* viewTree = action(*w, "mnuTreeView");
    EXPECT_TRUE(viewTree->isChecked());
    action(*w, "Toolbar1Close")->trigger();
    EXPECT_FALSE(pane->isVisible());
    EXPECT_FALSE(viewTree->isChecked());
    viewTree->trigger();
    EXPECT_TRUE(pane->isVisible());
    EXPECT_TRUE(viewTree->isChecked());

    QAction* viewToolbar = action(*w, "mnuViewToolbar");
    viewToolbar->trigger();
    EXPECT_FALSE(w->findChild<QToolBar*>("tbToolBar")->isVisible());
    viewToolbar->trigger();
    EXPECT_TRUE(w->findChild<QToolBar*>("tbToolBar")->isVisible());
}

TEST_F(MainWindowTest, LanguageSwitchReappliesClosesAndReopensTheGrid)
{
    const QString title = app().applicationTitle;
    QPointer<QWidget> grid(w->childWindow("frmCommChInfo"));
    prompt().modalHandler = [](QDialog& d) {
        d.findChild<QComboBox*>("Combo1")->setCurrentIndex(1);
        d.findChild<QPushButton*>("CommandOK")->click();
        return d.result();
    };
    action(*w, "mnuLanguage")->trigger();
    EXPECT_EQ(app().currentLanguage, 2);
    EXPECT_EQ(app().appliedLanguage, 2);
    EXPECT_TRUE(grid.isNull());
    EXPECT_EQ(w->childWindowCount(), 1);
    EXPECT_NE(w->childWindow("frmCommChInfo"), nullptr);
    EXPECT_EQ(
        action(*w, "mnuFileNew")->text(),
        QString::fromUtf8(
            readLangTextFromFile(install.program() / "language" / "chinese.ini", 10001).c_str()));
    auto* tree = w->findChild<QTreeWidget*>("TreeView1");
    EXPECT_EQ(tree->topLevelItem(0)->child(0)->text(0), QString::fromUtf8("信道信息"));
    EXPECT_EQ(app().applicationTitle, title);  // the position store key stays
    // Message boxes from now on have the Chinese title.
    EXPECT_EQ(messageBoxTitle(app()), QString::fromUtf8("ZT-958FM 写频软件"));
}

TEST_F(MainWindowTest, ExitAsksAboutChangesAndCancelStays)
{
    touchDocument(app());
    w->showChildWindow(window::Dtmf);
    prompt().answers = {Answer::Cancel};
    EXPECT_FALSE(w->close());
    EXPECT_EQ(prompt().askedIds(), (std::vector<int>{9006}));
    // The program stays as the user left it.
    EXPECT_NE(w->childWindow("frmCommChInfo"), nullptr);
    EXPECT_NE(w->childWindow(window::Dtmf), nullptr);
    EXPECT_FALSE(fs::exists(install.program() / "Setting.ini"));

    // Yes on an untitled document with the dialog cancelled keeps it open.
    prompt().answers = {Answer::Yes};
    prompt().files = {std::nullopt};
    EXPECT_FALSE(w->close());

    prompt().answers = {Answer::No};
    EXPECT_TRUE(w->close());
    EXPECT_TRUE(fs::exists(install.program() / "Setting.ini"));
}

}  // namespace
}  // namespace zt::gui::test
