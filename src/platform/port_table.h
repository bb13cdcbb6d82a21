#pragma once

// The port table: which device a COM number (1..16) stands for and whether it
// exists. On Windows COM n is the system's own COMn. Elsewhere a key "COMn" in
// section "ports" of the program's own mysetup.ini names a device path; without
// one, COM1-COM8 are /dev/ttyUSB0-7, COM9-COM12 /dev/ttyACM0-3 and COM13-COM16
// /dev/ttyS0-3.

#include <array>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "platform/serial_devices.h"

namespace zt {

constexpr int kComPortCount = 16;
constexpr const char* kPortsSection = "ports";

// "COM" followed by the number.
std::string comPortName(int number);
// The number of a port name "COMn" (letter case ignored, n in 1..16), else 0.
int comNumberOfName(std::string_view name);

// How the system names its serial ports.
enum class PortNaming {
    SystemComNames,  // Windows: the ports are COM1, COM2, ... themselves
    DevicePaths,     // device nodes such as /dev/ttyUSB0, chosen by the port table
};
#ifdef _WIN32
constexpr PortNaming kSystemPortNaming = PortNaming::SystemComNames;
#else
constexpr PortNaming kSystemPortNaming = PortNaming::DevicePaths;
#endif

// The device a number stands for when mysetup.ini names none ("" outside 1..16).
std::filesystem::path defaultComDevice(int number, PortNaming naming = kSystemPortNaming);
// The device of COM n: with system COM names COMn itself; otherwise the
// "ports" entry of `mySetupIni`, else the default.
std::filesystem::path comDevice(int number, const std::filesystem::path& mySetupIni,
                                PortNaming naming = kSystemPortNaming);
// True when COM n's device exists.
bool comAvailable(int number, const std::filesystem::path& mySetupIni);
// Entry n-1 for COM n.
std::array<bool, kComPortCount> comAvailability(const std::filesystem::path& mySetupIni);

// A port given by the user: "COMn" goes through the table; anything else is a
// device path taken as it stands. Empty when the name is "COM" with a number
// outside 1..16.
std::filesystem::path resolvePort(std::string_view nameOrPath,
                                  const std::filesystem::path& mySetupIni);

// Writes the "ports" entry so that COM n reaches `device`. False when the
// number is outside 1..16 or the file cannot be written.
[[nodiscard]] bool registerComDevice(const std::filesystem::path& mySetupIni, int number,
                                     const std::filesystem::path& device);

// One COM number as the port windows and the CLI show it.
struct ComPortRow {
    int number = 0;
    std::filesystem::path configured;  // the device of the table (entry or default)
    bool assigned = false;             // named by a "ports" entry
    DeviceSummary summary;             // what the system says about it
    DeviceAccessInfo access;           // whether this user can open it
};

// COM1..COM16 with what `source` lists and reports.
std::vector<ComPortRow> comPortRows(const std::filesystem::path& mySetupIni,
                                    const SerialDeviceSource& source);

// The listed devices that no COM number reaches.
std::vector<SerialDevice> unreachedDevices(const std::vector<SerialDevice>& devices,
                                           const std::filesystem::path& mySetupIni);

}  // namespace zt
