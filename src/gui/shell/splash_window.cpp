#include "gui/shell/splash_window.h"

#include <QEvent>
#include <QLabel>
#include <QPixmap>
#include <QScreen>
#include <QVBoxLayout>

#include "gui/app_context.h"

namespace zt::gui {

SplashWindow::SplashWindow(AppContext& app, QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint)
{
    setObjectName("frmSplash");
    startPicture_ = new QLabel(this);
    startPicture_->setObjectName("picLogo");
    startPicture_->setAlignment(Qt::AlignCenter);
    startPicture_->installEventFilter(this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(startPicture_);

    const char* file = app.currentLanguage == kLanguageChinese ? "StartC.jpg" : "StartE.jpg";
    const QPixmap picture(QString::fromStdString((app.paths.programDir / file).string()));
    if (!picture.isNull()) {
        startPicture_->setPixmap(picture);
        resize(picture.size());
    } else {
        // A missing picture never stops start-up: the title on a plain panel.
        startPicture_->setText(app.applicationTitle);
        startPicture_->setStyleSheet(
            "QLabel { background: #20415f; color: white; font-size: 18pt; }");
        resize(480, 270);
    }
    if (const QScreen* s = screen()) move(s->availableGeometry().center() - rect().center());

    closeTimer_.setObjectName("Timer1");
    closeTimer_.setSingleShot(true);
    connect(&closeTimer_, &QTimer::timeout, this, &SplashWindow::finish);
    closeTimer_.start(kSplashMs);
}

void SplashWindow::finish()
{
    if (finished_) return;
    finished_ = true;
    closeTimer_.stop();
    if (done) done();
    close();
}

bool SplashWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == startPicture_ && event->type() == QEvent::MouseButtonRelease) {
        finish();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace zt::gui
