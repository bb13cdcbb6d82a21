#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace zt::gui {

struct AppContext;

// The about window: a picture, title, version, description, disclaimer and OK.
class AboutDialog : public QDialog {
    Q_OBJECT
  public:
    explicit AboutDialog(AppContext& app, QWidget* parent = nullptr);
    void applyLanguageTexts();

  private:
    AppContext& app_;
    QLabel* icon_;
    QLabel* lblTitle_;
    QLabel* lblVersion_;
    QLabel* lblDescription_;
    QLabel* lblDisclaimer_;
    QPushButton* cmdOK_;
};

}  // namespace zt::gui
