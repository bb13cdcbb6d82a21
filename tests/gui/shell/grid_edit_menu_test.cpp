// Copy, cut and paste of grid cells from the real program: the shortcuts reach the grid while
// a cell editor has the keyboard, and the Edit menu's commands act on the grid.

#include <gtest/gtest.h>

#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QTest>

#include "gui/channels/channel_grid_view.h"
#include "gui/channels/channel_grid_window.h"
#include "started_program.h"

namespace zt::gui::test {
namespace {

constexpr int kEmptyGroup = 7;  // channels 321-360: empty in a new document, always editable

TEST(GridEditMenu, ShortcutsInACellEditorAndMenuCommandsActOnTheGridCells)
{
    StartedProgram program;
    if (!program.initDataPresent())
        GTEST_SKIP() << "the initial-data files are not built (target initdata)";
    program.window->showChildWindow("frmCommChInfo");
    QApplication::processEvents();
    auto* grid = qobject_cast<ChannelGridWindow*>(program.window->childWindow("frmCommChInfo"));
    ASSERT_NE(grid, nullptr);
    QApplication::setActiveWindow(program.window.get());
    grid->findChild<QComboBox*>("Combo7")->setCurrentIndex(kEmptyGroup);
    ChannelGridView* table = grid->grid();
    auto text1 = [&] { return grid->findChild<QLineEdit*>("Text1"); };

    table->setCurrentCell(0, 1);
    ASSERT_NE(text1(), nullptr);
    QTest::keyClicks(text1(), "27.5");
    QTest::keyClick(text1(), Qt::Key_Return);
    const RadioDocument& doc = program.app.documents.working();
    ASSERT_NE(doc.findChannel(321), nullptr);

    // Ctrl+C in the frequency editor copies the cell, not the editor's text.
    table->setCurrentCell(0, 1);
    ASSERT_NE(text1(), nullptr);
    QGuiApplication::clipboard()->clear();
    QTest::keyClick(text1(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "27.50000\n");

    // Ctrl+V in the editor of another row pastes the cell there.
    table->setCurrentCell(2, 1);
    ASSERT_NE(text1(), nullptr);
    QTest::keyClick(text1(), Qt::Key_V, Qt::ControlModifier);
    const ChannelRecord* pasted = doc.findChannel(323);
    ASSERT_NE(pasted, nullptr);
    EXPECT_EQ(pasted->RxFre.cut(), "02750000");
    EXPECT_EQ(text1()->text(), "27.50000");

    // Rows chosen by their numbers: Ctrl+C on the grid copies the three rows, not one cell.
    table->setCurrentCell(0, 0);
    table->selectionModel()->select(
        QItemSelection(table->model()->index(0, 0), table->model()->index(2, 10)),
        QItemSelectionModel::ClearAndSelect);
    QTest::keyClick(table, Qt::Key_C, Qt::ControlModifier);
    const QStringList rows = QGuiApplication::clipboard()->text().split('\n');
    ASSERT_EQ(rows.size(), 4);  // three rows and the final line break
    EXPECT_TRUE(rows[0].startsWith("27.50000\t"));
    EXPECT_EQ(rows[1], QString(8, '\t'));
    EXPECT_TRUE(rows[2].startsWith("27.50000\t"));

    // Edit > Delete channels removes the channel of the selected row.
    table->selectionModel()->select(
        table->model()->index(2, 0),
        QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    program.action("mnuEditDeleteChannels")->trigger();
    EXPECT_EQ(doc.findChannel(323), nullptr);
    EXPECT_NE(doc.findChannel(321), nullptr);
    EXPECT_TRUE(program.prompt.asked.empty());
    EXPECT_FALSE(program.action("mnuEditPaste")->text().isEmpty());
}

}  // namespace
}  // namespace zt::gui::test
