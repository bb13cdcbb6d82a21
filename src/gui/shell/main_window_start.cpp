#include "gui/shell/main_window_start.h"

#include "gui/app_context.h"
#include "gui/shell/main_window.h"
#include "gui/widgets/qt_translations.h"

namespace zt::gui {

std::unique_ptr<MainWindow> openMainWindow(AppContext& app,
                                           const std::function<void(MainWindow&)>& beforeLoad)
{
    // Qt's texts (message-box buttons, file dialogs) in the language of the program's texts.
    applyQtTranslations(app.currentLanguage);
    auto window = std::make_unique<MainWindow>(app);
    window->setAttribute(Qt::WA_DeleteOnClose, false);
    if (beforeLoad) beforeLoad(*window);
    window->formLoad();
    window->show();
    return window;
}

}  // namespace zt::gui
