// The programming program as a new user meets it: started the way main() starts
// it, with the built initial-data files, and used through menus, toolbar and keys.

#include <QComboBox>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPointer>
#include <QSettings>
#include <QStandardPaths>
#include <QTreeWidget>

#include "core/edit/channel_grid_rules.h"
#include "core/files/data_file.h"
#include "core/files/document_store.h"
#include "gui/channels/channel_grid_view.h"
#include "gui/channels/channel_grid_window.h"
#include "gui/widgets/qt_translations.h"
#include "shell_fixture.h"
#include "started_program.h"

namespace zt::gui::test {
namespace {

constexpr int kFreeGroup = 7;  // channels 321-360: empty and always editable
constexpr int kUkGroup = 6;    // channels 281-320: the UK plan from 27.60125 MHz

class FirstUse : public ::testing::Test {
  protected:
    void SetUp() override
    {
        if (!program.initDataPresent())
            GTEST_SKIP() << "the initial-data files are not built (target initdata)";
        program.prompt.asked.clear();
    }

    ChannelGridWindow* grid() const
    {
        return qobject_cast<ChannelGridWindow*>(program.window->childWindow("frmCommChInfo"));
    }
    QLineEdit* text1() const { return grid()->findChild<QLineEdit*>("Text1"); }
    // The frequency editor exists only while its cell is edited.
    bool editorShown() const { return text1() && text1()->isVisible(); }

    void showGroup(int group)
    {
        auto* combo = grid()->findChild<QComboBox*>("Combo7");
        combo->setCurrentIndex(group);
        QApplication::processEvents();
    }
    // Moves the grid's cursor to a cell (row 1-based), which enters it; a click
    // on the cell where its editor already stands selects the editor's text.
    void clickCell(int row, int col)
    {
        ChannelGridView* table = grid()->grid();
        if (table->currentRow() == row - 1 && table->currentColumn() == col) {
            if (editorShown())
                text1()->selectAll();
            else
                emit table->clicked(table->model()->index(row - 1, col));
        } else {
            table->setCurrentCell(row - 1, col);
        }
        QApplication::processEvents();
    }
    // Types into the cell's editor without pressing Enter: the entry is pending.
    void typeIntoCell(int row, int col, const QString& keys)
    {
        clickCell(row, col);
        ASSERT_TRUE(editorShown());
        QTest::keyClicks(text1(), keys);
    }
    const ChannelRecord* channel(int chNo)
    {
        return program.app.documents.working().findChannel(chNo);
    }

    StartedProgram program;
};

RadioDocument savedDocument(const fs::path& file)
{
    const ParsedDataFile parsed = readDataFile(file);
    EXPECT_EQ(parsed.messageId, 0) << file;
    return parsed.document;
}

TEST_F(FirstUse, AnEntryStillBeingTypedIsSavedByEveryCommand)
{
    const fs::path file = program.root() / "typed.dat";
    showGroup(kFreeGroup);
    // File > Save As from the menu.
    typeIntoCell(1, kColRx, "27.005");
    program.prompt.files = {QString::fromStdString(file.string())};
    program.action("mnuFileSaveAs")->trigger();
    const RadioDocument first = savedDocument(file);
    ASSERT_NE(first.findChannel(321), nullptr);
    EXPECT_EQ(first.findChannel(321)->RxFre.cut(), "02700500");
    EXPECT_FALSE(program.app.documents.IsModified());

    // The toolbar's Save on the now titled document (the question answered OK).
    typeIntoCell(2, kColRx, "27.015");
    program.prompt.answers = {Answer::Ok};
    program.action("SaveFile")->trigger();
    ASSERT_NE(savedDocument(file).findChannel(322), nullptr);

    // Opening a menu already writes the entry, before anything is chosen.
    typeIntoCell(3, kColRx, "27.025");
    EXPECT_EQ(channel(323), nullptr);
    emit program.window->findChild<QMenu*>("mnuFile")->aboutToShow();
    ASSERT_NE(channel(323), nullptr);
    EXPECT_EQ(channel(323)->RxFre.cut(), "02702500");
}

TEST_F(FirstUse, AnEntryStillBeingTypedIsKeptThroughExitAndModelAndLanguageWindows)
{
    showGroup(kFreeGroup);
    typeIntoCell(1, kColRx, "27.005");
    // The model window (cancelled) still sees the entry in the document.
    program.prompt.defaultAnswer = Answer::Cancel;
    program.window->showModalWindow("FrmModelInfo");
    EXPECT_NE(channel(321), nullptr);

    typeIntoCell(2, kColRx, "27.015");
    program.prompt.answers = {Answer::Cancel};  // "save changes?" on exit: stay
    program.window->close();
    EXPECT_NE(channel(322), nullptr);
    EXPECT_EQ(program.prompt.askedIds(), (std::vector<int>{9006}));
}

TEST_F(FirstUse, UntouchedStartAsksNothingOnExitOrOpen)
{
    ASSERT_NE(grid(), nullptr);
    EXPECT_FALSE(program.app.documents.IsModified());
    program.prompt.files = {std::nullopt};
    program.action("mnuFileOpen")->trigger();
    EXPECT_TRUE(program.prompt.askedIds().empty());
    program.window->close();
    EXPECT_TRUE(program.prompt.asked.empty());
    EXPECT_FALSE(program.window->isVisible());
}

TEST_F(FirstUse, InitialDataIsStoredAsTheGridShowsIt)
{
    // Showing any group must not change the shipped document (its emergency rows
    // already name occupied rows).
    for (const char* name : {"ZT-958FM_0_NEW.dat", "ZT-958FM_0.dat"}) {
        const RadioDocument shipped = savedDocument(program.app.paths.programDir / "Init" / name);
        for (int g = 0; g < kNamedGroups; ++g) {
            RadioDocument shown = shipped;
            reshowEmergency(shown, g);
            EXPECT_FALSE(documentsDiffer(shown, shipped)) << name << " group " << g;
        }
    }
}

TEST_F(FirstUse, TheChannelGridOpensAtItsFullSize)
{
    QApplication::processEvents();
    ChannelGridView* table = grid()->grid();
    const int firstRow = table->rowAt(0);
    const int lastRow = table->rowAt(table->viewport()->height() - 1);
    // The window asks for 6800 x 6600 twips; at 20-pixel rows that shows over 15 rows.
    EXPECT_GE(lastRow - firstRow + 1, 15);
    auto* frame = qobject_cast<QMdiSubWindow*>(grid()->parentWidget());
    ASSERT_NE(frame, nullptr);
    EXPECT_GE(grid()->height(), 6600 / kTwipsPerPixel - 1);
}

TEST_F(FirstUse, ARefusedEntryIsReplacedByWhatTheDocumentHolds)
{
    // A channel, then a transmit entry that is not a number.
    showGroup(kFreeGroup);
    typeIntoCell(1, kColRx, "27.005");
    QTest::keyClick(text1(), Qt::Key_Return);
    typeIntoCell(1, kColTx, "1.2.");
    program.prompt.defaultAnswer = Answer::Cancel;      // the write itself is cancelled
    program.action("mnuBackupBeforeWrite")->trigger();  // the write alone, no backup read first
    program.action("WriteRadio")->trigger();
    program.runUntil([&] { return !program.prompt.asked.empty(); });
    EXPECT_EQ(text1()->text(), grid()->cellText(1, kColTx));
    EXPECT_NE(text1()->text(), "1.2.");

    // An out-of-band receive frequency is written as the band limit and shown so.
    typeIntoCell(2, kColRx, "99");
    program.prompt.asked.clear();
    program.action("mnuFileSave")->trigger();  // untitled: Save As, dialog cancelled
    EXPECT_EQ(program.prompt.askedIds().front(), 9021);
    EXPECT_EQ(text1()->text(), "30.10500");
    EXPECT_EQ(grid()->cellText(2, kColRx), "30.10500");
}

TEST_F(FirstUse, TransmitEditKeepsTheUkReceiveFrequency)
{
    program.app.documents.working().Data.Options.FrequencyChangeable = 1;
    showGroup(kUkGroup);
    ASSERT_EQ(grid()->cellText(1, kColRx), "27.60125");
    typeIntoCell(1, kColTx, "+0.1");
    QTest::keyClick(text1(), Qt::Key_Return);
    const ChannelRecord* rec = channel(281);
    ASSERT_NE(rec, nullptr);
    EXPECT_EQ(rec->RxFre.cut(), "02760125");
    EXPECT_EQ(rec->ShiftDir, 2);
    EXPECT_EQ(rec->OffsetFre.cut(), "0010000");
    EXPECT_EQ(grid()->cellText(1, kColRx), "27.60125");
}

TEST_F(FirstUse, LosingTheFocusToAnotherWindowWritesTheEntryAndHidesTheEditor)
{
    showGroup(kFreeGroup);
    QPointer<ChannelGridWindow> before = grid();
    typeIntoCell(1, kColRx, "27.005");
    program.action("mnuOptFeature")->trigger();
    QApplication::processEvents();
    ASSERT_TRUE(before);
    EXPECT_NE(program.window->childWindow("FrmOptFeatures"), nullptr);
    ASSERT_NE(channel(321), nullptr);
    EXPECT_FALSE(editorShown());
    EXPECT_EQ(grid()->cellText(1, kColRx), "27.00500");
}

TEST_F(FirstUse, FixedFrequenciesAreExplainedAndTypingDoesNotMoveTheCursor)
{
    showGroup(0);
    clickCell(5, kColRx);
    ChannelGridView* table = grid()->grid();
    ASSERT_EQ(table->currentRow(), 4);
    EXPECT_FALSE(editorShown());
    QTest::keyClicks(table, "31");
    EXPECT_EQ(table->currentRow(), 4);
    EXPECT_EQ(table->currentColumn(), kColRx);
    EXPECT_EQ(program.window->statusHint(), program.app.text(14940));
    EXPECT_EQ(grid()->cellText(5, kColRx), "27.01500");
}

TEST_F(FirstUse, RadioInformationAfterAReadShowsTheVersion)
{
    program.action("MnuLocalInfo")->trigger();
    program.runUntil([&] { return program.window->childWindow("FrmRadioInfo") != nullptr; });
    QWidget* info = program.window->childWindow("FrmRadioInfo");
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(info->findChild<QLineEdit*>("TextVersion")->text(), "V3.00");
    EXPECT_FALSE(info->findChild<QLineEdit*>("TextProductionDate")->text().isEmpty());
}

TEST_F(FirstUse, TheTreePaneFitsItsLongestLabel)
{
    auto* tree = program.window->findChild<QTreeWidget*>("TreeView1");
    QTreeWidgetItem* root = tree->topLevelItem(0);
    int widest = 0;
    for (int i = 0; i < root->childCount(); ++i)
        widest = std::max(widest, tree->fontMetrics().horizontalAdvance(root->child(i)->text(0)));
    EXPECT_GE(program.window->findChild<QWidget*>("Picture1")->width(),
              widest + 2 * tree->indentation());
}

// The stored language differs from the locale: the first activation re-applies it.
class FirstActivation : public ::testing::Test {
  protected:
    StartedProgram program{StartOptions{kLocaleEnglishUs, 2}};
};

TEST_F(FirstActivation, WindowsAreRecreatedAfterTheActivatingEventNotInsideIt)
{
    if (!program.initDataPresent()) GTEST_SKIP() << "the initial-data files are not built";
    QApplication::setActiveWindow(nullptr);
    QApplication::processEvents();
    // Still to be applied, as when no window manager activated the window at start.
    program.app.appliedLanguage = 1;
    QPointer<QWidget> grid = program.window->childWindow("frmCommChInfo");
    auto* groups = grid->findChild<QComboBox*>("Combo7");
    groups->showPopup();
    QPointer<QWidget> popup = groups->view();
    // The activation arrives while the list opens.
    QApplication::setActiveWindow(program.window.get());
    EXPECT_TRUE(grid) << "the grid was deleted inside the activation";
    EXPECT_TRUE(popup);
    QApplication::processEvents();
    QApplication::processEvents();
    EXPECT_EQ(program.app.appliedLanguage, 2);
    QWidget* now = program.window->childWindow("frmCommChInfo");
    ASSERT_NE(now, nullptr);
    EXPECT_EQ(program.window->findChild<QAction*>("mnuFileOpen")->text(), program.app.text(10002));
    EXPECT_EQ(program.app.text(10002), QString::fromUtf8(program.app.texts.GetLangText(10002)));
}

TEST(UnstorableValues, AreExplainedInTheProgramsLanguage)
{
    StartedProgram program(StartOptions{kLocaleChinesePrc, 0});
    RadioDocument& doc = program.app.documents.working();
    ASSERT_GT(doc.Data.ChannelCount, 0);
    doc.Channels[0].DecodeTone = 300;
    const int chNo = doc.Channels[0].ChNo;
    program.action("WriteRadio")->trigger();
    program.runUntil([&] { return !program.prompt.asked.empty(); });
    ASSERT_EQ(program.prompt.askedIds(), (std::vector<int>{9067}));
    const QString details = QString::fromStdString(program.prompt.asked[0].message.text);
    const QString expected = program.app.text(9948).replace("%1", QString::number(chNo)) + ": " +
                             program.app.text(15940) + " 300 " + "超出范围 0–264";
    EXPECT_TRUE(details.contains(expected)) << details.toStdString();
    EXPECT_FALSE(details.contains("outside")) << details.toStdString();
    // The answer arrives from the event loop: it must reach this program, not a later one.
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
}

TEST(WindowPosition, SurvivesALanguageChangeInTheUsersStore)
{
    // The user's store itself, in Qt's test location (not the real settings).
    QStandardPaths::setTestModeEnabled(true);
    QSettings(QSettings::NativeFormat, QSettings::UserScope, "ZTP958FM", "ZTP958FM").clear();
    ShellInstall install;
    {
        ShellProgram p(install);
        p.window = std::make_unique<MainWindow>(p.app);
        p.window->formLoad();
        p.window->move(120, 90);
        p.window->resize(900, 700);
        p.window->close();
    }
    {
        // The title is now Chinese; the position is still found.
        install.writeMySetup("[language]\nIsFirstRun=0\ncomPort=1\nCurrentLanguage=2\n");
        ShellProgram p(install);
        ASSERT_NE(p.app.applicationTitle, QString("ZT-958FM Programming Software"));
        p.window = std::make_unique<MainWindow>(p.app);
        p.window->formLoad();
        EXPECT_EQ(p.window->size(), QSize(900, 700));
    }
    QSettings(QSettings::NativeFormat, QSettings::UserScope, "ZTP958FM", "ZTP958FM").clear();
    QStandardPaths::setTestModeEnabled(false);
}

TEST(QtOwnTexts, FollowTheProgramsLanguage)
{
    if (!applyQtTranslations(2)) GTEST_SKIP() << "Qt's Chinese translations are not installed";
    const QString chinese = QCoreApplication::translate("QPlatformTheme", "Cancel");
    applyQtTranslations(1);
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), "Cancel");
    EXPECT_NE(chinese, "Cancel");
}

}  // namespace
}  // namespace zt::gui::test
