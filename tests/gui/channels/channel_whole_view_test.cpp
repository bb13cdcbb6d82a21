// The whole channel in view, "Set for the selected channels" and the grid's keyboard way out,
// through the real grid window.

#include <gtest/gtest.h>

#include <QAction>
#include <QDialog>
#include <QHeaderView>
#include <QPushButton>
#include <QSettings>

#include "channel_rig.h"
#include "core/text_ids.h"
#include "gui/channels/channel_grid_menu.h"
#include "gui/undo/undo_recorder.h"

namespace zt::gui::testing {
namespace {

// The view option kept in a file of the test's own, off at the start.
struct OptionInFile {
    QString file;
    explicit OptionInFile(const QTemporaryDir& dir) : file(dir.filePath("user.ini"))
    {
        ChannelGridViewOption::instance().setStore(
            [f = file] { return UserSettingsStore::inFile(f); });
    }
    ~OptionInFile()
    {
        ChannelGridViewOption::instance().setWholeChannel(false);
        ChannelGridViewOption::instance().setStore(nullptr);
    }
};

// The column whose heading is the text `id`; -1 when none.
int columnOf(ChannelRig& rig, int id)
{
    QAbstractItemModel* m = rig.table()->model();
    for (int c = 0; c < m->columnCount(); ++c)
        if (m->headerData(c, Qt::Horizontal).toString() == rig.app.text(id)) return c;
    return -1;
}

QString cell(ChannelRig& rig, int row, int id)
{
    const int col = columnOf(rig, id);
    return col < 0 ? QStringLiteral("<no column>") : rig.grid->cellText(row, col);
}

TEST(ChannelGridWholeChannel, ExtraColumnsShowTheStoredValuesAndTheOptionIsKept)
{
    ChannelRig rig;
    OptionInFile option(rig.dir);
    ChannelRecord& rec = rig.add(481, "02760500");
    rec.ShiftDir = 2;
    rec.OffsetFre = "0010000";
    rec.ScanSkip = 1;
    rec.BusyChannelLock = 1;
    rec.RBTone = 5;  // no tone-tip sequence is defined: shown as stored, not as "Off"
    rec.Tsq = 1;
    rec.Rep = 2;
    rec.HiCut = 1;
    rec.SquelchMode = 7;
    rec.TxStep = 2;
    ChannelGridWindow& grid = rig.openGrid(11);
    const int plainColumns = rig.table()->model()->columnCount();

    auto* wholeChannel = grid.findChild<QAction*>("cmnuWholeChannel");
    ASSERT_NE(wholeChannel, nullptr);
    EXPECT_FALSE(wholeChannel->isChecked());
    wholeChannel->trigger();
    EXPECT_GT(rig.table()->model()->columnCount(), plainColumns);
    EXPECT_EQ(
        QSettings(option.file, QSettings::IniFormat).value("ChannelGrid/WholeChannel").toInt(), 1);

    namespace ce = text::channeledit;
    EXPECT_EQ(cell(rig, 1, ce::LabelTransmitFrequency), "27.70500");
    EXPECT_EQ(cell(rig, 1, text::channelinfo::GridHeadingSignedTransmitOffset), "+0.10000");
    EXPECT_EQ(cell(rig, 1, text::channelinfo::GridHeadingScanList), "Skip");
    EXPECT_EQ(cell(rig, 1, ce::LabelBusyChannelLock), "Carrier");
    EXPECT_EQ(cell(rig, 1, ce::LabelRBTone), "5");
    EXPECT_EQ(cell(rig, 1, ce::LabelToneSquelch), "On");
    EXPECT_EQ(cell(rig, 1, ce::LabelRepeaterShift), "-100K");
    EXPECT_EQ(cell(rig, 1, ce::CheckBoxHiCutFilter), "On");
    EXPECT_EQ(cell(rig, 1, ce::CheckBoxAttenuator), "Off");
    EXPECT_EQ(cell(rig, 1, ce::LabelSquelchMode), "7");
    EXPECT_EQ(cell(rig, 1, text::others::GridHeadingTransmitStep), "2");
    EXPECT_EQ(cell(rig, 2, ce::LabelTransmitFrequency), "");  // no channel in row 2

    // What no window lets the user choose takes no typing; neither does the repeater shift
    // outside the VFO group. A field of the editor does.
    QAbstractItemModel* m = rig.table()->model();
    auto editable = [&](int id) {
        return bool(m->flags(m->index(0, columnOf(rig, id))) & Qt::ItemIsEditable);
    };
    EXPECT_FALSE(editable(ce::LabelSquelchMode));
    EXPECT_FALSE(editable(ce::LabelTransmitFrequency));
    EXPECT_FALSE(editable(ce::LabelRepeaterShift));
    EXPECT_TRUE(editable(ce::LabelBusyChannelLock));
    // A field of the editor is chosen in its cell with the editor's entries and write-back.
    rig.table()->setCurrentCell(0, columnOf(rig, ce::LabelBusyChannelLock));
    QComboBox* busy = rig.list("FieldList");
    ASSERT_TRUE(shown(busy));
    EXPECT_EQ(entries(busy), (QStringList{"Off", "Carrier"}));  // no receive tone, no third
    QTest::keyClick(busy, Qt::Key_Up);
    QTest::keyClick(busy, Qt::Key_Return);
    EXPECT_EQ(rig.doc().findChannel(481)->BusyChannelLock, 0);
    // ">>" stays the last column shown.
    EXPECT_EQ(rig.table()->horizontalHeader()->visualIndex(kColEditor), m->columnCount() - 1);
    grid.groupList()->setCurrentIndex(10);
    EXPECT_EQ(rig.table()->horizontalHeader()->visualIndex(kColEditor), m->columnCount() - 1);
    EXPECT_FALSE(rig.table()->isColumnHidden(columnOf(rig, ce::LabelRBTone)));
    grid.groupList()->setCurrentIndex(11);

    // A grid opened later shows the kept option.
    rig.grid.reset();
    ChannelGridWindow& again = rig.openGrid(11);
    EXPECT_TRUE(again.findChild<QAction*>("cmnuWholeChannel")->isChecked());
    EXPECT_EQ(cell(rig, 1, ce::LabelTransmitFrequency), "27.70500");
}

TEST(ChannelGridSetForSelected, RefusedChannelsAreReportedOnceTheOthersSetAsOneUndoStep)
{
    ChannelRig rig;
    OptionInFile option(rig.dir);
    rig.add(481, "02760500").DecodeTone = 1;  // 67.0: a receive tone
    rig.add(482, "02761000").DecodeTone = 60;
    rig.add(483, "02761500");  // no receive tone: no third busy-lock entry
    ChannelGridWindow& grid = rig.openGrid(11);
    UndoRecorder recorder(rig.app.documents);
    const RadioDocument before = rig.doc();
    QAbstractItemModel* m = rig.table()->model();
    rig.table()->selectionModel()->select(QItemSelection(m->index(0, 1), m->index(3, 1)),
                                          QItemSelectionModel::ClearAndSelect);

    rig.prompt.modalHandler = [&](QDialog& dialog) {
        auto* field = dialog.findChild<QComboBox*>("FieldList");
        field->setCurrentIndex(
            field->findText(rig.app.text(text::channeledit::LabelBusyChannelLock)));
        auto* value = dialog.findChild<QComboBox*>("ValueList");
        EXPECT_EQ(value->count(), 3);
        value->setCurrentIndex(2);  // CTCSS/DCS
        return int(QDialog::Accepted);
    };
    grid.findChild<QAction*>("cmnuSetForSelected")->trigger();
    EXPECT_EQ(rig.prompt.modalWindows, std::vector<QString>{"frmSetForSelected"});

    EXPECT_EQ(rig.doc().findChannel(481)->BusyChannelLock, 2);
    EXPECT_EQ(rig.doc().findChannel(482)->BusyChannelLock, 2);
    EXPECT_EQ(rig.doc().findChannel(483)->BusyChannelLock, 0);
    // One report names the refused channel and says the empty row once.
    ASSERT_EQ(rig.prompt.asked.size(), 1u);
    const Message& report = rig.prompt.asked.front().message;
    EXPECT_EQ(report.textId, text::others::SetForSelectedRefused);
    const QString lines = QString::fromStdString(report.text);
    EXPECT_TRUE(lines.contains("Channel 483 (row 3)")) << lines.toStdString();
    EXPECT_FALSE(lines.contains("481")) << lines.toStdString();
    EXPECT_FALSE(lines.contains("482")) << lines.toStdString();
    EXPECT_TRUE(lines.contains("Row 4 holds no channel")) << lines.toStdString();

    // The action is one undo step that gives back the document as it was.
    recorder.recordNow();
    const std::optional<RadioDocument> undone = recorder.history().undo();
    ASSERT_TRUE(undone.has_value());
    EXPECT_FALSE(documentsDiffer(*undone, before));
    EXPECT_FALSE(recorder.history().canUndo());
}

TEST(ChannelGridSetForSelected, AnOffsetFollowsTheRulesOfTheOffsetCell)
{
    ChannelRig rig;
    OptionInFile option(rig.dir);
    rig.add(481, "02760500");
    rig.add(482, "02761000");
    ChannelGridWindow& grid = rig.openGrid(11);
    QAbstractItemModel* m = rig.table()->model();
    rig.table()->selectionModel()->select(QItemSelection(m->index(0, 1), m->index(1, 1)),
                                          QItemSelectionModel::ClearAndSelect);
    QString typed = "+0.1";
    rig.prompt.modalHandler = [&](QDialog& dialog) {
        dialog.findChild<QComboBox*>("FieldList")->setCurrentIndex(0);  // the offset
        auto* box = dialog.findChild<QLineEdit*>("ValueBox");
        box->clear();
        QTest::keyClicks(box, typed);
        return int(QDialog::Accepted);
    };
    grid.setForSelectedChannels();
    EXPECT_TRUE(rig.prompt.asked.empty());
    EXPECT_EQ(rig.doc().findChannel(481)->ShiftDir, 2);
    EXPECT_EQ(rig.doc().findChannel(482)->OffsetFre.cut(), "0010000");
    EXPECT_EQ(rig.grid->cellText(2, kColTx), "+0.10000");

    // 27.604 and 27.609 MHz lie on no raster (5, 6.25 or 8.33 kHz from 25.615): typed into the
    // cell they would be moved, so both channels keep their offsets.
    typed = "-0.001";
    grid.setForSelectedChannels();
    EXPECT_EQ(rig.doc().findChannel(481)->ShiftDir, 2);
    EXPECT_EQ(rig.doc().findChannel(482)->OffsetFre.cut(), "0010000");
    ASSERT_EQ(rig.prompt.asked.size(), 1u);
    // No channel took it: the report says so instead of "set for the other channels".
    EXPECT_EQ(rig.prompt.asked.front().message.textId, text::others::SetForSelectedRefusedAll);
    const QString lines = QString::fromStdString(rig.prompt.asked.front().message.text);
    EXPECT_EQ(lines.count(rig.app.text(text::msg::ReasonOffRaster)), 2) << lines.toStdString();
}

TEST(ChannelGridKeyboard, TabLeavesTheGridAfterItsLastCellAndEnterOnTheButtonColumnOpensTheEditor)
{
    ChannelRig rig;
    OptionInFile option(rig.dir);
    rig.add(521, "02760500");
    ChannelGridWindow& grid = rig.openGrid(kVfoGroup);  // one row: receive, decode, encode
    auto* details = grid.findChild<QPushButton*>("CommandCHInfoEdit");
    auto tab = [](bool back) {
        QTest::keyClick(QApplication::focusWidget(), back ? Qt::Key_Backtab : Qt::Key_Tab,
                        back ? Qt::ShiftModifier : Qt::NoModifier);
    };
    rig.table()->setCurrentCell(0, kColRx);
    ASSERT_TRUE(shown(rig.text1()));
    tab(false);
    EXPECT_EQ(rig.curCol(), kColDecode);
    tab(false);
    EXPECT_EQ(rig.curCol(), kColEncode);
    tab(false);  // the last cell: on to "Channel details..."
    EXPECT_EQ(QApplication::focusWidget(), details);
    tab(true);  // back into the grid, on its cell
    QApplication::processEvents();
    EXPECT_TRUE(rig.grid->isAncestorOf(QApplication::focusWidget()));
    EXPECT_EQ(rig.curCol(), kColEncode);
    tab(true);
    tab(true);
    EXPECT_EQ(rig.curCol(), kColRx);
    tab(true);  // before the first cell: out of the grid, backwards
    EXPECT_FALSE(rig.table()->isAncestorOf(QApplication::focusWidget()));
    EXPECT_NE(QApplication::focusWidget(), rig.table());
    EXPECT_NE(QApplication::focusWidget(), details);

    // Enter and Space on ">>" do what a double click does.
    rig.table()->setCurrentCell(0, kColEditor);
    QTest::keyClick(rig.table(), Qt::Key_Return);
    ASSERT_NE(rig.editor(), nullptr);
    delete rig.editor();
    QTest::keyClick(rig.table(), Qt::Key_Space);
    EXPECT_NE(rig.editor(), nullptr);
}

}  // namespace
}  // namespace zt::gui::testing
