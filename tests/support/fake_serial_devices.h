#pragma once

// A serial-device list that tests set as they like, over device files and
// by-id links they make in a temporary folder.

#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "platform/serial_devices.h"
#include "support/temp_dir.h"

namespace zt::testing {

class FakeSerialDevices : public SerialDeviceSource {
  public:
    std::vector<SerialDevice> list;
    std::map<std::string, DeviceAccessInfo> accessOf;  // by device node; default Allowed
    std::filesystem::path byIdFolder;                  // links attached on every listing

    std::vector<SerialDevice> devices() const override
    {
        std::vector<SerialDevice> out = list;
        if (!byIdFolder.empty()) attachByIdLinks(out, byIdFolder);
        sortForDisplay(out);
        return out;
    }
    DeviceAccessInfo access(const std::filesystem::path& device) const override
    {
        std::error_code ec;
        const std::string node = std::filesystem::canonical(device, ec).string();
        const auto it = accessOf.find(ec ? device.string() : node);
        return it != accessOf.end() ? it->second
                                    : DeviceAccessInfo{DeviceAccess::Allowed, "dialout"};
    }
};

// A USB adapter as the system would describe it.
inline SerialDevice usbAdapter(std::string path, std::string description, std::uint16_t vid,
                               std::uint16_t pid, std::string serial = "")
{
    SerialDevice d;
    d.path = std::move(path);
    d.description = std::move(description);
    d.manufacturer = "Maker";
    d.serialNumber = std::move(serial);
    d.vendorId = vid;
    d.productId = pid;
    return d;
}

// A folder holding fake device nodes and a by-id folder of links to them.
class FakeDeviceFolder {
  public:
    explicit FakeDeviceFolder(std::filesystem::path root) : root_(std::move(root))
    {
        std::filesystem::create_directories(root_ / "dev");
        std::filesystem::create_directories(byId());
    }
    std::filesystem::path node(const std::string& name) const { return root_ / "dev" / name; }
    std::filesystem::path byId() const { return root_ / "by-id"; }

    std::string plug(const std::string& name)
    {
        std::ofstream(node(name)) << "";
        return node(name).string();
    }
    void unplug(const std::string& name) { std::filesystem::remove(node(name)); }
    // (Re)points the by-id link `link` at device node `name`, relative like udev does.
    std::string link(const std::string& link, const std::string& name)
    {
        const std::filesystem::path l = byId() / link;
        std::filesystem::remove(l);
        std::filesystem::create_symlink(std::filesystem::path("..") / "dev" / name, l);
        return l.string();
    }
    void removeLink(const std::string& link) { std::filesystem::remove(byId() / link); }

  private:
    std::filesystem::path root_;
};

// The set-up of every test of serial devices: a scratch folder with a fake
// device folder, a device list whose by-id links come from it, and the path
// of the port table's settings file (`iniName` inside the folder; not created).
struct FakeDeviceRig {
    explicit FakeDeviceRig(const std::filesystem::path& iniName = "mysetup.ini")
        : folder(dir.path()), ini(dir.path() / iniName)
    {
        std::filesystem::create_directories(ini.parent_path());
        source.byIdFolder = folder.byId();
    }

    test::TempDir dir;
    FakeDeviceFolder folder;
    FakeSerialDevices source;
    std::filesystem::path ini;
};

}  // namespace zt::testing
