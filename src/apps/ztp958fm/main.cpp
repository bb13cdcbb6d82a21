// ZTP958FM, the programming program: the start-up routine, the splash window
// and the main window.
//
// Options (for scripts and measurements):
//   --no-splash   or ZT_NO_SPLASH=1      open the main window at once
//   ZT_REPORT_SHOWN=1                    print "main window shown <ms>" once it is on screen
//   --screenshots DIR  or ZT_SCREENSHOT_DIR=DIR
//                                        save pictures of every window into DIR and end
//   --smoke                              choose every menu command, click into every
//                                        window, close everything and end (smoke test)

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "core/files/settings_location.h"
#include "gui/app_context.h"
#include "gui/prompt/qt_prompt_service.h"
#include "gui/shell/main_window.h"
#include "gui/shell/main_window_start.h"
#include "gui/shell/screenshot_tour.h"
#include "gui/shell/smoke_tour.h"
#include "gui/shell/splash_window.h"
#include "gui/shell/startup.h"
#include "platform/qt_program_launcher.h"

using namespace zt;
using namespace zt::gui;

int main(int argc, char** argv)
{
    QElapsedTimer sinceStart;
    sinceStart.start();
    QApplication qapp(argc, argv);

    bool noSplash = qEnvironmentVariable("ZT_NO_SPLASH") == "1";
    bool smoke = false;
    QString screenshots = qEnvironmentVariable("ZT_SCREENSHOT_DIR");
    const QStringList args = QApplication::arguments();
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == "--no-splash") noSplash = true;
        if (args[i] == "--smoke") smoke = true;
        if (args[i] == "--screenshots" && i + 1 < args.size()) screenshots = args[++i];
    }
    const bool reportShown = qEnvironmentVariable("ZT_REPORT_SHOWN") == "1";

    AppContext app;
    const QString exe = QCoreApplication::applicationFilePath();
    app.paths = InstallPaths::fromExecutable(exe.toStdString());
    // A read-only installation keeps the settings in the user's folder.
    app.paths = withWritableSettings(
        app.paths, SettingsLocation{app.paths.root(), userConfigFolder(std::getenv)});
    app.executableName = QFileInfo(exe).fileName().toStdString();
    QtProgramLauncher launcher;
    app.launcher = &launcher;
    QtPromptService prompt([&app] { return messageBoxTitle(app); }, app.texts.lookup());
    app.prompt = &prompt;

    prepareProgram(app, systemLocaleId());

    std::unique_ptr<MainWindow> mainWindow;
    auto loadMain = [&] {
        mainWindow = openMainWindow(app, [&prompt](MainWindow& w) { prompt.setParent(&w); });
        if (reportShown) {
            QTimer::singleShot(0, [&sinceStart] {
                std::printf("main window shown %lld ms\n",
                            static_cast<long long>(sinceStart.elapsed()));
                std::fflush(stdout);
            });
        }
        if (smoke) {
            QTimer::singleShot(0, [&] { QApplication::exit(runSmokeTour(*mainWindow)); });
        }
        if (!screenshots.isEmpty()) {
            QTimer::singleShot(0, [&] {
                const int n = runScreenshotTour(*mainWindow, app, screenshots);
                std::printf("%d screenshots saved in %s\n", n, qPrintable(screenshots));
                std::fflush(stdout);
                mainWindow->hide();
                QApplication::exit(n > 0 ? 0 : 1);
            });
        }
    };

    if (noSplash || smoke || !screenshots.isEmpty()) {
        loadMain();
    } else {
        auto* splash = new SplashWindow(app);
        splash->setAttribute(Qt::WA_DeleteOnClose);
        splash->done = loadMain;
        splash->show();
    }
    QApplication::setQuitOnLastWindowClosed(true);
    const int rc = qapp.exec();
    mainWindow.reset();
    return rc;
}
