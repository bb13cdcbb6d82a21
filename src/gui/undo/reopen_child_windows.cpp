#include "gui/undo/reopen_child_windows.h"

#include <QAbstractItemModel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QRect>
#include <QTableView>
#include <vector>

#include "gui/app_context.h"
#include "gui/channels/channel_windows.h"
#include "gui/channels/frm_ch_info_edit.h"
#include "gui/channels/frm_comm_ch_info.h"

namespace zt::gui {
namespace {

struct OpenWindow {
    QString name;
    QRect geometry;
    Qt::WindowStates state;
    bool active = false;
};

QTableView* gridTable(AppContext& app)
{
    frmCommChInfo* grid = loadedGrid(app);
    return grid ? grid->findChild<QTableView*>() : nullptr;
}

// The channel editor is opened by the grid rather than by name: it is
// placed in the area the same way.
void openChannelEditor(QMdiArea& area, AppContext& app)
{
    auto* editor = new FrmCHInfoEdit(app);
    QMdiSubWindow* sub = area.addSubWindow(editor);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    sub->setObjectName(QStringLiteral("FrmCHInfoEditFrame"));
    editor->show();
    sub->show();
}

QMdiSubWindow* subWindowNamed(QMdiArea& area, const QString& name)
{
    for (QMdiSubWindow* w : area.subWindowList())
        if (w->widget() && w->widget()->objectName() == name) return w;
    return nullptr;
}

}  // namespace

void reopenChildWindows(QMdiArea& area, AppContext& app,
                        const std::function<void(const QString&)>& showChildWindow,
                        const std::function<void()>& replaceDocument)
{
    std::vector<OpenWindow> open;
    for (QMdiSubWindow* w : area.subWindowList()) {
        if (!w->widget()) continue;
        open.push_back({w->widget()->objectName(), w->geometry(), w->windowState(),
                        w == area.activeSubWindow()});
    }
    int gridRow = -1;
    int gridCol = -1;
    if (QTableView* table = gridTable(app); table && table->currentIndex().isValid()) {
        gridRow = table->currentIndex().row();
        gridCol = table->currentIndex().column();
    }

    for (QMdiSubWindow* w : area.subWindowList()) {
        w->close();
        delete w;
    }
    replaceDocument();

    for (const OpenWindow& w : open) {
        if (w.name == QLatin1String(window::CHInfoEdit)) {
            // The editor shows the grid's current channel, so the grid (opened
            // before it) has its cell back first.
            if (!loadedEditor(app)) openChannelEditor(area, app);
            continue;
        }
        showChildWindow(w.name);
        if (QTableView* table = gridTable(app); table && gridRow >= 0) {
            const QModelIndex cell = table->model()->index(gridRow, gridCol);
            if (cell.isValid() && table->currentIndex() != cell) table->setCurrentIndex(cell);
            gridRow = -1;
        }
    }

    QMdiSubWindow* active = nullptr;
    for (const OpenWindow& w : open) {
        QMdiSubWindow* sub = subWindowNamed(area, w.name);
        if (!sub) continue;
        sub->setWindowState(w.state & ~Qt::WindowActive);
        if (!(w.state & (Qt::WindowMaximized | Qt::WindowMinimized))) sub->setGeometry(w.geometry);
        if (w.active) active = sub;
    }
    if (active) area.setActiveSubWindow(active);
}

}  // namespace zt::gui
