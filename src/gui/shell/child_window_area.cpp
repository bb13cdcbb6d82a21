#include "gui/shell/child_window_area.h"

#include <QAction>
#include <QMdiSubWindow>
#include <QMenu>
#include <QStyle>

#include "gui/app_context.h"
#include "gui/channels/channel_grid_window.h"
#include "gui/shell/child_windows.h"

namespace zt::gui {

ChildWindowArea::ChildWindowArea(AppContext& app, QWidget* parent) : QMdiArea(parent), app_(app)
{
    setObjectName("MDIClient");
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
}

QWidget* ChildWindowArea::childWindow(const QString& name) const
{
    QMdiSubWindow* sub = subWindowNamed(name);
    return sub ? sub->widget() : nullptr;
}

int ChildWindowArea::childWindowCount() const
{
    return static_cast<int>(subWindowList().size());
}

QMdiSubWindow* ChildWindowArea::subWindowNamed(const QString& name) const
{
    for (QMdiSubWindow* w : subWindowList())
        if (w->widget() && w->widget()->objectName() == name) return w;
    return nullptr;
}

bool ChildWindowArea::activateChildWindow(const QString& name)
{
    QMdiSubWindow* open = subWindowNamed(name);
    if (!open) return false;
    setActiveSubWindow(open);
    open->widget()->setFocus();
    return true;
}

void ChildWindowArea::showChildWindow(const QString& name, bool activateNew)
{
    if (activateChildWindow(name)) return;
    QWidget* child = createChildWindow(name, app_);
    if (!child) return;  // no child window of that name
    // The size the window asked for (its own resize, else its size hint).
    const QSize wanted = child->testAttribute(Qt::WA_Resized) ? child->size() : child->sizeHint();
    QMdiSubWindow* sub = addSubWindow(child);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    sub->setObjectName(name + "Frame");
    sub->setWindowIcon(style()->standardIcon(QStyle::SP_FileIcon));
    sub->setProperty("wantedSize", wanted);
    // The grid explains refusals in the status bar.
    if (auto* grid = qobject_cast<ChannelGridWindow*>(child))
        connect(grid, &ChannelGridWindow::statusHint, this, &ChildWindowArea::statusHint);
    child->show();
    sub->show();
    // The channel editor the grid opens keeps its place beside the grid: the windows are
    // not cascaded for it.
    if (name != QLatin1String(window::ChannelEditor)) cascade();
    if (activateNew) setActiveSubWindow(sub);
}

void ChildWindowArea::closeChildWindow(const QString& name)
{
    for (QMdiSubWindow* w : subWindowList())
        if (w->widget() && w->widget()->objectName() == name) {
            w->close();
            delete w;
        }
}

void ChildWindowArea::closeAllChildWindows()
{
    // Each window's own close handling runs; then it is gone.
    for (QMdiSubWindow* w : subWindowList()) {
        w->close();
        delete w;
    }
}

QStringList ChildWindowArea::openWindowNames() const
{
    QStringList open;
    for (QMdiSubWindow* w : subWindowList())
        if (w->widget()) open << w->widget()->objectName();
    return open;
}

void ChildWindowArea::reopenChildWindows()
{
    const QStringList open = openWindowNames();
    closeAllChildWindows();
    for (const QString& name : open) showChildWindow(name);
}

void ChildWindowArea::cascade()
{
    cascadeSubWindows();
    // Cascading shrinks windows to their minimum; each gets the size it asked for.
    fitChildWindows();
}

void ChildWindowArea::fitChildWindows()
{
    // A window is never squeezed below the size it asked for (its controls would be cut
    // off); where it reaches past the area, the area scrolls so all of it can be reached.
    for (QMdiSubWindow* w : subWindowList()) {
        const QSize wanted = w->property("wantedSize").toSize();
        if (!wanted.isValid() || !w->widget() || w->isMaximized() || w->isMinimized()) continue;
        const QSize frame = w->size() - w->widget()->size();
        const QSize fitted = (wanted + frame).expandedTo(w->minimumSizeHint());
        if (w->size().width() < fitted.width() || w->size().height() < fitted.height())
            w->resize(fitted.expandedTo(w->size()));
    }
}

void ChildWindowArea::listWindowsIn(QMenu& menu)
{
    for (QAction* a : windowListActions_) {
        menu.removeAction(a);
        a->deleteLater();
    }
    windowListActions_.clear();
    int n = 1;
    for (QMdiSubWindow* w : subWindowList()) {
        QAction* a = menu.addAction(QString("&%1 %2").arg(n++).arg(w->windowTitle()));
        a->setCheckable(true);
        a->setChecked(w == activeSubWindow());
        connect(a, &QAction::triggered, this, [this, w] { setActiveSubWindow(w); });
        windowListActions_.push_back(a);
    }
}

}  // namespace zt::gui
