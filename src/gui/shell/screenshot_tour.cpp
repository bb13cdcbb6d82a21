#include "gui/shell/screenshot_tour.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QEventLoop>
#include <QMdiSubWindow>
#include <QPixmap>
#include <QScreen>
#include <QTimer>
#include <QWidget>

#include "gui/app_context.h"
#include "gui/shell/child_windows.h"
#include "gui/shell/main_window.h"
#include "gui/shell/splash_window.h"
#include "gui/transfer/transfer_progress_dialog.h"

namespace zt::gui {
namespace {

void settle(int ms = 150)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

bool saveScreen(const QString& file)
{
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return false;
    return screen->grabWindow(0).save(file, "PNG");
}

}  // namespace

int runScreenshotTour(MainWindow& main, AppContext& app, const QString& folder)
{
    QDir().mkpath(folder);
    int saved = 0;
    settle(400);
    saved += main.grab().save(folder + "/main.png", "PNG");
    saved += saveScreen(folder + "/screen_main.png");

    // Child windows, one at a time in front of the others.
    const char* children[] = {window::CommChInfo, window::OptFeatures, window::Dtmf,
                              window::ToneTips,   window::EmbMsg,      window::ResetMode,
                              window::RadioInfo};
    for (const char* name : children) {
        main.showChildWindow(name);
        settle();
        if (QWidget* w = main.childWindow(name)) {
            QWidget* frame = w->parentWidget() ? w->parentWidget() : w;
            saved += frame->grab().save(folder + "/" + name + ".png", "PNG");
        }
    }
    saved += main.grab().save(folder + "/main_with_children.png", "PNG");
    main.closeAllChildWindows();
    main.showChildWindow(window::CommChInfo);

    // Modal windows, shown without blocking for the picture.
    const char* modals[] = {window::About, window::ModelInfo, window::PassWord, window::SetComm,
                            window::SetLanguage};
    for (const char* name : modals) {
        QDialog* d = createModalWindow(name, app, &main);
        if (!d) continue;
        d->show();
        settle();
        saved += d->grab().save(folder + "/" + name + ".png", "PNG");
        saved += saveScreen(folder + "/screen_" + name + ".png");
        d->hide();
        delete d;
    }

    {
        TransferProgressDialog progress(app, true, &main);
        progress.setValue(42);
        progress.show();
        settle();
        saved += progress.grab().save(folder + "/TransferProgressDialog.png", "PNG");
        saved += saveScreen(folder + "/screen_frmProgress.png");
        progress.hide();
    }
    {
        SplashWindow splash(app);
        splash.closeTimer().stop();
        splash.show();
        settle();
        saved += splash.grab().save(folder + "/SplashWindow.png", "PNG");
        splash.hide();
    }
    return saved;
}

}  // namespace zt::gui
