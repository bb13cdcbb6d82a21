#pragma once

// The information tool's view of its serial devices: the line beside its port
// list naming the chosen number's device, and the window listing every serial
// device present, from which the user gives one to a COM number (the "ports"
// entry of the tool's own mysetup.ini). Texts are built in, English and Chinese.

#include <QDialog>
#include <QString>
#include <filesystem>
#include <functional>
#include <vector>

#include "platform/serial_devices.h"

class QComboBox;
class QPushButton;

namespace zt::gui {
class PromptService;
class SerialDevicePanel;
}  // namespace zt::gui

namespace zt::infotool {

// Where the tool learns about its devices.
struct PortDeviceSource {
    std::filesystem::path settingsIni;  // the tool's mysetup.ini ("ports" entries)
    // The device COM n stands for.
    std::function<std::filesystem::path(int number)> portDevice;
    // The serial devices present, USB adapters first.
    std::function<std::vector<SerialDevice>()> listDevices;
    std::function<DeviceAccessInfo(const std::filesystem::path&)> access;
};

// The caption of the button that opens the device window.
QString portDevicesButtonText(int language);

// The line beside the port list for COM `number` (0: none chosen):
// "/dev/ttyUSB0 — FT232R USB UART (0403:6001)", with what keeps this user
// from opening it, or what to check when there is no serial device at all.
QString portDeviceLine(const PortDeviceSource& source, int number, int language);

class PortDevicesDialog : public QDialog {
    Q_OBJECT
  public:
    PortDevicesDialog(PortDeviceSource source, gui::PromptService& prompt, int number, int language,
                      QWidget* parent = nullptr);

    // The COM number (1..16) devices are assigned to.
    int chosenNumber() const;
    gui::SerialDevicePanel* panel() const { return panel_; }

    // Lists the devices again and updates the hint.
    void refresh();

  private:
    void assign(const SerialDevice& device);

    PortDeviceSource source_;
    gui::PromptService& prompt_;
    int language_;
    QComboBox* number_ = nullptr;
    gui::SerialDevicePanel* panel_ = nullptr;
    QPushButton* close_ = nullptr;
};

}  // namespace zt::infotool
