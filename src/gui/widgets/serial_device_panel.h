#pragma once

// The serial devices present, for a port window: a list (device, description,
// manufacturer, VID:PID, serial number, stable path; USB adapters first), an
// Assign button that gives the chosen device to the window's chosen port
// number, and a hint line (no device found, or which group a device needs).
// Both programs' port windows use it with their own texts.

#include <QString>
#include <QWidget>
#include <filesystem>
#include <functional>
#include <optional>
#include <vector>

#include "platform/serial_devices.h"

class QLabel;
class QPushButton;
class QTreeWidget;

namespace zt::gui {

struct SerialDevicePanelTexts {
    QString device, description, manufacturer, vidPid, serialNumber, stablePath;  // headers
    QString assign;                                                               // button caption
    // Hints; "%1" is the device and "%2" its group where they apply.
    QString noDevice;
    QString needsGroup;
    QString administratorOnly;  // no group's members may read and write the device
};

// What the hint line should say for the devices present and the port chosen.
// A device whose group may not read and write it is the administrator's:
// joining that group (often root) is never advised.
enum class PortHint { None, NoDevice, NeedsGroup, AdministratorOnly };
PortHint portHintFor(const std::vector<SerialDevice>& devices, bool chosenPresent,
                     const DeviceAccessInfo& chosenAccess);

class SerialDevicePanel : public QWidget {
    Q_OBJECT
  public:
    explicit SerialDevicePanel(QWidget* parent = nullptr);

    void setTexts(const SerialDevicePanelTexts& texts);

    // Shows `devices`, keeping the chosen row (by device node) when it is
    // still there.
    void showDevices(const std::vector<SerialDevice>& devices);
    // The hint for the chosen port's device `chosen` (its node or link).
    void showHint(PortHint hint, const std::filesystem::path& chosen, const std::string& group);
    // A line of its own after an assignment or a failure ("" clears it).
    void showStatus(const QString& text);

    // The chosen device; nothing when none is chosen.
    std::optional<SerialDevice> chosenDevice() const;
    // Chooses the row of the device node `path`; false when it is not listed.
    bool chooseDevice(const std::string& path);
    // The Assign button may be used (a device and a port number chosen).
    void setAssignAllowed(bool allowed);

    QTreeWidget* list() const { return list_; }
    QPushButton* assignButton() const { return assign_; }
    QLabel* hintLabel() const { return hint_; }

    // Assign clicked with a device chosen.
    std::function<void(const SerialDevice&)> onAssign;

  private:
    void updateAssignButton();

    SerialDevicePanelTexts texts_;
    std::vector<SerialDevice> devices_;
    QTreeWidget* list_ = nullptr;
    QPushButton* assign_ = nullptr;
    QLabel* hint_ = nullptr;
    QLabel* status_ = nullptr;
    bool assignAllowed_ = true;
};

}  // namespace zt::gui
