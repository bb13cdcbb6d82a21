// Undo and Redo through the real program: edits in several windows, typed and
// chosen with keys as a user does, undone with Ctrl+Z and redone with the
// redo keys.

#include <QComboBox>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QTableWidget>
#include <QTreeWidget>
#include <vector>

#include "core/edit/channel_grid_rules.h"
#include "core/edit/option_rules.h"
#include "core/radio/channel_edit.h"
#include "gui/channels/channel_editor_window.h"
#include "gui/channels/channel_grid_view.h"
#include "gui/channels/channel_grid_window.h"
#include "gui/functions/dtmf_window.h"
#include "gui/functions/embedded_message_window.h"
#include "gui/functions/optional_features_window.h"
#include "gui/shell/started_program.h"
#include "gui/undo/undo_commands.h"
#include "gui/undo/undo_recorder.h"
#include "gui/widgets/guarded_line_edit.h"

namespace zt::gui::test {
namespace {

constexpr int kFreeGroup = 7;  // channels 321-360: empty and always editable

bool identical(const RadioDocument& a, const RadioDocument& b)
{
    return a.Data == b.Data && a.Channels == b.Channels;
}

class UndoRedo : public ::testing::Test {
  protected:
    void SetUp() override
    {
        if (!program.initDataPresent())
            GTEST_SKIP() << "the initial-data files are not built (target initdata)";
        program.window->activateWindow();
        startOnFreeGroup();
    }
    // The grid on the free group is where every test starts; no step leads
    // back from there.
    void startOnFreeGroup()
    {
        auto* combo = grid()->findChild<QComboBox*>("Combo7");
        combo->setCurrentIndex(kFreeGroup);
        settle();
        forgetUndoSteps(*program.window);
        program.prompt.asked.clear();
    }

    // Lets the queued checks of the last action run.
    static void settle()
    {
        QApplication::processEvents();
        QApplication::processEvents();
    }
    RadioDocument& doc() { return program.app.documents.working(); }
    UndoCommands& commands() { return *undoCommandsOf(*program.window); }
    std::size_t undoSteps() { return commands().recorder().history().undoCount(); }

    ChannelGridWindow* grid() const
    {
        return qobject_cast<ChannelGridWindow*>(program.window->childWindow("frmCommChInfo"));
    }
    template <class T>
    T* child(const char* name) const
    {
        return qobject_cast<T*>(program.window->childWindow(name));
    }
    QLineEdit* text1() const { return grid()->findChild<QLineEdit*>("Text1"); }
    // Moves the grid's cursor to a cell (row 1-based), which enters it.
    void clickCell(int row, int col)
    {
        program.window->showChildWindow("frmCommChInfo");
        ChannelGridView* table = grid()->grid();
        // Entering the cell the cursor is on: the cursor comes from the
        // next column (a click would meet the guard after a double click).
        if (table->currentRow() == row - 1 && table->currentColumn() == col)
            table->setCurrentCell(row - 1, col + 1);
        table->setCurrentCell(row - 1, col);
        settle();
    }
    // Types a value into a grid cell and confirms it with Enter.
    void enterCell(int row, int col, const QString& keys)
    {
        clickCell(row, col);
        ASSERT_TRUE(text1() && text1()->isVisible());
        QTest::keyClicks(text1(), keys);
        QTest::keyClick(text1(), Qt::Key_Return);
        settle();
    }
    // The keys go where the user's focus is.
    QWidget* focus() const
    {
        QWidget* f = QApplication::focusWidget();
        return f ? f : program.window.get();
    }
    void pressUndo()
    {
        QTest::keyClick(focus(), Qt::Key_Z, Qt::ControlModifier);
        settle();
    }
    void pressRedo(bool withY)
    {
        if (withY)
            QTest::keyClick(focus(), Qt::Key_Y, Qt::ControlModifier);
        else
            QTest::keyClick(focus(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        settle();
    }
    QStringList openWindows() const
    {
        QStringList names;
        for (QMdiSubWindow* w : program.window->mdiArea()->subWindowList())
            names << w->widget()->objectName();
        return names;
    }
    const ChannelRecord* channel(int chNo) { return doc().findChannel(chNo); }

    StartedProgram program;
};

TEST_F(UndoRedo, EditsInSeveralWindowsAreUndoneAndRedoneToIdenticalDocuments)
{
    // The windows of the edits are open; opening them is no step.
    emit grid()->grid()->doubleClicked(grid()->grid()->model()->index(0, kColEditor));
    program.action("mnuOptFeature")->trigger();
    program.action("MnuDTMF")->trigger();
    program.action("mnuEmbeddedMsg")->trigger();
    settle();
    auto* editor = child<ChannelEditorWindow>("FrmCHInfoEdit");
    auto* options = child<OptionalFeaturesWindow>("FrmOptFeatures");
    auto* dtmf = child<DtmfWindow>("FrmDTMF");
    auto* message = child<EmbeddedMessageWindow>("FrmEmbMsg");
    ASSERT_TRUE(editor && options && dtmf && message);
    EXPECT_EQ(undoSteps(), 0u);

    std::vector<RadioDocument> states{doc()};
    auto stepDone = [&](const char* what) {
        ASSERT_TRUE(documentsDiffer(doc(), states.back())) << what;
        states.push_back(doc());
        EXPECT_EQ(undoSteps(), states.size() - 1) << what;
    };

    // Grid cells: two new channels.
    enterCell(1, kColRx, "27.005");
    ASSERT_NE(channel(321), nullptr);
    stepDone("first grid cell");
    enterCell(2, kColRx, "27.015");
    ASSERT_NE(channel(322), nullptr);
    stepDone("second grid cell");

    // The channel editor on channel 321: the next decode tone.
    clickCell(1, kColRx);
    QTest::keyClick(editor->combo2(0), Qt::Key_Down);
    QTest::keyClick(editor->combo2(0), Qt::Key_Return);  // a list entry ends with Enter
    settle();
    stepDone("channel editor");

    // An optional feature: the next time-out time.
    QTest::keyClick(options->list(opt::TimeOut), Qt::Key_Down);
    settle();
    stepDone("optional features");

    // A DTMF memory code typed key by key is one step.
    QTest::keyClicks(dtmf->memoryBox(3), "123");
    settle();
    QTest::keyClicks(dtmf->memoryBox(3), "4");
    settle();
    stepDone("DTMF code");

    // An embedded message line, one step as well.
    QTest::keyClicks(message->line(1), "HELLO");
    settle();
    stepDone("embedded message");

    const QStringList windows = openWindows();
    ASSERT_TRUE(commands().undoAction()->isEnabled());
    EXPECT_FALSE(commands().redoAction()->isEnabled());

    for (std::size_t i = states.size() - 1; i-- > 0;) {
        pressUndo();
        EXPECT_TRUE(identical(doc(), states[i])) << "undo to state " << i;
    }
    EXPECT_FALSE(commands().undoAction()->isEnabled());
    EXPECT_TRUE(commands().redoAction()->isEnabled());
    // Every window is open again and shows the document as it now is.
    EXPECT_EQ(openWindows().join(' ').toStdString(), windows.join(' ').toStdString());
    EXPECT_EQ(child<EmbeddedMessageWindow>("FrmEmbMsg")->line(1)->text(), "");
    EXPECT_EQ(child<DtmfWindow>("FrmDTMF")->memoryBox(3)->text(), "");
    EXPECT_EQ(grid()->cellText(1, kColRx), "");
    pressUndo();  // nothing more to undo: nothing changes
    EXPECT_TRUE(identical(doc(), states.front()));

    for (std::size_t i = 1; i < states.size(); ++i) {
        pressRedo(i % 2 == 0);
        EXPECT_TRUE(identical(doc(), states[i])) << "redo to state " << i;
    }
    EXPECT_FALSE(commands().redoAction()->isEnabled());
    EXPECT_EQ(child<EmbeddedMessageWindow>("FrmEmbMsg")->line(1)->text(), "HELLO");
    EXPECT_EQ(child<DtmfWindow>("FrmDTMF")->memoryBox(3)->text(), "1234");
    EXPECT_EQ(grid()->cellText(1, kColRx), "27.00500");
    EXPECT_TRUE(program.prompt.asked.empty());
}

TEST_F(UndoRedo, TheModifiedStateFollowsUndoAndRedo)
{
    enterCell(1, kColRx, "27.005");
    const fs::path file = program.root() / "saved.dat";
    program.prompt.files = {QString::fromStdString(file.string())};
    program.action("mnuFileSaveAs")->trigger();
    settle();
    ASSERT_FALSE(program.app.documents.IsModified());

    enterCell(2, kColRx, "27.015");
    EXPECT_TRUE(program.app.documents.IsModified());
    const int row = grid()->grid()->currentRow();
    ASSERT_NE(grid()->grid()->currentColumn(), kColRx);
    pressUndo();  // back to the saved state
    // The grid stays on its row; the row is empty again, so on its frequency.
    EXPECT_EQ(grid()->grid()->currentRow(), row);
    EXPECT_EQ(grid()->grid()->currentColumn(), kColRx);
    EXPECT_FALSE(program.app.documents.IsModified());
    EXPECT_EQ(channel(322), nullptr);
    pressRedo(true);
    EXPECT_TRUE(program.app.documents.IsModified());
    pressUndo();
    pressUndo();  // before the save: the file holds more than the document
    EXPECT_TRUE(program.app.documents.IsModified());
    EXPECT_EQ(channel(321), nullptr);
    pressRedo(false);
    EXPECT_FALSE(program.app.documents.IsModified());
}

TEST_F(UndoRedo, TypingIsTakenBackByTheBoxOrAsTheLatestStep)
{
    // An entry still being typed into a cell is written as the Edit menu
    // opens, and Undo takes it back.
    const RadioDocument start = doc();
    clickCell(1, kColRx);
    QTest::keyClicks(text1(), "27.005");
    ASSERT_EQ(channel(321), nullptr);
    emit program.window->findChild<QMenu*>("mnuEdit")->aboutToShow();
    program.action("mnuEditUndo")->trigger();
    settle();
    EXPECT_TRUE(identical(doc(), start));
    program.action("mnuEditRedo")->trigger();
    settle();
    ASSERT_NE(channel(321), nullptr);
    EXPECT_EQ(channel(321)->RxFre.cut(), "02700500");

    // An entry written as the user clicks the function tree to open a window
    // is a step of its own, not one of the values the window opens with.
    clickCell(2, kColRx);
    QTest::keyClicks(text1(), "27.015");
    auto* tree = program.window->findChild<QTreeWidget*>("TreeView1");
    QTreeWidgetItem* messageNode = nullptr;
    for (int i = 0; i < tree->topLevelItem(0)->childCount(); ++i)
        if (tree->topLevelItem(0)->child(i)->data(0, Qt::UserRole) == "N6")
            messageNode = tree->topLevelItem(0)->child(i);
    ASSERT_NE(messageNode, nullptr);
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {},
                      tree->visualItemRect(messageNode).center());
    settle();
    ASSERT_NE(child<EmbeddedMessageWindow>("FrmEmbMsg"), nullptr);
    ASSERT_NE(channel(322), nullptr);
    EXPECT_EQ(undoSteps(), 2u);

    // Ctrl+Z in a text box takes back its typing; typing and its undo leave
    // no step behind.
    const RadioDocument before = doc();
    QLineEdit* line = child<EmbeddedMessageWindow>("FrmEmbMsg")->line(1);
    line->setFocus();
    QTest::keyClicks(line, "AB");
    settle();
    EXPECT_EQ(undoSteps(), 3u);
    QTest::keyClick(line, Qt::Key_Z, Qt::ControlModifier);
    settle();
    EXPECT_EQ(line->text(), "");
    EXPECT_FALSE(documentsDiffer(doc(), before));
    EXPECT_EQ(undoSteps(), 2u);

    // With nothing of its own to undo, the box passes Ctrl+Z to the document.
    QTest::keyClick(line, Qt::Key_Z, Qt::ControlModifier);
    settle();
    EXPECT_EQ(channel(322), nullptr);
    EXPECT_NE(channel(321), nullptr);
}

TEST_F(UndoRedo, AChangeMadeWhileTheWindowsStepAsideIsOneStep)
{
    // As an import does it: the windows close, the channels go in, the
    // windows come back.
    program.action("MnuDTMF")->trigger();
    settle();
    const RadioDocument before = doc();
    program.window->closeAllChildWindows();
    newChannel(doc(), 330, "02705000");
    program.window->showChildWindow("frmCommChInfo");
    settle();
    EXPECT_EQ(undoSteps(), 1u);
    pressUndo();
    EXPECT_EQ(channel(330), nullptr);
    EXPECT_TRUE(identical(doc(), before));
}

TEST_F(UndoRedo, LookingAtTheWindowsOfANewDocumentChangesNothing)
{
    // A new document holds the values its windows show.
    program.prompt.answers = {Answer::No, Answer::Ok};
    program.action("mnuFileNew")->trigger();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !program.window->newDocTimer().isActive(); }));
    settle();
    ASSERT_FALSE(program.app.documents.IsModified());
    const RadioDocument before = doc();
    for (const char* window : {"mnuOptFeature", "MnuDTMF", "mnuResetInit", "mnuToneTips",
                               "mnuEmbeddedMsg", "MnuLocalInfo"}) {
        program.action(window)->trigger();
        settle();
        EXPECT_FALSE(program.app.documents.IsModified()) << window;
    }
    EXPECT_EQ(before.Data.Options, doc().Data.Options);
    EXPECT_EQ(before.Data.Dtmf, doc().Data.Dtmf);
    EXPECT_TRUE(identical(doc(), before));
    EXPECT_EQ(undoSteps(), 0u);
}

TEST_F(UndoRedo, AValueAWindowMustChangeToShowItIsAStepOfItsOwnAndSaid)
{
    // A file from elsewhere: a time-out of 7 s, which the list (off, 15, 30 .. s) cannot show.
    doc().Data.Options.TimeOutTimer = 7;
    forgetUndoSteps(*program.window);
    const RadioDocument before = doc();
    program.action("mnuOptFeature")->trigger();
    settle();
    EXPECT_EQ(doc().Data.Options.TimeOutTimer, 0);
    EXPECT_EQ(undoSteps(), 1u);
    const QString said = program.window->statusHint();
    EXPECT_TRUE(said.contains(program.app.text(text::msg::WindowChangedStoredValue).arg("")))
        << said.toStdString();
    // Closed again, the window no longer needs the change: Undo takes it back.
    program.window->closeAllChildWindows();
    settle();
    pressUndo();
    EXPECT_EQ(doc().Data.Options.TimeOutTimer, 7);
    EXPECT_EQ(doc().Data.Options, before.Data.Options);
    EXPECT_TRUE(identical(doc(), before));
}

TEST_F(UndoRedo, UndoTakesBackAValueAWindowChangedToShowItWhileTheWindowStaysOpen)
{
    // A file from elsewhere: a time-out of 7 s and a voice volume of 0, which the
    // lists (off, 15, 30 .. s; 1 .. 5) cannot show.
    doc().Data.Options.TimeOutTimer = 7;
    doc().Data.Options.VoiceVolume = 0;
    forgetUndoSteps(*program.window);
    const RadioDocument before = doc();
    program.action("mnuOptFeature")->trigger();
    settle();
    ASSERT_EQ(doc().Data.Options.TimeOutTimer, 0);
    ASSERT_EQ(doc().Data.Options.VoiceVolume, 1);
    ASSERT_EQ(undoSteps(), 1u);

    // The window stays open: its reload must not change the values again.
    pressUndo();
    EXPECT_NE(program.window->childWindow("FrmOptFeatures"), nullptr);
    EXPECT_EQ(doc().Data.Options.TimeOutTimer, 7);
    EXPECT_EQ(doc().Data.Options.VoiceVolume, 0);
    EXPECT_TRUE(identical(doc(), before));
    EXPECT_EQ(undoSteps(), 0u);
    EXPECT_TRUE(commands().redoAction()->isEnabled());
    EXPECT_EQ(program.window->statusHint(), program.app.text(text::others::RestoredValuesNotShown));

    pressRedo(true);
    EXPECT_EQ(doc().Data.Options.TimeOutTimer, 0);
    EXPECT_EQ(doc().Data.Options.VoiceVolume, 1);
    pressUndo();
    EXPECT_TRUE(identical(doc(), before));
    EXPECT_EQ(undoSteps(), 0u) << "Undo and Redo leave no step of their own";
}

TEST_F(UndoRedo, NewOpenAndReadLeaveNothingToUndo)
{
    auto expectNothingToUndo = [&](const char* after) {
        EXPECT_FALSE(commands().undoAction()->isEnabled()) << after;
        EXPECT_FALSE(commands().redoAction()->isEnabled()) << after;
        const RadioDocument now = doc();
        pressUndo();
        EXPECT_TRUE(identical(doc(), now)) << after;
    };
    const fs::path file = program.root() / "open.dat";
    enterCell(1, kColRx, "27.005");
    program.prompt.files = {QString::fromStdString(file.string())};
    program.action("mnuFileSaveAs")->trigger();
    settle();

    // New (the changes are not saved).
    enterCell(2, kColRx, "27.015");
    ASSERT_TRUE(commands().undoAction()->isEnabled());
    program.prompt.answers = {Answer::No, Answer::Ok};
    program.action("mnuFileNew")->trigger();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !program.window->newDocTimer().isActive(); }));
    settle();
    EXPECT_EQ(channel(321), nullptr);
    expectNothingToUndo("New");

    // Open.
    startOnFreeGroup();
    enterCell(3, kColRx, "27.025");
    program.prompt.answers = {Answer::No};
    program.prompt.files = {QString::fromStdString(file.string())};
    program.action("mnuFileOpen")->trigger();
    settle();
    ASSERT_NE(channel(321), nullptr);
    expectNothingToUndo("Open");

    // Read from the radio.
    startOnFreeGroup();
    enterCell(4, kColRx, "27.035");
    program.prompt.answers = {Answer::Ok};
    program.action("mnuReadFromRadio")->trigger();
    program.runUntil([&] { return !program.window->transfers().busy() && program.clock.idle(); });
    settle();
    EXPECT_EQ(channel(324), nullptr);
    expectNothingToUndo("Read");
}

}  // namespace
}  // namespace zt::gui::test
