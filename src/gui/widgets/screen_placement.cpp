#include "gui/widgets/screen_placement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace zt::gui {

void placeInsideAvailableScreen(QWidget& window)
{
    QScreen* screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
    if (!screen) return;
    const QRect area = screen->availableGeometry();
    // The frame the window manager adds (none before the window was shown once).
    const QSize frame = window.frameGeometry().size() - window.geometry().size();
    const QSize room = (area.size() - frame).expandedTo(window.minimumSize());
    if (window.width() > room.width() || window.height() > room.height())
        window.resize(window.size().boundedTo(room));
    const QRect outer(window.frameGeometry().topLeft(), window.size() + frame);
    if (area.contains(outer)) return;
    const int x = area.left() + std::max(0, (area.width() - outer.width()) / 2);
    const int y = area.top() + std::max(0, (area.height() - outer.height()) / 2);
    window.move(x, y);
}

}  // namespace zt::gui
