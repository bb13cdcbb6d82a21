#pragma once

class QAction;
class QMenu;

namespace zt::gui {

// Adds an entry to `menu` with the objectName `name`; its caption comes from the language
// texts by the text id kept in the property "textId" (the main window sets the captions).
QAction* addMenuItem(QMenu& menu, const char* name, int textId);

}  // namespace zt::gui
