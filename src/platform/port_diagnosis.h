#pragma once

// Finds out why a serial device could not be opened by looking at the
// system: does the device exist, may this user read and write it, which
// group owns it, which serial ports exist instead.

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "platform/port_diagnosis_text.h"
#include "platform/serial_devices.h"

namespace zt {

// The serial ports `source` lists, by device path ("/dev/ttyUSB0").
std::vector<std::string> devicePathsOf(const SerialDeviceSource& source);
// The serial ports of this machine, by device path.
std::vector<std::string> existingSerialDevices();

// The COM numbers whose device exists, as "COM1 (/dev/ttyUSB0)", through the
// port table of `mySetupIni` and the devices `source` lists; when none
// exists, the listed devices by path.
std::vector<std::string> existingComPorts(const std::filesystem::path& mySetupIni,
                                          const SerialDeviceSource& source);
// The same with the serial devices of this machine.
std::vector<std::string> existingComPorts(const std::filesystem::path& mySetupIni);

// Facts about a failed open of `device`. `refusedWhileAccessible` is true
// when the port refused the device as locked or busy (it does so when
// another program holds it). `listPorts` gives the ports that exist; by
// default existingSerialDevices().
PortFacts diagnosePortOpenFailure(
    const std::string& device, bool refusedWhileAccessible, const std::string& systemReason,
    const std::function<std::vector<std::string>()>& listPorts = [] {
        return existingSerialDevices();
    });

}  // namespace zt
