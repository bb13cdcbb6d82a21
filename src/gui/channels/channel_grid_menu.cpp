#include "gui/channels/channel_grid_menu.h"

#include <QKeySequence>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPointer>

#include "core/text_ids.h"
#include "gui/channels/channel_grid_window.h"

namespace zt::gui {

void addChannelGridEditCommands(QMenu* editMenu, QMdiArea* area)
{
    const QPointer<QMdiArea> mdi(area);
    auto add = [&](const char* name, int textId, QKeySequence::StandardKey key,
                   void (ChannelGridWindow::*command)()) {
        QAction* a = editMenu->addAction(QString());
        a->setObjectName(QString::fromLatin1(name));
        a->setProperty("textId", textId);
        if (key != QKeySequence::UnknownKey) a->setShortcut(key);
        QObject::connect(a, &QAction::triggered, editMenu, [mdi, command] {
            if (!mdi) return;
            if (QMdiSubWindow* sub = mdi->currentSubWindow())
                if (auto* grid = qobject_cast<ChannelGridWindow*>(sub->widget()))
                    (grid->*command)();
        });
    };
    editMenu->addSeparator();
    add("mnuEditCopy", text::menu::EditCopy, QKeySequence::Copy, &ChannelGridWindow::copyCells);
    add("mnuEditCut", text::menu::EditCut, QKeySequence::Cut, &ChannelGridWindow::cutCells);
    add("mnuEditPaste", text::menu::EditPaste, QKeySequence::Paste, &ChannelGridWindow::pasteCells);
    add("mnuEditDeleteChannels", text::menu::EditDeleteChannels, QKeySequence::UnknownKey,
        &ChannelGridWindow::deleteSelectedChannels);
}

}  // namespace zt::gui
