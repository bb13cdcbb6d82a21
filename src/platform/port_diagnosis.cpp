#include "platform/port_diagnosis.h"

#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QSerialPortInfo>
#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/port_table.h"

namespace zt {

namespace {

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

}  // namespace

std::vector<std::string> existingSerialDevices()
{
    std::vector<std::string> devices;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts())
        devices.push_back(info.systemLocation().toStdString());
    std::sort(devices.begin(), devices.end());
    devices.erase(std::unique(devices.begin(), devices.end()), devices.end());
    return devices;
}

std::vector<std::string> existingComPorts(const std::filesystem::path& mySetupIni)
{
    std::vector<std::string> ports;
    const auto present = comAvailability(mySetupIni);
    for (int n = 1; n <= kComPortCount; ++n)
        if (present[static_cast<std::size_t>(n - 1)])
            ports.push_back(comPortName(n) + " (" + comDevice(n, mySetupIni).string() + ")");
    return ports.empty() ? existingSerialDevices() : ports;
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
    struct stat st {};
    if (::stat(device.c_str(), &st) != 0) {
        if (errno == ENOENT || errno == ENOTDIR) {
            facts.problem = PortProblem::Missing;
            if (listPorts) facts.existingPorts = listPorts();
        }
        return facts;
    }
    if (::access(device.c_str(), R_OK | W_OK) != 0 && errno == EACCES) {
        facts.group = groupName(st.st_gid);
        const bool waitingForLogin = userListedInGroup(st.st_gid) && !processHasGroup(st.st_gid);
        facts.problem = waitingForLogin ? PortProblem::NewLoginNeeded : PortProblem::NoPermission;
        return facts;
    }
    if (refusedWhileAccessible) facts.problem = PortProblem::InUse;
    return facts;
}

}  // namespace zt
