#pragma once

#include <QList>
#include <QMdiArea>
#include <QString>
#include <QStringList>

#include "gui/child_window.h"

class QAction;
class QMenu;
class QMdiSubWindow;

namespace zt::gui {

struct AppContext;

// The area of the main window where the child windows live (objectName MDIClient): it
// creates them by name, shows, lists, sizes and closes them. Windows are never squeezed
// below the size they asked for; the area scrolls instead.
class ChildWindowArea : public QMdiArea, public ChildWindowHost {
    Q_OBJECT
  public:
    explicit ChildWindowArea(AppContext& app, QWidget* parent = nullptr);

    // Shows the child window of that name: an open one is activated; a new one is placed in
    // the area at the size it asked for, the windows are cascaded (not for the channel editor,
    // which keeps its place beside the grid) and it is activated when `activateNew`.
    void showChildWindow(const QString& name, bool activateNew = true) override;
    // The open child window of that name, or null.
    QWidget* childWindow(const QString& name) const;
    int childWindowCount() const;
    // Closes the open windows of that name; each one's own close handling runs first.
    void closeChildWindow(const QString& name);
    void closeAllChildWindows();
    // The objectNames of the open child windows, in the area's order.
    QStringList openWindowNames() const;
    // Closes the open windows and opens them again by name, so they are laid out anew.
    void reopenChildWindows();
    void cascade();
    // Gives every child window at least the size it asked for; the area
    // scrolls to what reaches past it. Windows never shrink here.
    void fitChildWindows();
    // Lists the open windows at the end of `menu` ("&1 title", the active one checked),
    // replacing the list added by the previous call.
    void listWindowsIn(QMenu& menu);

  signals:
    // A hint for the status bar from a child window (such as why an edit was refused).
    void statusHint(const QString& text);

  private:
    QMdiSubWindow* subWindowNamed(const QString& name) const;
    // Activates and focuses the open child window of that name; false when none is open.
    bool activateChildWindow(const QString& name);

    AppContext& app_;
    QList<QAction*> windowListActions_;
};

}  // namespace zt::gui
