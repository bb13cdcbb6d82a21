#pragma once

#include <filesystem>

#include "platform/serial_devices.h"

namespace zt {

// The serial devices Qt's serial port information lists, with their
// /dev/serial/by-id links, USB adapters first. On Windows a device's path is
// the port's name (COM3), the name the port table uses.
class SystemSerialDevices final : public SerialDeviceSource {
  public:
    explicit SystemSerialDevices(std::filesystem::path byIdFolder = kSerialByIdFolder);

    std::vector<SerialDevice> devices() const override;
    DeviceAccessInfo access(const std::filesystem::path& device) const override;

  private:
    std::filesystem::path byIdFolder_;
};

// True when the serial device `device` exists: on Windows when the system
// lists a port of that name (COM3), elsewhere when the file exists.
bool serialDeviceExists(const std::filesystem::path& device);

}  // namespace zt
