#pragma once

#include <QDialog>

class QComboBox;
class QLabel;
class QPushButton;

namespace zt::gui {

struct AppContext;

// The language window: a list of the two languages. OK makes the chosen one
// the current language (the main window applies it when it becomes active
// again) and stores CurrentLanguage in mysetup.ini, changed or not. Modal;
// shown through PromptService::execModal.
class LanguageDialog : public QDialog {
    Q_OBJECT
  public:
    explicit LanguageDialog(AppContext& app, QWidget* parent = nullptr);

    void applyLanguageTexts();

  private:
    void commandOkClick();

    AppContext& app_;
    QLabel* languageLabel_ = nullptr;
    QComboBox* languageList_ = nullptr;
    QPushButton* ok_ = nullptr;
    QPushButton* cancel_ = nullptr;
};

}  // namespace zt::gui
