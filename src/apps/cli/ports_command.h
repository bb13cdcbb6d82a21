#pragma once

// `ztp958fm-cli ports`: the port table as this user sees it, and
// `ztp958fm-cli ports --assign COMn DEVICE [--force]` to give a number a device.

#include <filesystem>
#include <iosfwd>
#include <string>
#include <vector>

#include "platform/port_table.h"

namespace zt {

// Prints COM1..COM16 (device, description, VID:PID, whether this user can
// open it, where the device comes from), then the devices no number reaches,
// then what to do when there is no device or one needs a group.
void writePortTable(const std::vector<ComPortRow>& rows, const std::vector<SerialDevice>& devices,
                    const std::vector<SerialDevice>& unreached, std::ostream& out);

// Runs the command (args[0] is "ports"); returns the exit status: 0 done,
// 1 the assignment could not be written, 2 misuse, including a device path
// that does not exist (stored only with --force after it).
int runPortsCommand(const std::vector<std::string>& args, const std::filesystem::path& mySetupIni,
                    const SerialDeviceSource& source, std::ostream& out, std::ostream& err);

}  // namespace zt
