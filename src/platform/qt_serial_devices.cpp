#include "platform/qt_serial_devices.h"

#include <QSerialPortInfo>

namespace zt {

SystemSerialDevices::SystemSerialDevices(std::filesystem::path byIdFolder)
    : byIdFolder_(std::move(byIdFolder))
{
}

std::vector<SerialDevice> SystemSerialDevices::devices() const
{
    std::vector<SerialDevice> list;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
        SerialDevice d;
        d.path = info.systemLocation().toStdString();
        d.description = info.description().trimmed().toStdString();
        d.manufacturer = info.manufacturer().trimmed().toStdString();
        d.serialNumber = info.serialNumber().trimmed().toStdString();
        if (info.hasVendorIdentifier() && info.hasProductIdentifier()) {
            d.vendorId = info.vendorIdentifier();
            d.productId = info.productIdentifier();
        }
        list.push_back(std::move(d));
    }
    attachByIdLinks(list, byIdFolder_);
    sortForDisplay(list);
    return list;
}

DeviceAccessInfo SystemSerialDevices::access(const std::filesystem::path& device) const
{
    return checkDeviceAccess(device);
}

}  // namespace zt
