#pragma once

// Finds out why a serial device could not be opened by looking at the
// system: does the device exist, may this user read and write it, which
// group owns it, which serial ports exist instead.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
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

// The kernel's name of a device node: "ttyUSB0" for /dev/ttyUSB0 or a link to
// it, "pts/3" for a pseudo-terminal.
std::string kernelNameOf(const std::string& device);

// What the system tells about a device node this user may not read and write.
struct DeniedDevice {
    std::string group;                      // the owning group's name ("root" for group 0)
    unsigned mode = 0;                      // the node's permission bits
    bool userListedInGroup = false;         // the group database lists the user in that group
    bool processHasGroup = false;           // this process already runs with that group
    std::string kernelName;                 // "ttyUSB0", "ttyS0", "pts/3"
    std::optional<std::uint16_t> vendorId;  // USB ids of the device, when it is a USB adapter
    std::optional<std::uint16_t> productId;
};

// Why `node` refuses this user: a group to join, a new login to make, or a
// device only the administrator can open (with the udev rule line that would
// give the group dialout access to it).
void describeDeniedDevice(const DeniedDevice& node, PortFacts& facts);

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
