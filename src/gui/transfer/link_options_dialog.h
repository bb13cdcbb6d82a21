#pragma once

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace zt::gui {

struct AppContext;

// The transfer options window (Settings > Transfer options): "verify after
// write" and the serial trace file. OK stores them in mysetup.ini; a trace
// that is switched on needs a file that can be written. Modal; shown through
// PromptService::execModal.
class LinkOptionsDialog : public QDialog {
    Q_OBJECT
  public:
    explicit LinkOptionsDialog(AppContext& app, QWidget* parent = nullptr);

    void applyLanguageTexts();

  private:
    void chooseTraceFile();
    void commandOkClick();
    void traceToggled();

    AppContext& app_;
    QCheckBox* verify_ = nullptr;
    QCheckBox* trace_ = nullptr;
    QLabel* fileLabel_ = nullptr;
    QLineEdit* file_ = nullptr;
    QPushButton* browse_ = nullptr;
};

}  // namespace zt::gui
