// Dark and high-contrast palettes: the grid's fixed colours (blue headings and row
// numbers) must stay readable. Each case renders the channel window with the
// palette and measures, from the rendered pixels, the contrast between a text and
// what lies behind it (WCAG: at least 4.5:1).

#include <QApplication>
#include <QHeaderView>
#include <QImage>
#include <QMap>
#include <QPalette>
#include <QTableView>
#include <cmath>

#include "gui/channels/channel_table_model.h"
#include "gui/shell/shell_fixture.h"
#include "gui/window_names.h"

namespace zt::gui::test {
namespace {

double luminance(QRgb c)
{
    auto channel = [](int v) {
        const double s = v / 255.0;
        return s <= 0.03928 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(qRed(c)) + 0.7152 * channel(qGreen(c)) + 0.0722 * channel(qBlue(c));
}

double contrast(QRgb a, QRgb b)
{
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The contrast of the text drawn in `image`: its most frequent colour is the
// background, the colour that differs most from it is the text.
double textContrast(const QImage& image)
{
    QMap<QRgb, int> counts;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) ++counts[image.pixel(x, y) | 0xff000000u];
    QRgb background = 0;
    int most = -1;
    for (auto it = counts.begin(); it != counts.end(); ++it)
        if (it.value() > most) most = it.value(), background = it.key();
    double best = 1.0;
    for (auto it = counts.begin(); it != counts.end(); ++it)
        best = std::max(best, contrast(it.key(), background));
    return best;
}

QPalette darkPalette()
{
    QPalette p;
    const QColor window(45, 45, 48), base(30, 30, 30), text(230, 230, 230);
    p.setColor(QPalette::Window, window);
    p.setColor(QPalette::WindowText, text);
    p.setColor(QPalette::Base, base);
    p.setColor(QPalette::AlternateBase, window);
    p.setColor(QPalette::Text, text);
    p.setColor(QPalette::Button, window);
    p.setColor(QPalette::ButtonText, text);
    p.setColor(QPalette::Highlight, QColor(38, 79, 120));
    p.setColor(QPalette::HighlightedText, Qt::white);
    return p;
}

QPalette highContrastPalette()
{
    QPalette p;
    for (auto role : {QPalette::Window, QPalette::Base, QPalette::AlternateBase, QPalette::Button})
        p.setColor(role, Qt::black);
    for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        p.setColor(role, Qt::white);
    p.setColor(QPalette::Highlight, QColor(0, 255, 255));
    p.setColor(QPalette::HighlightedText, Qt::black);
    return p;
}

TEST(PaletteContrast, GridHeadingsAndRowNumbersStayReadableOnDarkAndHighContrastPalettes)
{
    const QPalette original = QApplication::palette();
    for (const auto& [name, palette] :
         {std::pair{"dark", darkPalette()}, std::pair{"high contrast", highContrastPalette()}}) {
        SCOPED_TRACE(name);
        QApplication::setPalette(palette);
        ShellInstall install;
        install.writeMySetup("[language]\nIsFirstRun=0\ncomPort=1\nCurrentLanguage=1\n");
        ShellProgram program(install);
        MainWindow& main = program.main(install);
        main.show();
        QTest::qWait(20);
        QWidget* grid = main.childWindow(window::CommChInfo);
        ASSERT_NE(grid, nullptr);
        auto* view = grid->findChild<QTableView*>();
        ASSERT_NE(view, nullptr);
        if (qEnvironmentVariableIsSet("ZT_CONTRAST_SHOTS"))
            main.grab().save(qEnvironmentVariable("ZT_CONTRAST_SHOTS") + "/" + name + ".png");

        // Row number 1 (fixed blue) and the heading of the receive frequency (fixed dark blue).
        const QRect rowNumber = view->visualRect(view->model()->index(0, 0)).adjusted(1, 1, -1, -1);
        EXPECT_GE(textContrast(view->viewport()->grab(rowNumber).toImage()), 4.5);
        QHeaderView* header = view->horizontalHeader();
        for (int c : {0, 1}) {
            const QRect heading(header->sectionViewportPosition(c) + 2, 2,
                                header->sectionSize(c) - 4, header->height() - 4);
            EXPECT_GE(textContrast(header->viewport()->grab(heading).toImage()), 4.5) << c;
        }
        // An ordinary cell follows the palette: channel 1's frequency, off the current cell.
        auto* channels = qobject_cast<ChannelTableModel*>(view->model());
        ASSERT_NE(channels, nullptr);
        channels->setGroup(0);
        view->setCurrentIndex(view->model()->index(1, 1));
        QTest::qWait(10);
        ASSERT_FALSE(view->model()->index(0, 1).data().toString().isEmpty());
        const QRect cell = view->visualRect(view->model()->index(0, 1)).adjusted(1, 1, -1, -1);
        EXPECT_GE(textContrast(view->viewport()->grab(cell).toImage()), 4.5);
        main.close();
    }
    QApplication::setPalette(original);
}

}  // namespace
}  // namespace zt::gui::test
