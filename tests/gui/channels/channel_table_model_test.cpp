#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QTest>

#include "channel_rig.h"
#include "gui/channels/channel_grid_view.h"
#include "gui/channels/channel_table_model.h"

namespace zt::gui::testing {
namespace {

// ---- The model over the document ------------------------------------------------------------

TEST(ChannelTableModel, CellsComeFromTheDocumentOfTheShownGroup)
{
    ChannelRig rig;
    rig.add(41, "02700000");
    ChannelRecord& rec = rig.add(42, "02761125");
    rec.OffsetFre.assign("0010000");
    rec.ShiftDir = 1;
    rec.DecodeTone = 400;  // outside the tone list: its first entry shows
    rec.EncodeTone = 52;
    rig.add(43, "0276X125");
    ChannelTableModel model(rig.app);
    model.setGroup(1);
    ASSERT_EQ(model.rowCount(), 80);
    ASSERT_EQ(model.columnCount(), 11);
    auto cell = [&](int row, int col) { return model.index(row, col).data().toString(); };
    EXPECT_EQ(cell(0, 0), "1");
    EXPECT_EQ(cell(1, 1), "27.61125");
    EXPECT_EQ(cell(1, 2), "-0.10000");
    EXPECT_EQ(cell(1, 4), rig.app.text(14013));
    EXPECT_EQ(cell(1, 5), "D023N");
    EXPECT_EQ(cell(1, 10), ">>");
    for (int c = 1; c <= 9; ++c) EXPECT_EQ(cell(5, c), "") << c;
    EXPECT_EQ(model.channelOfRow(79), 120);
    EXPECT_TRUE(model.rowHasChannel(0));
    EXPECT_FALSE(model.rowHasChannel(5));
    EXPECT_TRUE(model.rowFrequencyUnreadable(2));
    EXPECT_FALSE(model.rowFrequencyUnreadable(1));

    // A change made elsewhere shows without any copy to refresh.
    rig.doc().findChannel(41)->EncodeTone = 1;
    EXPECT_EQ(cell(0, 5), "67.0");
    model.setGroup(12);
    EXPECT_EQ(model.rowCount(), 1);
    EXPECT_EQ(model.channelOfRow(0), 521);
}

TEST(ChannelTableModel, EditsGoThroughTheWriteBackAndFixedFrequenciesAreNotEditable)
{
    ChannelRig rig;
    rig.add(241, "02700000");
    rig.add(401, "02700000");
    rig.doc().Data.Options.FrequencyChangeable = 0;
    ChannelTableModel model(rig.app);
    std::vector<WriteBackRequest> seen;
    model.setWriteBack([&](const WriteBackRequest& request) {
        seen.push_back(request);
        return writeBack(rig.doc(), request, rig.app.state.Limits);
    });
    model.setGroup(5);
    EXPECT_FALSE(model.flags(model.index(0, 1)) & Qt::ItemIsEditable);
    EXPECT_FALSE(model.flags(model.index(0, 2)) & Qt::ItemIsEditable);
    EXPECT_TRUE(model.flags(model.index(0, 4)) & Qt::ItemIsEditable);
    EXPECT_FALSE(model.flags(model.index(0, 0)) & Qt::ItemIsEditable);
    EXPECT_FALSE(model.setData(model.index(0, 1), QStringLiteral("28")));
    EXPECT_EQ(rig.doc().findChannel(241)->RxFre.cut(), "02700000");
    EXPECT_TRUE(model.setData(model.index(0, 4), 3));
    EXPECT_EQ(rig.doc().findChannel(241)->DecodeTone, 3);

    model.setGroup(9);
    EXPECT_TRUE(model.flags(model.index(0, 1)) & Qt::ItemIsEditable);
    EXPECT_TRUE(model.setData(model.index(4, 1), QStringLiteral("27.613")));
    ASSERT_NE(rig.doc().findChannel(405), nullptr);
    EXPECT_EQ(model.index(4, 1).data().toString(), "27.61000");
    // A transmit cell that is no number is refused and the offset stays.
    EXPECT_TRUE(model.setData(model.index(0, 2), QStringLiteral("+0.5")));
    EXPECT_FALSE(model.setData(model.index(0, 2), QStringLiteral("+")));
    EXPECT_EQ(model.index(0, 2).data().toString(), "+0.50000");
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.back().group, 9);
    EXPECT_EQ(seen.back().row, 1);
    EXPECT_EQ(seen.back().fieldCode, 2);
}

// ---- The editors of each column kind --------------------------------------------------------

struct ViewRig : ChannelRig {
    ChannelTableModel model{app};
    ChannelGridView view;

    explicit ViewRig(int group)
    {
        model.setGroup(group);
        view.setChannelModel(&model);
        const int widths[] = {49, 86, 0, 0, 80, 80, 0, 0, 0, 0, 93};
        for (int c = 0; c < 11; ++c) view.setColumnWidth(c, widths[c]);
        view.resize(600, 400);
        view.show();
        QApplication::setActiveWindow(&view);
        (void)QTest::qWaitForWindowExposed(&view);
        view.setReady(true);
    }
    QLineEdit* text(const char* name) { return view.findChild<QLineEdit*>(name); }
    QComboBox* combo(const char* name) { return view.findChild<QComboBox*>(name); }
};

TEST(ChannelCellEditors, EachColumnKindOpensItsNamedEditorWithItsKeyRules)
{
    ViewRig rig(9);
    rig.add(401, "02700000");
    rig.view.setCurrentCell(0, 1);
    QLineEdit* rx = rig.text("Text1");
    ASSERT_NE(rx, nullptr);
    EXPECT_EQ(rx->text(), "27.00000");
    rx->clear();
    QTest::keyClicks(rx, "2a7,+-.5");
    EXPECT_EQ(rx->text(), "27.5");

    rig.view.setCurrentCell(0, 2);  // the old editor is written and closed on leaving
    EXPECT_EQ(rig.doc().findChannel(401)->RxFre.cut(), "02750000");
    QLineEdit* tx = rig.text("Text1");
    ASSERT_NE(tx, nullptr);
    EXPECT_NE(tx, rx);
    tx->clear();
    QTest::keyClicks(tx, "-0x.6");
    EXPECT_EQ(tx->text(), "-0.6");

    rig.view.setCurrentCell(0, 3);
    QLineEdit* code = rig.text("Text2");
    ASSERT_NE(code, nullptr);
    QTest::keyClicks(code, "ab-1.c9");
    EXPECT_EQ(code->text(), "AB1C9");
    EXPECT_EQ(rig.doc().findChannel(401)->ShiftDir, 1);

    rig.view.setCurrentCell(0, 4);
    QComboBox* tones = rig.combo("Combo1");
    ASSERT_NE(tones, nullptr);
    EXPECT_EQ(tones->count(), 265);
    rig.view.setCurrentCell(0, 7);
    QComboBox* scan = rig.combo("Combo3");
    ASSERT_NE(scan, nullptr);
    EXPECT_EQ(scan->count(), 2);
    EXPECT_EQ(rig.combo("Combo1"), nullptr);  // one editor at a time
}

TEST(ChannelCellEditors, ListChoiceWritesAtOnceAndLeavingWritesNothing)
{
    ViewRig rig(9);
    ChannelRecord& rec = rig.add(401, "02700000");
    rec.ScanSkip = 7;  // outside the list: the first entry shows
    rig.view.setCurrentCell(0, 7);
    QComboBox* scan = rig.combo("Combo3");
    ASSERT_NE(scan, nullptr);
    EXPECT_EQ(scan->currentIndex(), 0);
    rig.view.setCurrentCell(0, 1);  // leaving the list keeps the stored value
    EXPECT_EQ(rig.doc().findChannel(401)->ScanSkip, 7);
    rig.view.setCurrentCell(0, 7);
    scan = rig.combo("Combo3");
    scan->setCurrentIndex(1);
    emit scan->activated(1);
    EXPECT_EQ(rig.doc().findChannel(401)->ScanSkip, 1);
}

TEST(ChannelCellEditors, EnterMovesThroughVisibleColumnsAndWrapsRows)
{
    ViewRig rig(12);  // the VFO group: one row
    rig.add(521, "02700000");
    rig.view.setCurrentCell(0, 1);
    QTest::keyClick(rig.text("Text1"), Qt::Key_Return);
    EXPECT_EQ(rig.view.currentColumn(), 4);
    QTest::keyClick(rig.combo("Combo1"), Qt::Key_Return);
    EXPECT_EQ(rig.view.currentColumn(), 5);
    QTest::keyClick(rig.combo("Combo1"), Qt::Key_Return);
    // Columns 6..9 have width 0: back to the frequency, the one row entered anew.
    EXPECT_EQ(rig.view.currentRow(), 0);
    EXPECT_EQ(rig.view.currentColumn(), 1);
    ASSERT_NE(rig.text("Text1"), nullptr);
    EXPECT_TRUE(rig.text("Text1")->isVisible());
}

}  // namespace
}  // namespace zt::gui::testing
