#include "platform/port_diagnosis.h"

#ifndef _WIN32
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/port_table.h"
#include "platform/qt_serial_devices.h"

namespace zt {

namespace {

#ifndef _WIN32

std::string groupName(gid_t gid)
{
    const group* g = ::getgrgid(gid);
    return g != nullptr && g->gr_name != nullptr ? std::string(g->gr_name) : std::string();
}

// True when this process runs with `gid` among its groups.
bool processHasGroup(gid_t gid)
{
    if (::getegid() == gid) return true;
    const int n = ::getgroups(0, nullptr);
    if (n <= 0) return false;
    std::vector<gid_t> groups(static_cast<std::size_t>(n));
    const int got = ::getgroups(n, groups.data());
    if (got <= 0) return false;
    groups.resize(static_cast<std::size_t>(got));
    return std::find(groups.begin(), groups.end(), gid) != groups.end();
}

// True when the group database lists the current user in `gid` (which takes
// effect in processes started after the next login).
bool userListedInGroup(gid_t gid)
{
    const passwd* pw = ::getpwuid(::getuid());
    if (pw == nullptr || pw->pw_name == nullptr) return false;
    if (pw->pw_gid == gid) return true;
    const group* g = ::getgrgid(gid);
    if (g == nullptr || g->gr_mem == nullptr) return false;
    for (char** member = g->gr_mem; *member != nullptr; ++member)
        if (std::strcmp(*member, pw->pw_name) == 0) return true;
    return false;
}

#endif

}  // namespace

std::string kernelNameOf(const std::string& device)
{
    std::error_code ec;
    const std::filesystem::path node = std::filesystem::canonical(device, ec);
    const std::filesystem::path path = ec ? std::filesystem::path(device) : node;
    const std::string parent = path.parent_path().filename().string();
    return parent == "pts" ? "pts/" + path.filename().string() : path.filename().string();
}

void describeDeniedDevice(const DeniedDevice& node, PortFacts& facts)
{
    facts.group = node.group;
    if (!groupMayReadWrite(node.group, node.mode)) {
        facts.problem = PortProblem::AdministratorOnly;
        facts.udevRule = dialoutUdevRule(node.kernelName, node.vendorId, node.productId);
        return;
    }
    const bool waitingForLogin = node.userListedInGroup && !node.processHasGroup;
    facts.problem = waitingForLogin ? PortProblem::NewLoginNeeded : PortProblem::NoPermission;
}

std::vector<std::string> devicePathsOf(const SerialDeviceSource& source)
{
    std::vector<std::string> paths;
    for (const SerialDevice& device : source.devices()) paths.push_back(device.path);
    paths.erase(std::unique(paths.begin(), paths.end()), paths.end());
    return paths;
}

std::vector<std::string> existingSerialDevices()
{
    return devicePathsOf(SystemSerialDevices());
}

std::vector<std::string> existingComPorts(const std::filesystem::path& mySetupIni,
                                          const SerialDeviceSource& source)
{
    std::vector<std::string> ports;
    for (const ComPortRow& row : comPortRows(mySetupIni, source))
        if (row.summary.present)
            ports.push_back(comPortName(row.number) + " (" + row.configured.string() + ")");
    return ports.empty() ? devicePathsOf(source) : ports;
}

std::vector<std::string> existingComPorts(const std::filesystem::path& mySetupIni)
{
    return existingComPorts(mySetupIni, SystemSerialDevices());
}

PortFacts diagnosePortOpenFailure(const std::string& device, bool refusedWhileAccessible,
                                  const std::string& systemReason,
                                  const std::function<std::vector<std::string>()>& listPorts)
{
    PortFacts facts;
    facts.device = device;
    facts.systemReason = systemReason;
    if (device.empty()) {
        facts.problem = PortProblem::NoDeviceSet;
        return facts;
    }
#ifdef _WIN32
    // The system names its ports; a name it does not list is missing, and a
    // listed port that refuses to open is held by another program.
    if (!serialDeviceExists(device)) {
        facts.problem = PortProblem::Missing;
        if (listPorts) facts.existingPorts = listPorts();
        return facts;
    }
#else
    struct stat st {};
    if (::stat(device.c_str(), &st) != 0) {
        if (errno == ENOENT || errno == ENOTDIR) {
            facts.problem = PortProblem::Missing;
            if (listPorts) facts.existingPorts = listPorts();
        }
        return facts;
    }
    if (::access(device.c_str(), R_OK | W_OK) != 0 && errno == EACCES) {
        DeniedDevice node;
        node.group = groupName(st.st_gid);
        if (node.group.empty() && st.st_gid == 0) node.group = "root";
        node.mode = static_cast<unsigned>(st.st_mode);
        node.userListedInGroup = userListedInGroup(st.st_gid);
        node.processHasGroup = processHasGroup(st.st_gid);
        node.kernelName = kernelNameOf(device);
        if (!groupMayReadWrite(node.group, node.mode)) {
            // Only then is the device listing asked for its USB ids.
            const std::vector<SerialDevice> devices = SystemSerialDevices().devices();
            if (const SerialDevice* listed = findDevice(devices, device)) {
                node.vendorId = listed->vendorId;
                node.productId = listed->productId;
            }
        }
        describeDeniedDevice(node, facts);
        return facts;
    }
#endif
    if (refusedWhileAccessible) facts.problem = PortProblem::InUse;
    return facts;
}

}  // namespace zt
