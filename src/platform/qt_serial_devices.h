#pragma once

#include <filesystem>

#include "platform/serial_devices.h"

namespace zt {

// The serial devices Qt's serial port information lists, with their
// /dev/serial/by-id links, USB adapters first.
class SystemSerialDevices final : public SerialDeviceSource {
  public:
    explicit SystemSerialDevices(std::filesystem::path byIdFolder = kSerialByIdFolder);

    std::vector<SerialDevice> devices() const override;
    DeviceAccessInfo access(const std::filesystem::path& device) const override;

  private:
    std::filesystem::path byIdFolder_;
};

}  // namespace zt
