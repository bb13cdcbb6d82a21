#include "gui/shell/area_background.h"

#include <QBrush>
#include <QImage>
#include <QMdiArea>
#include <QPainter>
#include <QPixmap>
#include <QSize>
#include <algorithm>
#include <string>

#include "gui/app_context.h"

namespace zt::gui {

void paintAreaBackground(QMdiArea& area, const AppContext& app, const QSize& size)
{
    const auto file =
        app.paths.programDir / "PIC" / ("BK_" + std::to_string(app.currentLanguage) + ".jpg");
    const QImage picture(QString::fromStdString(file.string()));
    // A missing or unreadable picture leaves a plain background.
    if (picture.isNull() || picture.width() < 3 || picture.height() < 3) {
        area.setBackground(area.palette().brush(QPalette::Dark));
        return;
    }
    const int tileW = picture.width() - 2;
    const int tileH = picture.height() - 2;
    const int winW = std::max(1, size.width());
    const int winH = std::max(1, size.height());
    QImage composed(winW, winH, QImage::Format_RGB32);
    composed.fill(Qt::white);
    {
        QPainter p(&composed);
        // The top row of tiles without the picture's left border column ...
        for (int x = 0; x <= winW; x += tileW)
            p.drawImage(QPoint(x, 0), picture, QRect(1, 0, tileW, tileH + 2));
        // ... then that row, without its top line, repeated downwards.
        const QImage rowBand = composed.copy(0, 1, winW, tileH);
        for (int y = tileH; y <= winH; y += tileH) p.drawImage(QPoint(0, y), rowBand);
    }
    area.setBackground(QBrush(QPixmap::fromImage(composed)));
}

}  // namespace zt::gui
