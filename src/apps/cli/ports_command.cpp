#include "apps/cli/ports_command.h"

#include <algorithm>
#include <ostream>

#include "platform/port_diagnosis.h"

namespace zt {

namespace {

std::string accessText(const DeviceAccessInfo& info)
{
    switch (info.access) {
        case DeviceAccess::Allowed:
            return "yes";
        case DeviceAccess::NoPermission:
            if (!info.groupCanOpen) return "no (administrator only)";
            return info.group.empty() ? "no (permission)" : "no (group " + info.group + ")";
        case DeviceAccess::Missing:
            return "not present";
        case DeviceAccess::Unknown:
            break;
    }
    return "unknown";
}

void writeColumns(const std::vector<std::vector<std::string>>& table, std::ostream& out)
{
    std::vector<std::size_t> widths;
    for (const auto& row : table) {
        widths.resize(std::max(widths.size(), row.size()));
        for (std::size_t c = 0; c < row.size(); ++c) widths[c] = std::max(widths[c], row[c].size());
    }
    for (const auto& row : table) {
        std::string line;
        for (std::size_t c = 0; c < row.size(); ++c) {
            line += row[c];
            if (c + 1 < row.size()) line += std::string(widths[c] - row[c].size() + 2, ' ');
        }
        out << line << "\n";
    }
}

std::string orDash(const std::string& text)
{
    return text.empty() ? "-" : text;
}

}  // namespace

void writePortTable(const std::vector<ComPortRow>& rows, const std::vector<SerialDevice>& devices,
                    const std::vector<SerialDevice>& unreached, std::ostream& out)
{
    std::vector<std::vector<std::string>> table{
        {"Port", "Device", "Description", "VID:PID", "Can open", "Set by"}};
    for (const ComPortRow& r : rows) {
        const SerialDevice* d = findDevice(devices, r.configured);
        table.push_back({comPortName(r.number), r.summary.device,
                         orDash(d ? (d->description.empty() ? d->manufacturer : d->description)
                                  : std::string()),
                         orDash(d ? d->vidPid() : std::string()), accessText(r.access),
                         r.assigned ? r.configured.string() : "default"});
    }
    writeColumns(table, out);

    if (!unreached.empty()) {
        out << "\nSerial devices without a port number:\n";
        std::vector<std::vector<std::string>> list{
            {"Device", "Description", "Manufacturer", "VID:PID", "Serial number", "Stable path"}};
        for (const SerialDevice& d : unreached)
            list.push_back({d.path, orDash(d.description), orDash(d.manufacturer),
                            orDash(d.vidPid()), orDash(d.serialNumber), orDash(d.byIdPath)});
        writeColumns(list, out);
        out << "Give one a number with: ztp958fm-cli ports --assign COMn DEVICE\n";
    }

    if (devices.empty()) {
        out << "\nNo serial device was found. Check that the programming cable is plugged in,\n"
               "that `dmesg` shows the adapter when you plug it in, and that you are in the\n"
               "group of the serial devices (`groups`; usually dialout).\n";
    }
    // A device whose group may not read and write it: joining that group
    // (often root) would not help, so the administrator's way is shown.
    std::vector<std::string> explained;
    for (const ComPortRow& r : rows) {
        if (r.access.access != DeviceAccess::NoPermission || r.access.groupCanOpen) continue;
        if (std::find(explained.begin(), explained.end(), r.summary.device) != explained.end())
            continue;
        explained.push_back(r.summary.device);
        PortFacts facts;
        facts.device = r.summary.device;
        facts.problem = PortProblem::AdministratorOnly;
        facts.group = r.access.group;
        const SerialDevice* d = findDevice(devices, r.configured);
        facts.udevRule =
            dialoutUdevRule(kernelNameOf(r.summary.device), d ? d->vendorId : std::nullopt,
                            d ? d->productId : std::nullopt);
        out << "\n" << explainPortFailure(facts, {}) << "\n";
    }
    std::vector<std::string> groups;
    for (const ComPortRow& r : rows)
        if (r.access.access == DeviceAccess::NoPermission && r.access.groupCanOpen &&
            std::find(groups.begin(), groups.end(), r.access.group) == groups.end())
            groups.push_back(r.access.group);
    for (const std::string& g : groups) {
        const std::string group = g.empty() ? "dialout" : g;
        out << "\nYou may not open the devices of the group " << group
            << ". Join it with:\n  sudo usermod -aG " << group
            << " $USER\nthen log out and in again.\n";
    }
}

int runPortsCommand(const std::vector<std::string>& args, const std::filesystem::path& mySetupIni,
                    const SerialDeviceSource& source, std::ostream& out, std::ostream& err)
{
    if (args.size() == 1) {
        const std::vector<SerialDevice> devices = source.devices();
        writePortTable(comPortRows(mySetupIni, source), devices,
                       unreachedDevices(devices, mySetupIni), out);
        return 0;
    }
    const bool force = args.size() == 5 && args[4] == "--force";
    if ((args.size() == 4 || force) && args[1] == "--assign") {
        const int number = comNumberOfName(args[2]);
        if (number == 0) {
            err << "ztp958fm-cli: --assign takes a port name COM1..COM16\n";
            return 2;
        }
        // A mistyped path would otherwise be stored without a word and only
        // fail at the next transfer.
        std::error_code ec;
        if (!force && !std::filesystem::exists(args[3], ec)) {
            err << "ztp958fm-cli: " << args[3]
                << " does not exist, so nothing was stored. Plug the cable in and choose a "
                   "device `ztp958fm-cli ports` lists, or add --force to store the path as it "
                   "stands.\n";
            return 2;
        }
        // The stable by-id path of a listed device, so a replug in another
        // order finds the same adapter; any other path as given.
        const std::vector<SerialDevice> devices = source.devices();
        const SerialDevice* d = findDevice(devices, args[3]);
        const std::string path = d ? d->assignablePath() : args[3];
        if (!registerComDevice(mySetupIni, number, path)) {
            err << "ztp958fm-cli: could not write " << mySetupIni.string() << "\n";
            return 1;
        }
        out << comPortName(number) << " = " << path << "\n";
        return 0;
    }
    err << "ztp958fm-cli: usage: ztp958fm-cli ports [--assign COMn DEVICE [--force]]\n";
    return 2;
}

}  // namespace zt
