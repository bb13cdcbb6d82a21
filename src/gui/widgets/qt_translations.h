#pragma once

namespace zt::gui {

// Loads Qt's own translations (standard message-box buttons, file dialogs) for the program's
// language (1 English, 2 Chinese) from Qt's translations folder, replacing the ones loaded
// before. English needs none. Returns whether Qt's texts are now in that language: false
// when the translation files are not installed (Qt then shows its English texts).
bool applyQtTranslations(int language);

}  // namespace zt::gui
