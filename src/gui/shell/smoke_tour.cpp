#include "gui/shell/smoke_tour.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileDialog>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPointer>
#include <QTimer>
#include <cstdio>

#include "gui/shell/main_window.h"

namespace zt::gui {
namespace {

void settle(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

void say(const QString& text)
{
    std::printf("smoke: %s\n", qPrintable(text));
    std::fflush(stdout);
}

// Answers a message box with No (else Cancel, else its escape button) and
// closes any other dialog or open popup, so nothing waits for a person.
void dismissWhatIsOpen()
{
    if (QWidget* popup = QApplication::activePopupWidget()) popup->close();
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal) return;
    if (auto* box = qobject_cast<QMessageBox*>(modal)) {
        for (QMessageBox::StandardButton b : {QMessageBox::No, QMessageBox::Cancel})
            if (QAbstractButton* button = box->button(b)) {
                button->click();
                return;
            }
        box->reject();
        return;
    }
    if (auto* dialog = qobject_cast<QDialog*>(modal)) dialog->reject();
}

void click(QWidget* target, QPoint at)
{
    QPointer<QWidget> guard(target);
    const QPointF local(at);
    const QPointF global(target->mapToGlobal(at));
    QMouseEvent press(QEvent::MouseButtonPress, local, global, Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(target, &press);
    if (!guard) return;
    QMouseEvent release(QEvent::MouseButtonRelease, local, global, Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(target, &release);
}

// A click in the middle of the window, on whatever control is there.
void clickInto(QWidget* window)
{
    const QPoint centre = window->rect().center();
    QWidget* target = window->childAt(centre);
    if (!target) target = window;
    click(target, target->mapFrom(window, centre));
}

}  // namespace

int runSmokeTour(MainWindow& main)
{
    QTimer dismisser;
    dismisser.setInterval(150);
    QObject::connect(&dismisser, &QTimer::timeout, &dismisser, &dismissWhatIsOpen);
    settle(300);

    // The first click of a user: the group list of the channel grid.
    QWidget* grid = main.childWindow(QStringLiteral("frmCommChInfo"));
    auto* groups = grid ? grid->findChild<QComboBox*>(QStringLiteral("Combo7")) : nullptr;
    if (groups) {
        const QPoint at = groups->mapToGlobal(groups->rect().center());
        say(QStringLiteral("click %1 %2").arg(at.x()).arg(at.y()));
        QElapsedTimer waited;
        waited.start();
        while (!QApplication::activePopupWidget() && waited.elapsed() < 5000) settle(50);
        if (!QApplication::activePopupWidget()) {
            say(QStringLiteral("no outside click came; clicking the group list itself"));
            click(groups, groups->rect().center());
        }
        settle(300);
        dismissWhatIsOpen();
        settle(200);
    }

    dismisser.start();
    int chosen = 0;
    const auto menus = main.menuBar()->actions();
    for (QAction* menuAction : menus) {
        QMenu* menu = menuAction->menu();
        if (!menu) continue;
        emit menu->aboutToShow();
        for (QAction* a : menu->actions()) {
            if (a->isSeparator() || a->menu() || a->objectName() == QLatin1String("mnuFileExit"))
                continue;
            if (a->objectName().isEmpty()) continue;  // the window list
            say(QStringLiteral("choose %1").arg(a->objectName()));
            a->trigger();
            ++chosen;
            settle(200);
            if (QMdiSubWindow* active = main.mdiArea()->activeSubWindow()) {
                if (active->widget()) clickInto(active->widget());
                settle(100);
            }
        }
    }
    // Every open window once more, the tree pane and toolbar shown again.
    for (QMdiSubWindow* w : main.mdiArea()->subWindowList()) {
        main.mdiArea()->setActiveSubWindow(w);
        if (w->widget()) clickInto(w->widget());
        settle(100);
    }
    main.setTreePaneVisible(true);
    settle(200);

    main.close();
    settle(300);
    dismisser.stop();
    const bool closed = !main.isVisible();
    say(QStringLiteral("%1 commands chosen").arg(chosen));
    say(closed ? QStringLiteral("done") : QStringLiteral("the main window did not close"));
    return closed ? 0 : 1;
}

}  // namespace zt::gui
