#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>

#include "channel_rig.h"

namespace zt::gui::testing {
namespace {

void choose(QComboBox* list, int index)
{
    list->setCurrentIndex(index);
    emit list->activated(index);
}

// An editor opened while the grid is closed, on (group, row).
std::unique_ptr<ChannelEditorWindow> openEditorAlone(ChannelRig& rig, int group, int row)
{
    rig.app.channelEdit.currentGroup = group;
    rig.app.channelEdit.editRow = row;
    auto editor = std::make_unique<ChannelEditorWindow>(rig.app);
    editor->show();
    return editor;
}

QComboBox* named(QWidget* w, const char* name)
{
    return w->findChild<QComboBox*>(name);
}

TEST(ChannelEditorLists, RepListOnlyForTheVfoGroup)
{
    ChannelRig rig;
    rig.add(521, "02700000");
    rig.add(1, "02700000");
    auto editor = openEditorAlone(rig, 12, 1);
    QComboBox* rep = editor->combo2(17);
    EXPECT_TRUE(rep->isVisible());
    EXPECT_EQ(entries(rep), (QStringList{rig.app.text(15030), "+100K", "-100K"}));
    choose(named(editor.get(), "Combo4"), 0);
    EXPECT_FALSE(rep->isVisible());
}

TEST(ChannelEditorLists, BusyLockEntriesFollowTheReceiveTone)
{
    ChannelRig rig;
    ChannelRecord& a = rig.add(401, "02700000");
    a.BusyChannelLock = 2;
    ChannelRecord& b = rig.add(402, "02700000");
    b.BusyChannelLock = 3;
    b.DecodeTone = 5;
    auto editor = openEditorAlone(rig, 9, 1);
    EXPECT_EQ(editor->combo2(6)->count(), 2);
    EXPECT_EQ(editor->combo2(6)->currentIndex(), 1);
    EXPECT_EQ(rig.doc().findChannel(401)->BusyChannelLock, 1);

    choose(editor->combo2(0), 7);
    EXPECT_EQ(rig.doc().findChannel(401)->DecodeTone, 7);
    EXPECT_EQ(editor->combo2(6)->count(), 3);
    choose(editor->combo2(6), 2);
    EXPECT_EQ(rig.doc().findChannel(401)->BusyChannelLock, 2);

    choose(named(editor.get(), "Combo1"), 1);
    EXPECT_EQ(editor->combo2(6)->currentIndex(), 0);
    EXPECT_EQ(rig.doc().findChannel(402)->BusyChannelLock, 0);
}

TEST(ChannelEditorLists, TypedToneIsWrittenOnceWhenTheEntryEnds)
{
    ChannelRig rig;
    rig.add(401, "02700000");
    auto editor = openEditorAlone(rig, 9, 1);
    editor->activateWindow();
    QApplication::setActiveWindow(editor.get());
    QComboBox* rx = editor->combo2(0);
    rx->setFocus();
    QTest::keyClicks(rx, "88.5");
    EXPECT_EQ(rig.doc().findChannel(401)->EncodeTone, 0);  // "8" alone would be 82.5
    QTest::keyClick(rx, Qt::Key_Return);                   // moves on: the entry ends
    EXPECT_EQ(rig.doc().findChannel(401)->DecodeTone, 9);
    EXPECT_EQ(rig.doc().findChannel(401)->EncodeTone, 9);
}

TEST(ChannelEditorLists, UndefinedRbAndBotReferencesShowFirstEntryAndStay)
{
    ChannelRig rig;
    RadioData& data = rig.doc().Data;
    data.Dtmf.Memory[1].Length = 4;  // code 2 is the only non-empty one
    ChannelRecord& rec = rig.add(401, "02700000");
    rec.RBTone = 3;
    rec.BotCode = 5;
    rec.EotCode = 2;
    auto editor = openEditorAlone(rig, 9, 1);
    EXPECT_EQ(entries(editor->combo2(11)), QStringList{rig.app.text(15030)});
    EXPECT_EQ(editor->combo2(11)->currentIndex(), 0);
    EXPECT_EQ(entries(editor->combo2(8)), (QStringList{rig.app.text(14013), "2"}));
    EXPECT_EQ(editor->combo2(8)->currentIndex(), 0);
    EXPECT_EQ(editor->combo2(10)->currentText(), "2");
    EXPECT_EQ(rig.doc().findChannel(401)->RBTone, 3);
    EXPECT_EQ(rig.doc().findChannel(401)->BotCode, 5);

    choose(editor->combo2(8), 1);
    EXPECT_EQ(rig.doc().findChannel(401)->BotCode, 2);
    choose(editor->combo2(11), 0);
    EXPECT_EQ(rig.doc().findChannel(401)->RBTone, 0);
}

TEST(ChannelEditorLists, CheckBoxesAndTsqWriteTheirFields)
{
    ChannelRig rig;
    rig.add(401, "02700000");
    auto editor = openEditorAlone(rig, 9, 1);
    editor->check1(10)->click();
    editor->check1(0)->click();
    choose(editor->combo2(18), 1);
    const ChannelRecord* rec = rig.doc().findChannel(401);
    EXPECT_EQ(rec->Attenuator, 1);
    EXPECT_EQ(rec->ScanSkip, 1);
    EXPECT_EQ(rec->Tsq, 1);
}

TEST(ChannelEditorPositions, EmptyPositionThenTypedFrequencyCreatesChannel)
{
    ChannelRig rig;
    rig.add(401, "02700000");
    rig.doc().Data.Options.CurrentGroup = 9;  // the grid's last group decides the frequency lock
    auto editor = openEditorAlone(rig, 9, 5);
    auto* text1 = editor->findChild<QLineEdit*>("Text1");
    EXPECT_EQ(text1->text(), "");
    EXPECT_TRUE(text1->isEnabled());
    EXPECT_EQ(entries(editor->combo2(0)), QStringList{" "});
    EXPECT_FALSE(editor->combo2(0)->isEnabled());
    EXPECT_FALSE(editor->check1(0)->isEnabled());
    choose(editor->combo2(0), 0);  // the blank entry writes nothing
    EXPECT_EQ(rig.doc().Data.ChannelCount, 1);

    text1->setFocus();
    QTest::keyClicks(text1, "28x.5");
    EXPECT_EQ(text1->text(), "28.5");
    QTest::keyClick(text1, Qt::Key_Return);
    const ChannelRecord* rec = rig.doc().findChannel(405);
    ASSERT_NE(rec, nullptr);
    EXPECT_EQ(rec->RxFre.cut(), "02850000");
    EXPECT_EQ(rec->DecodeTone, 0);
    EXPECT_TRUE(editor->combo2(0)->isEnabled());
    EXPECT_EQ(editor->combo2(0)->count(), 265);
    EXPECT_EQ(text1->text(), "28.50000");
}

TEST(ChannelEditorPositions, ChannelListPerGroupWithTheGridClosed)
{
    ChannelRig rig;
    rig.add(1, "02700000");
    auto editor = openEditorAlone(rig, 0, 1);
    QComboBox* group = named(editor.get(), "Combo4");
    QComboBox* channel = named(editor.get(), "Combo1");
    choose(group, 1);
    EXPECT_EQ(channel->count(), 80);
    EXPECT_EQ(channel->itemText(79), "80");
    EXPECT_EQ(rig.app.channelEdit.currentGroup, 1);
    EXPECT_EQ(rig.doc().Data.Options.CurrentGroup, 0);  // the grid's group stays
    choose(group, 0);
    EXPECT_EQ(channel->count(), 40);
    choose(group, 12);
    EXPECT_EQ(entries(channel), QStringList{"1"});
}

TEST(ChannelEditorWithGrid, FrequencyBoxLockedInGroupsZeroToSix)
{
    ChannelRig rig;
    rig.add(1, "02700000");
    rig.add(281, "02700000");
    rig.add(321, "02700000");
    rig.doc().Data.Options.FrequencyChangeable = 0;
    ChannelGridWindow& grid = rig.openGrid(6);
    grid.findChild<QPushButton*>("CommandCHInfoEdit")->click();
    ChannelEditorWindow* editor = rig.editor();
    ASSERT_NE(editor, nullptr);
    EXPECT_TRUE(rig.app.channelEdit.editorOpen);
    auto* text1 = editor->findChild<QLineEdit*>("Text1");
    EXPECT_FALSE(text1->isEnabled());
    EXPECT_TRUE(editor->combo2(0)->isEnabled());
    choose(named(editor, "Combo4"), 7);
    EXPECT_EQ(grid.shownGroup(), 7);  // the grid follows the editor
    EXPECT_TRUE(text1->isEnabled());
    EXPECT_EQ(text1->text(), "27.00000");
}

TEST(ChannelEditorPositions, FrequencyBoxFollowsTheEditorsOwnGroupWithTheGridClosed)
{
    ChannelRig rig;
    rig.add(121, "02700000");  // group 2, row 1
    rig.doc().Data.Options.FrequencyChangeable = 0;
    rig.doc().Data.Options.CurrentGroup = 9;  // the closed grid's group: always editable
    auto editor = openEditorAlone(rig, 9, 1);
    auto* text1 = editor->findChild<QLineEdit*>("Text1");
    EXPECT_TRUE(text1->isEnabled());

    choose(named(editor.get(), "Combo4"), 2);
    EXPECT_EQ(rig.app.channelEdit.currentGroup, 2);
    EXPECT_EQ(rig.doc().Data.Options.CurrentGroup, 9);
    EXPECT_FALSE(text1->isEnabled());  // the write would be refused here
    choose(named(editor.get(), "Combo4"), 7);
    EXPECT_TRUE(text1->isEnabled());
}

TEST(ChannelEditorWithGrid, EditorFollowsGridCellAndWritesRedisplayTheGrid)
{
    ChannelRig rig;
    rig.add(401, "02700000");
    rig.add(403, "02800000");
    ChannelGridWindow& grid = rig.openGrid(9);
    grid.findChild<QPushButton*>("CommandCHInfoEdit")->click();
    ChannelEditorWindow* editor = rig.editor();
    ASSERT_NE(editor, nullptr);
    rig.clickCell(3, 4);
    EXPECT_EQ(named(editor, "Combo1")->currentText(), "3");
    EXPECT_EQ(editor->findChild<QLineEdit*>("Text1")->text(), "28.00000");
    choose(editor->combo2(1), 2);
    EXPECT_EQ(rig.doc().findChannel(403)->EncodeTone, 2);
    EXPECT_EQ(rig.doc().findChannel(403)->DecodeTone, 2);  // both tones were off
    EXPECT_EQ(grid.cellText(3, 4), editor->combo2(0)->itemText(2));
    EXPECT_EQ(grid.cellText(3, 5), editor->combo2(1)->itemText(2));
    editor->close();
    EXPECT_FALSE(rig.app.channelEdit.editorOpen);
}

TEST(ChannelEditorWithGrid, DoubleClickOnDetailsOpensOneEditorAndGuardsClicks)
{
    ChannelRig rig;
    rig.add(401, "02700000");
    ChannelGridWindow& grid = rig.openGrid(9);
    ChannelGridView* t = rig.table();
    const QRect cell = t->visualRect(t->model()->index(0, 10));
    QTest::mousePress(t->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseRelease(t->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(t->viewport(), Qt::LeftButton, {}, cell.center());
    ChannelEditorWindow* editor = rig.editor();
    ASSERT_NE(editor, nullptr);
    EXPECT_TRUE(grid.doubleClickGuard().isActive());
    QTest::mouseDClick(t->viewport(), Qt::LeftButton, {}, cell.center());
    EXPECT_EQ(rig.editor(), editor);  // still the one editor
}

}  // namespace
}  // namespace zt::gui::testing
