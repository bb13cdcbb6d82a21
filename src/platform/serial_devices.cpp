#include "platform/serial_devices.h"

#ifndef _WIN32
#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <system_error>

namespace zt {

namespace fs = std::filesystem;

std::string SerialDevice::vidPid() const
{
    if (!isUsb()) return {};
    char text[10];
    std::snprintf(text, sizeof text, "%04x:%04x", unsigned{*vendorId}, unsigned{*productId});
    return text;
}

namespace {

// Orders "ttyUSB2" before "ttyUSB10": digit runs compare by value.
bool naturalLess(const std::string& a, const std::string& b)
{
    std::size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        const bool da = std::isdigit(static_cast<unsigned char>(a[i])) != 0;
        const bool db = std::isdigit(static_cast<unsigned char>(b[j])) != 0;
        if (da && db) {
            std::size_t ei = i, ej = j;
            while (ei < a.size() && std::isdigit(static_cast<unsigned char>(a[ei]))) ++ei;
            while (ej < b.size() && std::isdigit(static_cast<unsigned char>(b[ej]))) ++ej;
            // Without leading zeros the longer run is the larger number.
            std::size_t si = i, sj = j;
            while (si + 1 < ei && a[si] == '0') ++si;
            while (sj + 1 < ej && b[sj] == '0') ++sj;
            if (ei - si != ej - sj) return ei - si < ej - sj;
            const int c = a.compare(si, ei - si, b, sj, ej - sj);
            if (c != 0) return c < 0;
            i = ei;
            j = ej;
        } else {
            if (a[i] != b[j]) return a[i] < b[j];
            ++i;
            ++j;
        }
    }
    return a.size() - i < b.size() - j;
}

// The file a path finally leads to, "" when it leads nowhere.
fs::path finalTarget(const fs::path& path)
{
    std::error_code ec;
    fs::path target = fs::canonical(path, ec);
    return ec ? fs::path() : target;
}

}  // namespace

void sortForDisplay(std::vector<SerialDevice>& devices)
{
    std::stable_sort(devices.begin(), devices.end(),
                     [](const SerialDevice& a, const SerialDevice& b) {
                         if (a.isUsb() != b.isUsb()) return a.isUsb();
                         return naturalLess(a.path, b.path);
                     });
}

void attachByIdLinks(std::vector<SerialDevice>& devices, const fs::path& byIdFolder)
{
    std::error_code ec;
    std::vector<fs::path> links;
    for (fs::directory_iterator it(byIdFolder, ec), end; !ec && it != end; it.increment(ec))
        links.push_back(it->path());
    std::sort(links.begin(), links.end());

    for (SerialDevice& d : devices) {
        d.byIdPath.clear();
        const fs::path target = finalTarget(d.path);
        if (target.empty()) continue;
        for (const fs::path& link : links) {
            if (finalTarget(link) == target) {
                d.byIdPath = link.string();
                break;
            }
        }
    }
}

const SerialDevice* findDevice(const std::vector<SerialDevice>& devices, const fs::path& configured)
{
    if (configured.empty()) return nullptr;
    for (const SerialDevice& d : devices)
        if (configured == d.path || (!d.byIdPath.empty() && configured == d.byIdPath)) return &d;
    // Any other link to a listed device (e.g. one made by a udev rule).
    const fs::path target = finalTarget(configured);
    if (target.empty()) return nullptr;
    for (const SerialDevice& d : devices)
        if (finalTarget(d.path) == target) return &d;
    return nullptr;
}

DeviceSummary summarizeDevice(const std::vector<SerialDevice>& devices, const fs::path& configured)
{
    DeviceSummary s;
    const SerialDevice* d = findDevice(devices, configured);
#ifdef _WIN32
    // Port names are no files: a port is present when the system lists it.
    s.present = d != nullptr;
#else
    std::error_code ec;
    s.present = !configured.empty() && fs::exists(configured, ec);
#endif
    if (!d) {
        s.device = configured.string();
        return s;
    }
    s.device = d->path;
    s.description = d->description.empty() ? d->manufacturer : d->description;
    if (d->isUsb()) {
        if (!s.description.empty()) s.description += ' ';
        s.description += "(" + d->vidPid() + ")";
    }
    return s;
}

bool groupMayReadWrite(const std::string& group, unsigned mode)
{
    constexpr unsigned kGroupReadWrite = 0060;  // S_IRGRP | S_IWGRP
    return group != "root" && (mode & kGroupReadWrite) == kGroupReadWrite;
}

DeviceAccessInfo checkDeviceAccess(const fs::path& device)
{
    DeviceAccessInfo info;
#ifdef _WIN32
    // Windows has no device groups; whether the port opens is told by the open.
    (void)device;
    return info;
#else
    struct stat st {};
    if (::stat(device.c_str(), &st) != 0) {
        info.access = errno == ENOENT || errno == ENOTDIR ? DeviceAccess::Missing
                      : errno == EACCES                   ? DeviceAccess::NoPermission
                                                          : DeviceAccess::Unknown;
        return info;
    }
    std::vector<char> buffer(16384);
    struct group entry {};
    struct group* found = nullptr;
    if (::getgrgid_r(st.st_gid, &entry, buffer.data(), buffer.size(), &found) == 0 && found)
        info.group = found->gr_name;
    if (info.group.empty() && st.st_gid == 0) info.group = "root";
    info.groupCanOpen = groupMayReadWrite(info.group, st.st_mode);
    if (::access(device.c_str(), R_OK | W_OK) == 0) {
        info.access = DeviceAccess::Allowed;
    } else {
        info.access =
            errno == EACCES || errno == EPERM ? DeviceAccess::NoPermission : DeviceAccess::Unknown;
    }
    return info;
#endif
}

}  // namespace zt
