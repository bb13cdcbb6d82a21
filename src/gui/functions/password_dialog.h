#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace zt::gui {

struct AppContext;
class GuardedLineEdit;

// The program-password window: one box of up to 4 characters. OK makes its
// text the password the transfers compare with the radio's; Cancel keeps the
// earlier one. Either way PasswordWindowShown is set once the window opened.
// Modal; shown through PromptService::execModal.
class PasswordDialog : public QDialog {
    Q_OBJECT
  public:
    static constexpr int kMaxLength = 4;

    explicit PasswordDialog(AppContext& app, QWidget* parent = nullptr);

    GuardedLineEdit* passwordBox() const { return passwordBox_; }
    void applyLanguageTexts();

  private:
    void commandOkClick();

    AppContext& app_;
    QLabel* passwordLabel_ = nullptr;
    GuardedLineEdit* passwordBox_ = nullptr;
    QPushButton* ok_ = nullptr;
    QPushButton* cancel_ = nullptr;
};

}  // namespace zt::gui
