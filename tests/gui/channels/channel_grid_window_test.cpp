#include <gtest/gtest.h>

#include <QLabel>
#include <QScrollBar>

#include "channel_rig.h"
#include "core/link/fresh_radio.h"
#include "core/radio/image_codec.h"
#include "core/radio/radio_image.h"

namespace zt::gui::testing {
namespace {

// ---- Showing groups ---------------------------------------------------------------------

TEST(ChannelGridGroups, OpensOnTheStoredGroupWithItsRowCount)
{
    ChannelRig rig;
    rig.add(41, "02700000");
    rig.add(120, "02800000");
    ChannelGridWindow& grid = rig.openGrid(1);
    EXPECT_EQ(grid.shownGroup(), 1);
    EXPECT_EQ(rig.app.channelEdit.currentGroup, 1);
    ASSERT_EQ(rig.table()->rowCount(), 80);
    EXPECT_EQ(grid.cellText(1, 0), "1");
    EXPECT_EQ(grid.cellText(80, 0), "80");
    EXPECT_EQ(grid.cellText(1, 1), "27.00000");
    EXPECT_EQ(grid.cellText(80, 1), "28.00000");
    EXPECT_EQ(grid.cellText(80, 10), ">>");
    EXPECT_TRUE(grid.windowTitle().contains("1 -- "));
    EXPECT_TRUE(rig.app.channelEdit.gridOpen);

    rig.list("Combo7")->setCurrentIndex(11);
    EXPECT_EQ(rig.table()->rowCount(), 40);
    EXPECT_EQ(rig.doc().Data.Options.CurrentGroup, 11);
    rig.add(481, "02900000");
    grid.refreshChannelRow(481);
    EXPECT_EQ(grid.cellText(1, 1), "29.00000");
}

TEST(ChannelGridGroups, VfoGroupShowsOneRowAndNoGroupSettings)
{
    ChannelRig rig;
    rig.add(521, "02700000");
    ChannelGridWindow& grid = rig.openGrid(12);
    EXPECT_EQ(rig.table()->rowCount(), 1);
    EXPECT_EQ(grid.cellText(1, 1), "27.00000");
    auto* name = grid.findChild<QLineEdit*>("Text3");
    EXPECT_EQ(name->text(), "VFO");
    EXPECT_FALSE(name->isEnabled());
    EXPECT_FALSE(rig.list("Combo8_0")->isVisible());
    EXPECT_FALSE(grid.findChild<QLabel*>("Label3_1")->isVisible());
    EXPECT_TRUE(grid.windowTitle().contains("12 -- VFO"));
}

TEST(ChannelGridGroups, EmptyRowsAndOutOfListIndices)
{
    ChannelRig rig;
    rig.add(3, "");
    ChannelRecord& rec = rig.add(4, "02700000");
    rec.DecodeTone = 400;  // outside the tone list
    rec.ScanSkip = 5;      // outside its two-entry list
    ChannelGridWindow& grid = rig.openGrid(0);
    EXPECT_EQ(grid.cellText(3, 1), "");
    EXPECT_EQ(grid.cellText(3, 2), "0.00000");
    for (int c = 1; c <= 9; ++c) EXPECT_EQ(grid.cellText(5, c), "") << c;
    EXPECT_EQ(grid.cellText(5, 0), "5");
    EXPECT_EQ(grid.cellText(5, 10), ">>");
    EXPECT_EQ(grid.cellText(4, 4), rig.app.text(14013));
    EXPECT_EQ(grid.cellText(4, 7), rig.app.text(14017));
}

TEST(ChannelGridGroups, ChannelsReadFromTheVirtualRadioLandInTheirRows)
{
    ChannelRig rig;
    const RadioMemory memory = freshRadioMemory();
    RadioImage image;
    std::copy_n(memory.begin(), image.bytes.size(), image.bytes.begin());
    decodeImage(image, rig.doc(), rig.app.state);
    ASSERT_GT(rig.doc().Data.ChannelCount, 0);
    for (int g : {0, 1, 6, 12}) {
        rig.openGrid(g);
        for (int r = 1; r <= GroupSize(g); ++r) {
            const ChannelRecord* rec = rig.doc().findChannel(GroupBase(g) + r);
            const std::string expected = rec ? rxCellText(*rec, rig.app.state.Limits) : "";
            EXPECT_EQ(rig.grid->cellText(r, 1).toStdString(), expected)
                << "group " << g << " row " << r;
        }
    }
}

// ---- Group name and emergency lists -----------------------------------------------------------

TEST(ChannelGridGroupSettings, TypedGroupNameIsStoredWithItsNul)
{
    ChannelRig rig;
    rig.add(1, "02700000");
    ChannelGridWindow& grid = rig.openGrid(0);
    auto* name = grid.findChild<QLineEdit*>("Text3");
    name->clear();
    QTest::keyClicks(name, "A~\\B");
    EXPECT_EQ(name->text(), "AB");
    EXPECT_EQ(rig.doc().Data.Groups[0].raw(), std::string("AB\0", 3));
    QTest::keyClicks(name, "C");
    EXPECT_EQ(rig.doc().Data.Groups[0].raw(), "ABC");
    name->clear();
    EXPECT_EQ(rig.doc().Data.Groups[0].raw(), std::string("\0  ", 3));
    EXPECT_TRUE(grid.windowTitle().contains("0 -- "));
}

TEST(ChannelGridGroupSettings, EmergencyListsSortedAndMissingRowReplaced)
{
    ChannelRig rig;
    rig.add(125, "02700000");
    rig.add(132, "02700500");
    rig.add(123, "02701000");
    rig.doc().Data.Options.EmergencyRows[2] = {0, 7};
    rig.openGrid(2);
    EXPECT_EQ(entries(rig.list("Combo8_0")), (QStringList{"3", "5", "12"}));
    EXPECT_EQ(rig.list("Combo8_0")->currentText(), "3");
    EXPECT_EQ(rig.list("Combo8_1")->currentText(), "3");
    EXPECT_EQ(rig.doc().Data.Options.EmergencyRows[2][1], 3);
    rig.list("Combo8_1")->setCurrentIndex(2);
    EXPECT_EQ(rig.doc().Data.Options.EmergencyRows[2][1], 12);

    rig.list("Combo7")->setCurrentIndex(4);
    EXPECT_EQ(rig.list("Combo8_0")->count(), 0);
}

// ---- Cell editing -------------------------------------------------------------------------

TEST(ChannelGridEditing, ToneCellOfEmptyRowSendsTheCursorToTheFrequency)
{
    ChannelRig rig;
    rig.add(321, "02700000");
    rig.openGrid(8);
    rig.clickCell(3, 4);
    EXPECT_EQ(rig.curRow(), 3);
    EXPECT_EQ(rig.curCol(), 1);
    EXPECT_TRUE(shown(rig.text1()));
    EXPECT_FALSE(shown(rig.list("Combo1")));
}

TEST(ChannelGridEditing, TypedFrequencyCreatesChannelAndMovesToDecodeTone)
{
    ChannelRig rig;
    rig.add(1, "02700000");
    ChannelGridWindow& grid = rig.openGrid(9);
    rig.clickCell(2, 1);
    QTest::keyClicks(rig.text1(), "27.613");
    QTest::keyClick(rig.text1(), Qt::Key_Return);
    const ChannelRecord* rec = rig.doc().findChannel(402);
    ASSERT_NE(rec, nullptr);
    EXPECT_EQ(rec->RxFre.cut(), "02761000");
    EXPECT_EQ(grid.cellText(2, 1), "27.61000");
    EXPECT_EQ(grid.cellText(2, 4), rig.app.text(14013));
    EXPECT_EQ(rig.curCol(), 4);
    EXPECT_EQ(rig.curRow(), 2);
    EXPECT_TRUE(shown(rig.list("Combo1")));
    EXPECT_TRUE(rig.prompt.asked.empty());
    // Row 2 is the smallest occupied row of group 9 now.
    EXPECT_EQ(rig.doc().Data.Options.EmergencyRows[9][0], 2);
}

TEST(ChannelGridEditing, OutOfBandEntryWarnsOnceAndIsClamped)
{
    ChannelRig rig;
    rig.add(1, "02700000");
    ChannelGridWindow& grid = rig.openGrid(10);
    rig.clickCell(1, 1);
    QTest::keyClicks(rig.text1(), "31");
    QTest::keyClick(rig.text1(), Qt::Key_Return);
    rig.clickCell(5, 0);  // leave the editor: the entry is not written a second time
    EXPECT_EQ(rig.prompt.askedIds(), std::vector<int>{9021});
    EXPECT_EQ(grid.cellText(1, 1), "30.10500");
}

TEST(ChannelGridEditing, ClearingFrequencyDeletesButNeverTheLastChannel)
{
    ChannelRig rig;
    rig.add(401, "02700000");
    rig.add(402, "02700500");
    ChannelGridWindow& grid = rig.openGrid(9);
    rig.clickCell(1, 1);
    rig.text1()->clear();
    QTest::keyClick(rig.text1(), Qt::Key_Return);
    EXPECT_EQ(rig.doc().findChannel(401), nullptr);
    EXPECT_EQ(grid.cellText(1, 1), "");
    EXPECT_EQ(rig.curRow(), 2);
    EXPECT_EQ(rig.curCol(), 1);
    rig.text1()->clear();
    QTest::keyClick(rig.text1(), Qt::Key_Return);
    EXPECT_EQ(rig.doc().Data.ChannelCount, 1);
    EXPECT_EQ(grid.cellText(2, 1), "27.00500");
}

TEST(ChannelGridEditing, FixedFrequenciesOfChannels321To400)
{
    ChannelRig rig;
    rig.add(330, "02700000");
    rig.add(410, "02700000");
    ChannelGridWindow& grid = rig.openGrid(7);
    rig.clickCell(10, 1);
    rig.text1()->setText("28");
    QTest::keyClick(rig.text1(), Qt::Key_Return);
    EXPECT_EQ(rig.doc().findChannel(330)->RxFre.cut(), "02700000");
    EXPECT_EQ(grid.cellText(10, 1), "27.00000");
    rig.list("Combo7")->setCurrentIndex(9);
    rig.clickCell(10, 1);
    rig.text1()->setText("28");
    QTest::keyClick(rig.text1(), Qt::Key_Return);
    EXPECT_EQ(rig.doc().findChannel(410)->RxFre.cut(), "02800000");
}

TEST(ChannelGridEditing, FrequencyLockAppliesToGroupsZeroToSixOnly)
{
    ChannelRig rig;
    rig.add(241, "02700000");
    rig.add(281, "02700000");
    rig.doc().Data.Options.FrequencyChangeable = 0;
    ChannelGridWindow& grid = rig.openGrid(5);
    rig.clickCell(1, 1);
    EXPECT_FALSE(shown(rig.text1()));
    QTest::keyClicks(rig.table(), "28");
    EXPECT_EQ(grid.cellText(1, 1), "27.00000");
    rig.clickCell(1, 4);
    EXPECT_TRUE(shown(rig.list("Combo1")));
    rig.list("Combo7")->setCurrentIndex(7);
    rig.clickCell(1, 1);
    EXPECT_TRUE(shown(rig.text1()));
    rig.doc().Data.Options.FrequencyChangeable = 1;
    rig.list("Combo7")->setCurrentIndex(6);
    rig.clickCell(1, 1);
    EXPECT_TRUE(shown(rig.text1()));
}

TEST(ChannelGridEditing, KeyFiltersOfTheTextEditors)
{
    ChannelRig rig;
    rig.add(401, "02700000");
    rig.openGrid(9);
    rig.clickCell(1, 1);
    rig.text1()->clear();
    QTest::keyClicks(rig.text1(), "2a7, +-.5");
    EXPECT_EQ(rig.text1()->text(), "27.5");
    // Column 2 (hidden) takes signs; the arrow keys can reach it.
    rig.text1()->setText("27.00000");
    QTest::keyClick(rig.text1(), Qt::Key_Return);
    rig.table()->setCurrentCell(0, 2);
    ASSERT_TRUE(shown(rig.text1()));
    rig.text1()->clear();
    QTest::keyClicks(rig.text1(), "+0x.1");
    EXPECT_EQ(rig.text1()->text(), "+0.1");
    QTest::keyClick(rig.text1(), Qt::Key_Return);
    EXPECT_EQ(rig.doc().findChannel(401)->ShiftDir, 2);
    EXPECT_EQ(rig.doc().findChannel(401)->OffsetFre.cut(), "0010000");

    rig.table()->setCurrentCell(0, 3);
    ASSERT_TRUE(shown(rig.text2()));
    QTest::keyClicks(rig.text2(), "a1-b.");
    EXPECT_EQ(rig.text2()->text(), "A1B");
}

TEST(ChannelGridEditing, TransmitEntryThatIsNoNumberIsRefusedAndTheUserIsTold)
{
    ChannelRig rig;
    ChannelRecord& rec = rig.add(401, "02700000");
    rec.OffsetFre.assign("0060000");
    rec.ShiftDir = 2;
    ChannelGridWindow& grid = rig.openGrid(9);
    rig.table()->setCurrentCell(0, 2);
    ASSERT_TRUE(shown(rig.text1()));
    rig.text1()->clear();
    QTest::keyClicks(rig.text1(), "+");
    QTest::keyClick(rig.text1(), Qt::Key_Return);
    EXPECT_EQ(rig.prompt.askedIds(), std::vector<int>{9980});
    EXPECT_EQ(rig.doc().findChannel(401)->ShiftDir, 2);
    EXPECT_EQ(rig.doc().findChannel(401)->OffsetFre.cut(), "0060000");
    EXPECT_EQ(grid.cellText(1, 2), "+0.60000");

    // Typed and left without Enter: refused the same way, once.
    rig.prompt.asked.clear();
    rig.table()->setCurrentCell(0, 2);
    rig.text1()->clear();
    QTest::keyClicks(rig.text1(), "-.");
    rig.clickCell(4, 0);
    EXPECT_EQ(rig.prompt.askedIds(), std::vector<int>{9980});
    EXPECT_EQ(rig.doc().findChannel(401)->ShiftDir, 2);
    EXPECT_EQ(grid.cellText(1, 2), "+0.60000");
}

TEST(ChannelGridEditing, EnterInEncodeToneWrapsToNextRowAndAfterLastRowToFirst)
{
    ChannelRig rig;
    rig.add(521, "02700000");
    rig.add(401, "02700000");
    rig.add(440, "02700000");
    rig.openGrid(9);
    rig.clickCell(1, 5);
    ASSERT_TRUE(shown(rig.list("Combo1")));
    QTest::keyClick(rig.list("Combo1"), Qt::Key_Return);
    EXPECT_EQ(rig.curRow(), 2);
    EXPECT_EQ(rig.curCol(), 1);
    rig.clickCell(40, 5);
    QTest::keyClick(rig.list("Combo1"), Qt::Key_Return);
    EXPECT_EQ(rig.curRow(), 1);
    EXPECT_EQ(rig.curCol(), 1);
}

TEST(ChannelGridEditing, PlacingAListWritesNothingChoosingWritesAtOnce)
{
    ChannelRig rig;
    ChannelRecord& rec = rig.add(401, "02700000");
    rec.DecodeTone = 3;
    ChannelGridWindow& grid = rig.openGrid(9);
    rig.clickCell(1, 5);
    QComboBox* list = rig.list("Combo1");
    ASSERT_TRUE(list->isVisible());
    EXPECT_EQ(rig.doc().findChannel(401)->EncodeTone, 0);  // placing the editor wrote nothing
    list->setCurrentIndex(10);
    emit list->activated(10);
    EXPECT_EQ(rig.doc().findChannel(401)->EncodeTone, 10);
    EXPECT_EQ(grid.cellText(1, 5), list->itemText(10));
}

// Tone list: 82.5 is entry 7, 88.5 entry 9 (67.0, 69.3, 71.9, 74.4, 77.0, 79.7, 82.5, 85.4, 88.5).
TEST(ChannelGridEditing, TypedToneIsWrittenOnceWhenTheEntryEnds)
{
    ChannelRig rig;
    rig.add(401, "02700000");
    rig.add(402, "02700000");
    rig.openGrid(9);
    rig.clickCell(1, 4);
    QComboBox* list = rig.list("Combo1");
    ASSERT_TRUE(shown(list));
    QTest::keyClicks(list, "88.5");
    // Nothing is written while the tone is being typed ("8" alone would pick 82.5).
    EXPECT_EQ(rig.doc().findChannel(401)->DecodeTone, 0);
    EXPECT_EQ(rig.doc().findChannel(401)->EncodeTone, 0);
    QTest::keyClick(list, Qt::Key_Return);
    // The copy rule acts on the final entry only.
    EXPECT_EQ(rig.doc().findChannel(401)->DecodeTone, 9);
    EXPECT_EQ(rig.doc().findChannel(401)->EncodeTone, 9);

    // Tab ends a typed entry too; an arrow key only moves the shown entry until then.
    rig.clickCell(2, 5);
    list = rig.list("Combo1");
    ASSERT_TRUE(shown(list));
    QTest::keyClick(list, Qt::Key_Down);
    QTest::keyClick(list, Qt::Key_Down);
    EXPECT_EQ(rig.doc().findChannel(402)->EncodeTone, 0);
    EXPECT_EQ(rig.doc().findChannel(402)->DecodeTone, 0);
    QTest::keyClick(list, Qt::Key_Tab);
    EXPECT_EQ(rig.doc().findChannel(402)->EncodeTone, 2);
    EXPECT_EQ(rig.doc().findChannel(402)->DecodeTone, 2);
}

TEST(ChannelGridEditing, EnteringTheShownTextKeepsStepAndOffset)
{
    ChannelRig rig;
    ChannelRecord& rec = rig.add(401, "02700000");
    rec.RxStep = 2;
    rig.openGrid(9);
    rig.clickCell(1, 1);
    QTest::keyClick(rig.text1(), Qt::Key_Return);
    EXPECT_EQ(rig.doc().findChannel(401)->RxStep, 2);
    EXPECT_EQ(rig.doc().findChannel(401)->RxFre.cut(), "02700000");
}

TEST(ChannelGridEditing, TypedEntryIsWrittenWhenTheUserClicksElsewhere)
{
    ChannelRig rig;
    rig.add(401, "02700000");
    ChannelGridWindow& grid = rig.openGrid(9);
    rig.clickCell(1, 1);
    rig.text1()->clear();
    QTest::keyClicks(rig.text1(), "28.5");
    EXPECT_EQ(QApplication::activeWindow(), rig.grid.get());
    EXPECT_TRUE(rig.text1()->hasFocus());
    rig.clickCell(6, 0);
    EXPECT_EQ(rig.doc().findChannel(401)->RxFre.cut(), "02850000");
    EXPECT_EQ(grid.cellText(1, 1), "28.50000");
}

TEST(ChannelGridEditing, ScrollingKeepsTheCursorsDistanceFromTheTop)
{
    ChannelRig rig;
    for (int ch = 41; ch <= 120; ++ch) rig.add(ch, "02700000");
    ChannelGridWindow& grid = rig.openGrid(1);
    rig.clickCell(2, 4);
    ASSERT_EQ(rig.curRow(), 2);
    rig.table()->verticalScrollBar()->setValue(10);
    EXPECT_EQ(rig.curRow(), 12);
    EXPECT_EQ(rig.app.channelEdit.editRow, 12);
    EXPECT_TRUE(grid.scrollGuard().isActive());
    rig.table()->verticalScrollBar()->setValue(20);  // within 500 ms: ignored
    EXPECT_EQ(rig.curRow(), 12);
}

TEST(ChannelGridEditing, WriteCommandCommitsPendingEntry)
{
    ChannelRig rig;
    rig.add(401, "02700000");
    rig.openGrid(9);
    rig.clickCell(3, 1);
    QTest::keyClicks(rig.text1(), "28");
    rig.grid->commitPendingEdits();
    EXPECT_NE(rig.doc().findChannel(403), nullptr);
}

}  // namespace
}  // namespace zt::gui::testing
