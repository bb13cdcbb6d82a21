#pragma once

// The serial devices present on this machine, as a user recognises them: the
// device node, what the system says it is (description, manufacturer, USB
// vendor and product id, serial number), its stable /dev/serial/by-id link and
// whether this user may open it. The listing sits behind SerialDeviceSource so
// that windows and tests can work with any list.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace zt {

// What stands between this user and a device.
enum class DeviceAccess {
    Allowed,       // it can be opened for reading and writing
    NoPermission,  // it exists, but the user lacks the permission (group)
    Missing,       // there is no such device
    Unknown,       // anything else (the open itself will tell)
};

struct DeviceAccessInfo {
    DeviceAccess access = DeviceAccess::Unknown;
    std::string group;  // the group owning the device node, "" when unknown
    // Whether joining `group` would let a user read and write the device. When
    // it would not, only the administrator can open it.
    bool groupCanOpen = true;
};

// Whether the members of `group` may read and write a device node whose
// permission bits are `mode`. The administrator's group "root" never counts:
// nobody is to be told to join it.
bool groupMayReadWrite(const std::string& group, unsigned mode);

struct SerialDevice {
    std::string path;          // the device node, e.g. /dev/ttyUSB0
    std::string byIdPath;      // its /dev/serial/by-id/... link, "" when none
    std::string description;   // e.g. "FT232R USB UART"
    std::string manufacturer;  // e.g. "FTDI"
    std::string serialNumber;
    std::optional<std::uint16_t> vendorId;
    std::optional<std::uint16_t> productId;

    bool isUsb() const { return vendorId.has_value() && productId.has_value(); }
    // "0403:6001" (four lower-case hex digits each), "" without USB ids.
    std::string vidPid() const;
    // The path a port assignment stores: the by-id link when there is one,
    // so the same adapter is found again after replugging in another order.
    std::string assignablePath() const { return byIdPath.empty() ? path : byIdPath; }
};

// Where the list of devices comes from.
class SerialDeviceSource {
  public:
    virtual ~SerialDeviceSource() = default;
    // Every serial device present, USB adapters first (see sortForDisplay).
    virtual std::vector<SerialDevice> devices() const = 0;
    // Whether this user can open `device` (a node or a link to one).
    virtual DeviceAccessInfo access(const std::filesystem::path& device) const = 0;
};

// The folder of stable links the system keeps for USB serial adapters.
inline const std::filesystem::path kSerialByIdFolder = "/dev/serial/by-id";

// USB adapters first, then the rest; within each by device path, numbers in
// numeric order (ttyUSB2 before ttyUSB10).
void sortForDisplay(std::vector<SerialDevice>& devices);

// Fills each device's byIdPath with the link of `byIdFolder` that leads to it
// (links are followed to their final device; a missing folder leaves all
// empty). With several links to one device the first in name order is taken.
void attachByIdLinks(std::vector<SerialDevice>& devices, const std::filesystem::path& byIdFolder);

// The listed device that `configured` reaches: equal to its node or its by-id
// link, or the same file once links are followed. Null when none.
const SerialDevice* findDevice(const std::vector<SerialDevice>& devices,
                               const std::filesystem::path& configured);

// What a port number's device is, for showing beside it.
struct DeviceSummary {
    std::string device;       // the node reached (the configured path when not listed)
    std::string description;  // "FT232R USB UART (0403:6001)", "" when not listed
    bool present = false;     // the configured path leads to an existing file
};

DeviceSummary summarizeDevice(const std::vector<SerialDevice>& devices,
                              const std::filesystem::path& configured);

// The platform's access check: access(2) for reading and writing, the owning
// group from stat(2). Unknown on Windows, where the open itself tells.
DeviceAccessInfo checkDeviceAccess(const std::filesystem::path& device);

}  // namespace zt
