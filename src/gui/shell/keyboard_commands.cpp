#include "gui/shell/keyboard_commands.h"

#include <QAction>
#include <QKeySequence>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>

#include "core/text_ids.h"

namespace zt::gui {
namespace {

QAction* windowCommand(QMenu& menu, const char* name, int textId, const QList<QKeySequence>& keys)
{
    QAction* a = menu.addAction(QString());
    a->setObjectName(QLatin1String(name));
    a->setProperty("textId", textId);
    a->setShortcuts(keys);  // the menu shows the first
    return a;
}

// Gives the action of `name` its key unless it has one already.
void giveKey(QMainWindow& main, const char* name, const QKeySequence& key)
{
    if (auto* a = main.findChild<QAction*>(QLatin1String(name)); a && a->shortcut().isEmpty())
        a->setShortcut(key);
}

}  // namespace

void addKeyboardCommands(QMainWindow& main, QMenu& windowMenu, QMdiArea& area,
                         const std::function<void()>& openChannelEditor)
{
    giveKey(main, "mnuFileSave", QKeySequence(QKeySequence::Save));
    // Ctrl+P opens the program password and Ctrl+W writes the radio: printing
    // takes the shifted key of the platform's Print.
    giveKey(main, "mnuFilePrint", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_P));

    if (auto* edit = main.findChild<QMenu*>(QStringLiteral("mnuEdit"))) {
        auto* editor = new QAction(edit);
        editor->setObjectName(QStringLiteral("mnuChannelEditor"));
        editor->setProperty("textId", text::others::MenuOpenChannelEditor);
        // Ctrl+E is the end of the line in a text box (the grid's cell editor included).
        editor->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_E));
        QObject::connect(editor, &QAction::triggered, edit, [openChannelEditor] {
            if (openChannelEditor) openChannelEditor();
        });
        // Right below Channel information, the grid it belongs to.
        const QList<QAction*> items = edit->actions();
        QAction* before = nullptr;
        for (qsizetype i = 0; i + 1 < items.size(); ++i)
            if (items[i]->objectName() == QLatin1String("mnuChannelInfo")) before = items[i + 1];
        edit->insertAction(before, editor);
    }

    // A child window's own system menu closes it with Ctrl+F4 and Ctrl+W. Two
    // commands on one key make the key do nothing: Ctrl+W would no longer write
    // the radio, nor Ctrl+F4 close the window. The Window menu's command closes
    // the active window instead.
    QObject::connect(&area, &QMdiArea::subWindowActivated, &area, [](QMdiSubWindow* sub) {
        if (!sub || !sub->systemMenu()) return;
        for (QAction* a : sub->systemMenu()->actions()) a->setShortcuts({});
    });
    QObject::connect(
        windowCommand(windowMenu, "mnuWindowCloseActive", text::menu::WindowCloseActive,
                      {QKeySequence(Qt::CTRL | Qt::Key_F4)}),
        &QAction::triggered, &area, &QMdiArea::closeActiveSubWindow);
    QObject::connect(windowCommand(windowMenu, "mnuWindowNext", text::others::MenuNextChildWindow,
                                   {QKeySequence(Qt::CTRL | Qt::Key_Tab)}),
                     &QAction::triggered, &area, &QMdiArea::activateNextSubWindow);
    QObject::connect(
        windowCommand(windowMenu, "mnuWindowPrevious", text::others::MenuPreviousChildWindow,
                      // Shift+Tab arrives as Backtab.
                      {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab),
                       QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab)}),
        &QAction::triggered, &area, &QMdiArea::activatePreviousSubWindow);
}

}  // namespace zt::gui
