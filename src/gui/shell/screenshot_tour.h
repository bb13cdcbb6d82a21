#pragma once

#include <QString>

namespace zt::gui {

struct AppContext;
class MainWindow;

// Saves PNG pictures of the main window and of every window it can open
// (child windows, modal windows shown without blocking, the progress window
// and the splash) into `folder`, for the screenshot script. Returns the
// number of pictures written.
int runScreenshotTour(MainWindow& main, AppContext& app, const QString& folder);

}  // namespace zt::gui
