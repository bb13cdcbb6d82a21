#pragma once

#include <QWidget>

class QComboBox;
class QGroupBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace zt::gui {

struct AppContext;

// The radio-information window: shows the radio-information record (what
// the last information read fetched, with the program's own version, model
// and band values). Nothing can be edited; the record is read once, when the
// window opens. Child window.
class RadioInfoWindow : public QWidget {
    Q_OBJECT
  public:
    // The band list's one entry and the model list's one entry.
    static constexpr const char* kModelEntry = "ZT-958";

    explicit RadioInfoWindow(AppContext& app, QWidget* parent = nullptr);

    void applyLanguageTexts();
    void commitPendingEdits() {}

  private:
    void showRecord();

    AppContext& app_;
    QGroupBox* frame_ = nullptr;
    QPushButton* close_ = nullptr;
};

}  // namespace zt::gui
