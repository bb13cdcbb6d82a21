#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QItemSelectionModel>

#include "channel_rig.h"
#include "gui/channels/channel_grid_clipboard.h"

namespace zt::gui::testing {
namespace {

// Selects the cells (rows 1-based) from (top, left) to (bottom, right).
void select(ChannelRig& rig, int top, int left, int bottom, int right)
{
    QAbstractItemModel* m = rig.table()->model();
    rig.table()->selectionModel()->select(
        QItemSelection(m->index(top - 1, left), m->index(bottom - 1, right)),
        QItemSelectionModel::ClearAndSelect);
}

QString lastMessageText(const ChannelRig& rig)
{
    return rig.prompt.asked.empty() ? QString()
                                    : QString::fromStdString(rig.prompt.asked.back().message.text);
}

TEST(ChannelGridPaste, BlockWithGoodAndBadCellsTakesTheGoodOnesAndListsTheRest)
{
    ChannelRig rig;
    rig.add(401, "02700000");
    ChannelGridWindow& grid = rig.openGrid(9);
    select(rig, 1, 1, 1, 1);
    grid.clipboard().paste(
        QStringLiteral("27.5\t+0.6\t\tD023N\t67\r\n"
                       "abc\t\t\tOFF\r\n"
                       "31\r\n"
                       "27.6\tx\t\tnope\t254.1\r\n"));
    // Row 1: every cell taken (a tone by its number as a spreadsheet shortens it).
    const ChannelRecord* first = rig.doc().findChannel(401);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->RxFre.cut(), "02750000");
    EXPECT_EQ(first->ShiftDir, 2);
    EXPECT_EQ(first->OffsetFre.cut(), "0060000");
    EXPECT_EQ(first->DecodeTone, 52);
    EXPECT_EQ(first->EncodeTone, 1);
    EXPECT_EQ(grid.cellText(1, 5), "67.0");
    // Rows 2 and 3: no channel made from a bad or out-of-band frequency.
    EXPECT_EQ(rig.doc().findChannel(402), nullptr);
    EXPECT_EQ(rig.doc().findChannel(403), nullptr);
    // Row 4: the channel is made, its good tone taken, the bad cells left as they were (the
    // refused receive tone is not filled in from the transmit one).
    const ChannelRecord* fourth = rig.doc().findChannel(404);
    ASSERT_NE(fourth, nullptr);
    EXPECT_EQ(fourth->RxFre.cut(), "02760000");
    EXPECT_EQ(fourth->ShiftDir, 0);
    EXPECT_EQ(fourth->EncodeTone, 50);
    EXPECT_EQ(fourth->DecodeTone, 0);

    // One message lists every refused cell with its row, column, value and reason, and says
    // once which rows had no channel.
    ASSERT_EQ(rig.prompt.askedIds(), std::vector<int>{9981});
    const QStringList lines = lastMessageText(rig).split('\n');
    ASSERT_EQ(lines.size(), 5) << lastMessageText(rig).toStdString();
    EXPECT_TRUE(lines[0].contains("Row 2") && lines[0].contains("\"abc\"") &&
                lines[0].contains(rig.app.text(9983)));
    EXPECT_TRUE(lines[1].contains("Row 3") && lines[1].contains(rig.app.text(9984)));
    EXPECT_TRUE(lines[2].contains("Row 4") && lines[2].contains("\"x\"") &&
                lines[2].contains(rig.app.text(9985)));
    EXPECT_TRUE(lines[3].contains("\"nope\"") && lines[3].contains(rig.app.text(9986)));
    EXPECT_EQ(lines[4], rig.app.text(9973).arg("2"));
}

TEST(ChannelGridPaste, APastedRowIsStoredExactlyOrRefusedNeverAdjusted)
{
    ChannelRig rig;
    rig.add(401, "02700000");
    rig.add(403, "02700000");
    ChannelGridWindow& grid = rig.openGrid(9);
    select(rig, 1, 1, 1, 1);
    // Receive tone Off, transmit tone D023N (entry 52): the first tone of a channel is not
    // copied into the other direction within one pasted row. 28.1234 MHz and an offset of
    // 0.0012 MHz lie between 5 kHz steps counted from 25.615 MHz.
    grid.clipboard().paste(
        QStringLiteral("27.00000\t\t\tOff\tD023N\r\n"
                       "28.1234\r\n"
                       "27.00000\t+0.0012\r\n"));
    EXPECT_EQ(rig.doc().findChannel(401)->DecodeTone, 0);
    EXPECT_EQ(rig.doc().findChannel(401)->EncodeTone, 52);
    EXPECT_EQ(rig.doc().findChannel(402), nullptr);
    ASSERT_NE(rig.doc().findChannel(403), nullptr) << lastMessageText(rig).toStdString();
    EXPECT_EQ(rig.doc().findChannel(403)->ShiftDir, 0);
    EXPECT_EQ(rig.doc().findChannel(403)->OffsetFre.cut(), "");  // as created
    const QStringList lines = lastMessageText(rig).split('\n');
    ASSERT_EQ(lines.size(), 2) << lastMessageText(rig).toStdString();
    EXPECT_TRUE(lines[0].contains("Row 2") && lines[0].contains("\"28.1234\"") &&
                lines[0].contains(rig.app.text(9971)));
    EXPECT_TRUE(lines[1].contains("Row 3") && lines[1].contains(rig.app.text(9971)));
}

TEST(ChannelGridPaste, RealRefusalsComeFirstAndTheWholeListGoesWithTheMessage)
{
    ChannelRig rig;
    rig.add(401, "02700000");
    ChannelGridWindow& grid = rig.openGrid(9);
    select(rig, 1, 1, 1, 1);
    // Columns 1..11 of a wider sheet: row 1 holds three bad values, rows 2..20 tones for
    // positions without a channel; columns 10 and 11 store nothing.
    QString block = QStringLiteral("27.00000\tabc\t\t99.9\tOFF\t\tMaybe\t\t\tx\ty\n");
    for (int row = 2; row <= 20; ++row) block += QStringLiteral("\t\t\t67.0\t67.0\t\t\t\t\tx\ty\n");
    grid.clipboard().paste(block);
    ASSERT_EQ(rig.prompt.askedIds(), std::vector<int>{9981});
    const QStringList lines = lastMessageText(rig).split('\n');
    ASSERT_EQ(lines.size(), 5) << lastMessageText(rig).toStdString();
    EXPECT_TRUE(lines[0].contains("\"abc\"") && lines[0].contains(rig.app.text(9985)));
    EXPECT_TRUE(lines[1].contains("\"99.9\"") && lines[1].contains(rig.app.text(9986)));
    EXPECT_TRUE(lines[2].contains("\"Maybe\"") && lines[2].contains(rig.app.text(9986)));
    EXPECT_EQ(lines[3], rig.app.text(9972).arg("10-11"));
    EXPECT_EQ(lines[4], rig.app.text(9973).arg("2-20"));
    // The box carries the list to scroll through and copy.
    EXPECT_EQ(rig.prompt.asked.back().message.details, rig.prompt.asked.back().message.text);
}

TEST(ChannelGridPaste, RowsBelowTheGroupAndFixedFrequenciesAreReported)
{
    ChannelRig rig;
    rig.add(521, "02700000");
    rig.add(241, "02700000");
    rig.doc().Data.Options.FrequencyChangeable = 0;
    rig.openGrid(12);
    select(rig, 1, 1, 1, 1);
    rig.grid->clipboard().paste(QStringLiteral("28\n29\n30\n"));
    EXPECT_EQ(rig.doc().findChannel(521)->RxFre.cut(), "02800000");
    ASSERT_EQ(rig.prompt.asked.size(), 1u);
    EXPECT_TRUE(lastMessageText(rig).contains(rig.app.text(9991).arg(2)));

    rig.prompt.asked.clear();
    rig.list("Combo7")->setCurrentIndex(5);
    select(rig, 1, 1, 1, 4);
    // The same frequency pasted back is no change; another one is refused; the tone is taken.
    rig.grid->clipboard().paste(QStringLiteral("27.00000\t\t\t67.0\n28\n"));
    EXPECT_EQ(rig.doc().findChannel(241)->DecodeTone, 1);
    EXPECT_EQ(rig.prompt.askedIds(), std::vector<int>{9981});
    EXPECT_TRUE(lastMessageText(rig).contains(rig.app.text(9987)));
    EXPECT_FALSE(lastMessageText(rig).contains("27.00000"));

    rig.prompt.asked.clear();
    rig.grid->clipboard().paste(QString());
    EXPECT_EQ(rig.prompt.askedIds(), std::vector<int>{9995});
}

TEST(ChannelGridPaste, AFixedChannelsReceiveFrequencyIsListedNotDroppedAndNoBoxPerCell)
{
    // Channels 1-400 keep the receive frequency they were created with, even where the
    // group's frequencies may be changed; a pasted one is listed with the other refusals.
    ChannelRig rig;
    rig.doc().Data.Options.FrequencyChangeable = 1;
    int group = 0;
    while (GroupBase(group) + GroupSize(group) < 400) ++group;
    const int row = 400 - GroupBase(group);
    rig.add(400, "02700000");
    rig.openGrid(group);
    select(rig, row, 1, row, 1);
    rig.grid->clipboard().paste(QStringLiteral("28\n"));
    EXPECT_EQ(rig.doc().findChannel(400)->RxFre.cut(), "02700000");
    EXPECT_EQ(rig.prompt.askedIds(), std::vector<int>{9981});
    EXPECT_TRUE(lastMessageText(rig).contains(rig.app.text(9881)));
}

TEST(ChannelGridCopy, RowsCopyWithEveryStoredColumnAndPasteIntoOtherRowsUnchanged)
{
    ChannelRig rig;
    ChannelRecord& rec = rig.add(401, "02761000");
    rec.OffsetFre.assign("0010000");
    rec.ShiftDir = 1;
    rec.DecodeTone = 60;
    rec.EncodeTone = 200;
    rec.ScanSkip = 1;
    rec.OptSignal = 1;
    rec.Spacing = 2;
    ChannelGridWindow& grid = rig.openGrid(9);
    select(rig, 1, 0, 1, 10);  // the whole row, as a click on its number selects it
    const QString text = grid.clipboard().copy();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), text);
    EXPECT_EQ(text.count('\t'), 8);  // columns 1..9
    EXPECT_TRUE(text.startsWith("27.61000\t-0.10000\t\t"));

    select(rig, 5, 0, 6, 10);  // pasted on a row number: from the frequency column on
    grid.pasteCells();
    EXPECT_TRUE(rig.prompt.asked.empty()) << lastMessageText(rig).toStdString();
    const ChannelRecord* copy = rig.doc().findChannel(405);
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->RxFre.cut(), "02761000");
    EXPECT_EQ(copy->OffsetFre.cut(), "0010000");
    EXPECT_EQ(copy->ShiftDir, 1);
    EXPECT_EQ(copy->DecodeTone, 60);
    EXPECT_EQ(copy->EncodeTone, 200);
    EXPECT_EQ(copy->ScanSkip, 1);
    EXPECT_EQ(copy->OptSignal, 1);
    EXPECT_EQ(copy->Spacing, 2);
    EXPECT_EQ(rig.doc().findChannel(406), nullptr);
}

TEST(ChannelGridCopy, CutClearsTheCellsAndACutFrequencyDeletesTheChannel)
{
    ChannelRig rig;
    ChannelRecord& a = rig.add(401, "02700000");
    a.DecodeTone = 5;
    a.EncodeTone = 7;
    rig.add(402, "02800000");
    ChannelGridWindow& grid = rig.openGrid(9);
    select(rig, 1, 4, 1, 5);
    grid.cutCells();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "77.0\t82.5\n");
    EXPECT_EQ(rig.doc().findChannel(401)->DecodeTone, 0);
    EXPECT_EQ(rig.doc().findChannel(401)->EncodeTone, 0);
    select(rig, 2, 1, 2, 1);
    grid.cutCells();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "28.00000\n");
    EXPECT_EQ(rig.doc().findChannel(402), nullptr);
    EXPECT_TRUE(rig.prompt.asked.empty());
}

TEST(ChannelGridDelete, SelectedRowsAreDeletedAndProtectedChannelsStayWithAMessage)
{
    ChannelRig rig;
    rig.add(241, "02700000");
    rig.add(401, "02700000");
    rig.add(402, "02700500");
    rig.add(403, "02701000");
    rig.doc().Data.Options.FrequencyChangeable = 0;
    ChannelGridWindow& grid = rig.openGrid(9);
    rig.table()->selectionModel()->select(
        rig.table()->model()->index(0, 0),
        QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    rig.table()->selectionModel()->select(rig.table()->model()->index(2, 0),
                                          QItemSelectionModel::Select | QItemSelectionModel::Rows);
    grid.deleteSelectedChannels();
    EXPECT_EQ(rig.doc().findChannel(401), nullptr);
    EXPECT_NE(rig.doc().findChannel(402), nullptr);
    EXPECT_EQ(rig.doc().findChannel(403), nullptr);
    EXPECT_EQ(grid.cellText(1, 1), "");
    EXPECT_TRUE(rig.prompt.asked.empty());

    // A channel of a group whose frequencies are fixed stays, and the user is told why.
    rig.list("Combo7")->setCurrentIndex(5);
    select(rig, 1, 1, 3, 1);
    QTest::keyClick(rig.table(), Qt::Key_Delete);
    EXPECT_NE(rig.doc().findChannel(241), nullptr);
    EXPECT_EQ(rig.prompt.askedIds(), std::vector<int>{9992});
    EXPECT_TRUE(lastMessageText(rig).contains("Row 1") &&
                lastMessageText(rig).contains(rig.app.text(9987)));

    // The last channel of the document stays too.
    rig.prompt.asked.clear();
    rig.doc().Data.Options.FrequencyChangeable = 1;
    rig.list("Combo7")->setCurrentIndex(9);
    select(rig, 2, 4, 2, 4);
    grid.deleteSelectedChannels();
    EXPECT_EQ(rig.doc().Data.ChannelCount, 1);
    rig.list("Combo7")->setCurrentIndex(5);
    select(rig, 1, 1, 1, 1);
    grid.deleteSelectedChannels();
    EXPECT_EQ(rig.doc().Data.ChannelCount, 1);
    EXPECT_EQ(rig.prompt.askedIds(), std::vector<int>{9992});
    EXPECT_TRUE(lastMessageText(rig).contains(rig.app.text(9994)));
    EXPECT_EQ(grid.cellText(1, 1), "27.00000");
}

}  // namespace
}  // namespace zt::gui::testing
