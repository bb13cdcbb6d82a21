#pragma once

#include <QWidget>
#include <array>

class QPushButton;

namespace zt::gui {

struct AppContext;
class GuardedLineEdit;

// The embedded-message window: four boxes of up to 16 characters, one per
// message line of the document. Every change is stored at once. Child window.
class EmbeddedMessageWindow : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kLineCount = 4;

    explicit EmbeddedMessageWindow(AppContext& app, QWidget* parent = nullptr);

    GuardedLineEdit* line(int index) const;

    void applyLanguageTexts();
    // Every change is already in the document.
    void commitPendingEdits() {}

  private:
    void lineChanged(int index);

    AppContext& app_;
    std::array<GuardedLineEdit*, kLineCount> lines_{};
    QPushButton* close_ = nullptr;
};

}  // namespace zt::gui
