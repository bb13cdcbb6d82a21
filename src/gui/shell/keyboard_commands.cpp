#include "gui/shell/keyboard_commands.h"

#include <QAction>
#include <QKeySequence>
#include <QMainWindow>
#include <QMdiArea>
#include <QMenu>

#include "core/text_ids.h"

namespace zt::gui {

void addKeyboardCommands(QMainWindow& main, QMenu& windowMenu, QMdiArea& area)
{
    if (auto* save = main.findChild<QAction*>(QStringLiteral("mnuFileSave"));
        save && save->shortcut().isEmpty())
        save->setShortcut(QKeySequence(QKeySequence::Save));
    QAction* close = windowMenu.addAction(QString());
    close->setObjectName(QStringLiteral("mnuWindowCloseActive"));
    close->setProperty("textId", text::menu::WindowCloseActive);
    close->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F4));
    QObject::connect(close, &QAction::triggered, &area, &QMdiArea::closeActiveSubWindow);
}

}  // namespace zt::gui
