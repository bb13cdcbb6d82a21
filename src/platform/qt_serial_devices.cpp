#include "platform/qt_serial_devices.h"

#include <QSerialPortInfo>
#include <system_error>

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
#ifdef Q_OS_WIN
        d.path = info.portName().toStdString();
#else
        d.path = info.systemLocation().toStdString();
#endif
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

bool serialDeviceExists(const std::filesystem::path& device)
{
#ifdef Q_OS_WIN
    const QString name = QString::fromStdWString(device.wstring());
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts())
        if (info.portName().compare(name, Qt::CaseInsensitive) == 0) return true;
    return false;
#else
    std::error_code ec;
    return std::filesystem::exists(device, ec);
#endif
}

}  // namespace zt
