#include "gui/shell/menu_item.h"

#include <QAction>
#include <QMenu>

namespace zt::gui {

QAction* addMenuItem(QMenu& menu, const char* name, int textId)
{
    auto* a = menu.addAction(QString());
    a->setObjectName(name);
    a->setProperty("textId", textId);
    return a;
}

}  // namespace zt::gui
