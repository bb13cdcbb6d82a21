#pragma once

#include <QDialog>
#include <QString>
#include <array>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/serial_devices.h"

class QButtonGroup;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QTimer;

namespace zt::gui {

struct AppContext;
class SerialDevicePanel;

// The COM-port window: COM1 to COM16 as option buttons in four columns of
// four, enabled when the port exists. The list is refreshed every second
// (ReCommTimer) without losing the selection; OK makes the selected number
// the program's comPort and stores it in mysetup.ini. Modal; shown through
// PromptService::execModal.
//
// Beside each button the window shows the device the number stands for and
// what the system says about it; below, the serial devices present, from which
// the user gives one to the selected number (its "ports" entry, by the stable
// by-id path where there is one). It says what to check when there is no
// device, and which group to join when the selected device may not be opened.
class PortSettingsDialog : public QDialog {
    Q_OBJECT
  public:
    static constexpr int kPortCount = 16;
    static constexpr int kRefreshMs = 1000;

    // Where the window learns which ports exist and which device each number
    // stands for. The default reads the platform's port table.
    struct PortSource {
        std::function<std::array<bool, kPortCount>()> availability;
        std::function<QString(int number)> deviceName;  // tool tip of COM number
        // The serial devices present, USB adapters first, and whether this
        // user may open a device.
        std::function<std::vector<SerialDevice>()> devices{};
        std::function<DeviceAccessInfo(const std::filesystem::path&)> access{};
    };

    explicit PortSettingsDialog(AppContext& app, QWidget* parent = nullptr);
    PortSettingsDialog(AppContext& app, PortSource source, QWidget* parent = nullptr);
    ~PortSettingsDialog() override;

    // The option button of COM (index + 1).
    QRadioButton* option(int index) const;
    // The number (1..16) of the selected option button, 0 for none.
    int selectedPort() const;
    // The device line beside the option button of COM (index + 1).
    QLabel* deviceLabel(int index) const;
    SerialDevicePanel* devicePanel() const { return devices_; }

    void applyLanguageTexts();

    // One tick of ReCommTimer: refresh availability, keep the selection.
    void refreshPortList();

    void done(int result) override;

  private:
    void build();
    void refreshAvailability();
    void refreshDevices();
    void showHint();
    void assignDevice(const SerialDevice& device);
    void commandOkClick();

    AppContext& app_;
    PortSource source_;
    QGroupBox* frame_ = nullptr;
    QButtonGroup* group_ = nullptr;
    std::array<QRadioButton*, kPortCount> options_{};
    std::array<QLabel*, kPortCount> deviceLabels_{};
    std::array<bool, kPortCount> available_{};
    std::vector<SerialDevice> present_;
    QGroupBox* deviceFrame_ = nullptr;
    SerialDevicePanel* devices_ = nullptr;
    QPushButton* ok_ = nullptr;
    QPushButton* cancel_ = nullptr;
    QTimer* timer_ = nullptr;
    // The "ports" entries (raw, "" for none) as they were before this window's first
    // assignment of each number: Cancel writes them back.
    std::map<int, std::string> entriesBefore_;
};

}  // namespace zt::gui
