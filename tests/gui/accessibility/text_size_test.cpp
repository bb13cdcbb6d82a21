// View > Larger text: the fonts grow, the channel grid grows with them so that
// no heading or cell is cut, and the size is there again at the next start.

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QTableView>

#include "gui/shell/shell_fixture.h"
#include "gui/widgets/text_size.h"
#include "gui/window_names.h"

namespace zt::gui::test {
namespace {

// The texts of the grid that do not fit their cells, as "column: text".
QStringList cutGridTexts(QTableView& view)
{
    QStringList cut;
    QHeaderView* header = view.horizontalHeader();
    QFont bold = header->font();
    bold.setBold(true);
    const QFontMetrics headingMetrics(bold);
    const QFontMetrics cellMetrics(view.font());
    for (int c = 0; c < view.model()->columnCount(); ++c) {
        if (view.isColumnHidden(c)) continue;
        const int width = header->sectionSize(c) - 4;
        const QString heading = view.model()->headerData(c, Qt::Horizontal).toString();
        const QRect need = headingMetrics.boundingRect(QRect(0, 0, width, 10000),
                                                       Qt::AlignCenter | Qt::TextWordWrap, heading);
        if (need.width() > width || need.height() > header->height())
            cut << QStringLiteral("heading %1: %2").arg(c).arg(heading);
        const QString cell = view.model()->index(0, c).data().toString();
        if (cellMetrics.horizontalAdvance(cell) > width || cellMetrics.height() > view.rowHeight(0))
            cut << QStringLiteral("cell %1: %2").arg(c).arg(cell);
    }
    return cut;
}

TEST(TextSize, LargerTextGrowsTheGridWithoutCuttingTextsAndIsRemembered)
{
    ShellInstall install;
    install.writeMySetup("[language]\nIsFirstRun=0\ncomPort=1\nCurrentLanguage=1\n");
    const double base = QApplication::font().pointSizeF();
    {
        ShellProgram program(install);
        MainWindow& main = program.main(install);
        main.show();
        auto* larger = main.findChild<QAction*>("mnuViewLargerText");
        auto* normal = main.findChild<QAction*>("mnuViewNormalText");
        ASSERT_TRUE(larger && normal && main.findChild<QAction*>("mnuViewSmallerText"));
        EXPECT_TRUE(larger->shortcuts().contains(QKeySequence(QKeySequence::ZoomIn)));
        EXPECT_FALSE(larger->text().isEmpty());
        // Smaller text stops at 75%, Ctrl+0 brings the normal size back.
        auto* smaller = main.findChild<QAction*>("mnuViewSmallerText");
        EXPECT_TRUE(smaller->shortcuts().contains(QKeySequence(QKeySequence::ZoomOut)));
        EXPECT_TRUE(normal->shortcuts().contains(QKeySequence(QStringLiteral("Ctrl+0"))));
        for (int i = 0; i < 4; ++i) smaller->trigger();
        EXPECT_EQ(textPercent(), 75);
        for (int percent : {100, 150, 200}) {
            SCOPED_TRACE(percent);
            normal->trigger();
            for (int p = 100; p < percent; p += kTextPercentStep) larger->trigger();
            EXPECT_NEAR(QApplication::font().pointSizeF(), base * percent / 100.0, 0.01);
            QWidget* grid = main.childWindow(window::CommChInfo);
            ASSERT_NE(grid, nullptr);
            QTest::qWait(20);
            auto* view = grid->findChild<QTableView*>();
            ASSERT_NE(view, nullptr);
            const QStringList cut = cutGridTexts(*view);
            EXPECT_TRUE(cut.isEmpty()) << cut.join(", ").toStdString();
            // The grid window's own captions keep at least the room they ask for.
            for (QWidget* w : grid->findChildren<QWidget*>()) {
                if (!w->isVisible() ||
                    !(qobject_cast<QLabel*>(w) || qobject_cast<QAbstractButton*>(w)))
                    continue;
                EXPECT_GE(w->width(), w->minimumSizeHint().width())
                    << w->objectName().toStdString();
                EXPECT_GE(w->height(), w->minimumSizeHint().height())
                    << w->objectName().toStdString();
            }
        }
        // At the largest size every window keeps its captions whole.
        for (const char* name : {window::OptFeatures, window::Dtmf, window::ToneTips,
                                 window::EmbMsg, window::ResetMode, window::RadioInfo}) {
            main.showChildWindow(name);
            QWidget* w = main.childWindow(name);
            ASSERT_NE(w, nullptr) << name;
            QTest::qWait(10);
            for (QWidget* c : w->findChildren<QWidget*>()) {
                if (!c->isVisible() ||
                    !(qobject_cast<QLabel*>(c) || qobject_cast<QAbstractButton*>(c)))
                    continue;
                EXPECT_GE(c->width(), c->minimumSizeHint().width())
                    << name << " " << c->objectName().toStdString();
                EXPECT_GE(c->height(), c->minimumSizeHint().height())
                    << name << " " << c->objectName().toStdString();
            }
        }
        main.close();
    }
    ShellProgram again(install);
    again.main(install);
    EXPECT_EQ(textPercent(), 200);
    EXPECT_NEAR(QApplication::font().pointSizeF(), base * 2, 0.01);
    setTextPercent(kNormalTextPercent);
}

}  // namespace
}  // namespace zt::gui::test
