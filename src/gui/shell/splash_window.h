#pragma once

#include <QTimer>
#include <QWidget>
#include <functional>

class QLabel;

namespace zt::gui {

struct AppContext;

// The splash window: the start picture of the language ("StartE.jpg" or
// "StartC.jpg" in the program folder) until `Timer1` fires after 2000 ms or
// the picture is clicked; then `done` runs (it loads the main window) and the
// splash closes. Without the picture a plain panel with the title shows.
class SplashWindow : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kSplashMs = 2000;

    explicit SplashWindow(AppContext& app, QWidget* parent = nullptr);

    std::function<void()> done;
    QTimer& closeTimer() { return closeTimer_; }
    // What a click on the picture and the timer both do.
    void finish();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QLabel* startPicture_;
    QTimer closeTimer_;
    bool finished_ = false;
};

}  // namespace zt::gui
