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
    picLogo_ = new QLabel(this);
    picLogo_->setObjectName("picLogo");
    picLogo_->setAlignment(Qt::AlignCenter);
    picLogo_->installEventFilter(this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(picLogo_);

    const char* file = app.currentLanguage == kLanguageChinese ? "StartC.jpg" : "StartE.jpg";
    const QPixmap picture(QString::fromStdString((app.paths.programDir / file).string()));
    if (!picture.isNull()) {
        picLogo_->setPixmap(picture);
        resize(picture.size());
    } else {
        // A missing picture never stops start-up: the title on a plain panel.
        picLogo_->setText(app.applicationTitle);
        picLogo_->setStyleSheet("QLabel { background: #20415f; color: white; font-size: 18pt; }");
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
    if (watched == picLogo_ && event->type() == QEvent::MouseButtonRelease) {
        finish();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace zt::gui
