#pragma once

#include <functional>
#include <memory>

namespace zt::gui {

struct AppContext;
class MainWindow;

// The main window as the program opens it after the start-up routine (and the
// splash): Qt's own texts in the program's language, the main window's load,
// then shown. beforeLoad runs on the new window before its load (the program
// parents its prompts to it; tests choose where the position is kept).
std::unique_ptr<MainWindow> openMainWindow(AppContext& app,
                                           const std::function<void(MainWindow&)>& beforeLoad = {});

}  // namespace zt::gui
