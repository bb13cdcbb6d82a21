#include "platform/port_table.h"

#include <algorithm>
#include <cctype>
#include <system_error>

#include "core/files/ini_profile.h"
#include "platform/qt_serial_devices.h"

namespace zt {

std::string comPortName(int number)
{
    return "COM" + std::to_string(number);
}

int comNumberOfName(std::string_view name)
{
    if (name.size() < 4 || name.size() > 5) return 0;
    for (std::size_t i = 0; i < 3; ++i)
        if (std::toupper(static_cast<unsigned char>(name[i])) != "COM"[i]) return 0;
    int n = 0;
    for (std::size_t i = 3; i < name.size(); ++i) {
        if (!std::isdigit(static_cast<unsigned char>(name[i]))) return 0;
        n = n * 10 + (name[i] - '0');
    }
    return n >= 1 && n <= kComPortCount ? n : 0;
}

std::filesystem::path defaultComDevice(int number, PortNaming naming)
{
    if (number < 1 || number > kComPortCount) return {};
    if (naming == PortNaming::SystemComNames) return comPortName(number);
    if (number >= 1 && number <= 8) return "/dev/ttyUSB" + std::to_string(number - 1);
    if (number >= 9 && number <= 12) return "/dev/ttyACM" + std::to_string(number - 9);
    if (number >= 13 && number <= 16) return "/dev/ttyS" + std::to_string(number - 13);
    return {};
}

std::filesystem::path comDevice(int number, const std::filesystem::path& mySetupIni,
                                PortNaming naming)
{
    if (number < 1 || number > kComPortCount) return {};
    if (naming == PortNaming::SystemComNames) return defaultComDevice(number, naming);
    const std::string configured =
        readProfileString(mySetupIni, kPortsSection, comPortName(number), "");
    if (!configured.empty()) return configured;
    return defaultComDevice(number, naming);
}

bool comAvailable(int number, const std::filesystem::path& mySetupIni)
{
    const std::filesystem::path device = comDevice(number, mySetupIni);
    return !device.empty() && serialDeviceExists(device);
}

std::array<bool, kComPortCount> comAvailability(const std::filesystem::path& mySetupIni)
{
    std::array<bool, kComPortCount> table{};
    for (int n = 1; n <= kComPortCount; ++n)
        table[static_cast<std::size_t>(n - 1)] = comAvailable(n, mySetupIni);
    return table;
}

std::filesystem::path resolvePort(std::string_view nameOrPath,
                                  const std::filesystem::path& mySetupIni)
{
    const int n = comNumberOfName(nameOrPath);
    if (n > 0) return comDevice(n, mySetupIni);
    // "COM" followed by digits only, but out of range: no device.
    if (nameOrPath.size() > 3 && nameOrPath.find('/') == std::string_view::npos) {
        bool comLike = true;
        for (std::size_t i = 0; i < nameOrPath.size() && comLike; ++i) {
            const unsigned char c = static_cast<unsigned char>(nameOrPath[i]);
            comLike = i < 3 ? std::toupper(c) == "COM"[i] : std::isdigit(c) != 0;
        }
        if (comLike) return {};
    }
    return std::filesystem::path(std::string(nameOrPath));
}

bool registerComDevice(const std::filesystem::path& mySetupIni, int number,
                       const std::filesystem::path& device)
{
    if (number < 1 || number > kComPortCount) return false;
    return writeProfileString(mySetupIni, kPortsSection, comPortName(number), device.string());
}

std::vector<ComPortRow> comPortRows(const std::filesystem::path& mySetupIni,
                                    const SerialDeviceSource& source)
{
    const std::vector<SerialDevice> devices = source.devices();
    std::vector<ComPortRow> rows;
    for (int n = 1; n <= kComPortCount; ++n) {
        ComPortRow row;
        row.number = n;
        row.configured = comDevice(n, mySetupIni);
        row.assigned = !readProfileString(mySetupIni, kPortsSection, comPortName(n), "").empty();
        row.summary = summarizeDevice(devices, row.configured);
        if (row.summary.present) {
            row.access = source.access(row.configured);
        } else {
            row.access.access = DeviceAccess::Missing;
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

std::vector<SerialDevice> unreachedDevices(const std::vector<SerialDevice>& devices,
                                           const std::filesystem::path& mySetupIni)
{
    std::vector<const SerialDevice*> reached;
    for (int n = 1; n <= kComPortCount; ++n)
        if (const SerialDevice* d = findDevice(devices, comDevice(n, mySetupIni)))
            reached.push_back(d);
    std::vector<SerialDevice> out;
    for (const SerialDevice& d : devices)
        if (std::find(reached.begin(), reached.end(), &d) == reached.end()) out.push_back(d);
    return out;
}

}  // namespace zt
