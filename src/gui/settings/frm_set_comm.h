#pragma once

#include <QDialog>
#include <QString>
#include <array>
#include <functional>

class QButtonGroup;
class QGroupBox;
class QPushButton;
class QRadioButton;
class QTimer;

namespace zt::gui {

struct AppContext;

// The COM-port window: COM1 to COM16 as option buttons in four columns of
// four, enabled when the port exists. The list is refreshed every second
// (ReCommTimer) without losing the selection; OK makes the selected number
// the program's comPort and stores it in mysetup.ini. Modal; shown through
// PromptService::execModal.
class FrmSetComm : public QDialog {
    Q_OBJECT
  public:
    static constexpr int kPortCount = 16;
    static constexpr int kRefreshMs = 1000;

    // Where the window learns which ports exist and which device each number
    // stands for. The default reads the platform's port table.
    struct PortSource {
        std::function<std::array<bool, kPortCount>()> availability;
        std::function<QString(int number)> deviceName;  // tool tip of COM number
    };

    explicit FrmSetComm(AppContext& app, QWidget* parent = nullptr);
    FrmSetComm(AppContext& app, PortSource source, QWidget* parent = nullptr);
    ~FrmSetComm() override;

    // The option button of COM (index + 1).
    QRadioButton* option(int index) const;
    // The number (1..16) of the selected option button, 0 for none.
    int selectedPort() const;

    void applyLanguageTexts();

    // One tick of ReCommTimer: refresh availability, keep the selection.
    void ReCommTimer_Timer();

    void done(int result) override;

  private:
    void build();
    void refreshAvailability();
    void commandOkClick();

    AppContext& app_;
    PortSource source_;
    QGroupBox* frame_ = nullptr;
    QButtonGroup* group_ = nullptr;
    std::array<QRadioButton*, kPortCount> options_{};
    QPushButton* ok_ = nullptr;
    QPushButton* cancel_ = nullptr;
    QTimer* timer_ = nullptr;
};

}  // namespace zt::gui
