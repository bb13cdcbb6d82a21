#include "platform/serial_devices.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "core/files/ini_profile.h"
#include "platform/port_table.h"
#include "support/fake_serial_devices.h"

namespace zt {
namespace {

namespace fs = std::filesystem;
using testing::FakeDeviceFolder;
using testing::FakeDeviceRig;
using testing::FakeSerialDevices;
using testing::usbAdapter;

class SerialDevicesTest : public ::testing::Test {
  protected:
    // Two adapters plugged in, each with its stable link.
    void plugTwoAdapters(const std::string& ftdiNode, const std::string& otherNode)
    {
        source_.list = {
            usbAdapter(folder_->plug(ftdiNode), "FT232R USB UART", 0x0403, 0x6001, "A1"),
            usbAdapter(folder_->plug(otherNode), "USB-Serial Controller", 0x067b, 0x2303, "B2")};
        ftdiLink_ = folder_->link("usb-Maker_FT232R_A1-if00-port0", ftdiNode);
        otherLink_ = folder_->link("usb-Maker_Controller_B2-if00-port0", otherNode);
    }

    FakeDeviceRig rig_{fs::path("language") / "mysetup.ini"};
    FakeDeviceFolder* folder_ = &rig_.folder;
    FakeSerialDevices& source_ = rig_.source;
    const fs::path& ini_ = rig_.ini;
    std::string ftdiLink_, otherLink_;
};

TEST_F(SerialDevicesTest, AssignedAdapterIsFoundAgainAfterReplugInAnotherOrder)
{
    plugTwoAdapters("ttyUSB0", "ttyUSB1");
    std::vector<SerialDevice> devices = source_.devices();
    ASSERT_EQ(devices.size(), 2u);
    EXPECT_EQ(devices[0].byIdPath, ftdiLink_);
    EXPECT_EQ(devices[1].byIdPath, otherLink_);

    // Assigning stores the stable link, and reads back as the table's device.
    ASSERT_TRUE(registerComDevice(ini_, 3, devices[0].assignablePath()));
    EXPECT_EQ(comDevice(3, ini_), fs::path(ftdiLink_));
    EXPECT_TRUE(comAvailable(3, ini_));
    DeviceSummary s = summarizeDevice(devices, comDevice(3, ini_));
    EXPECT_EQ(s.device, folder_->node("ttyUSB0").string());
    EXPECT_EQ(s.description, "FT232R USB UART (0403:6001)");
    EXPECT_TRUE(s.present);

    // Replugged the other way round: the same adapter, now ttyUSB1.
    folder_->unplug("ttyUSB0");
    folder_->unplug("ttyUSB1");
    plugTwoAdapters("ttyUSB1", "ttyUSB0");
    devices = source_.devices();
    s = summarizeDevice(devices, comDevice(3, ini_));
    EXPECT_EQ(s.device, folder_->node("ttyUSB1").string());
    EXPECT_EQ(s.description, "FT232R USB UART (0403:6001)");
    // A number given a plain node follows the node, not the adapter.
    ASSERT_TRUE(registerComDevice(ini_, 4, folder_->node("ttyUSB0")));
    EXPECT_EQ(summarizeDevice(devices, comDevice(4, ini_)).description,
              "USB-Serial Controller (067b:2303)");
}

TEST_F(SerialDevicesTest, UnpluggedAdapterLeavesItsNumberAssignedButAbsent)
{
    plugTwoAdapters("ttyUSB0", "ttyUSB1");
    ASSERT_TRUE(registerComDevice(ini_, 2, source_.devices()[0].assignablePath()));
    folder_->unplug("ttyUSB0");
    folder_->removeLink("usb-Maker_FT232R_A1-if00-port0");
    source_.list.erase(source_.list.begin());

    EXPECT_EQ(comDevice(2, ini_), fs::path(ftdiLink_));  // the entry stays
    EXPECT_FALSE(comAvailable(2, ini_));
    const auto rows = comPortRows(ini_, source_);
    EXPECT_TRUE(rows[1].assigned);
    EXPECT_FALSE(rows[1].summary.present);
    EXPECT_EQ(rows[1].summary.device, ftdiLink_);
    EXPECT_EQ(rows[1].summary.description, "");
    EXPECT_EQ(rows[1].access.access, DeviceAccess::Missing);
    // A dangling link (the adapter gone, the link left behind) is absent too.
    folder_->link("usb-Maker_FT232R_A1-if00-port0", "ttyUSB0");
    EXPECT_FALSE(comAvailable(2, ini_));
    EXPECT_EQ(findDevice(source_.devices(), comDevice(2, ini_)), nullptr);
}

TEST_F(SerialDevicesTest, RowsReportAccessAndUnreachedDevices)
{
    plugTwoAdapters("ttyUSB5", "ttyACM7");
    source_.accessOf[folder_->node("ttyACM7").string()] = {DeviceAccess::NoPermission, "dialout"};
    ASSERT_TRUE(registerComDevice(ini_, 1, otherLink_));

    const auto rows = comPortRows(ini_, source_);
    ASSERT_EQ(rows.size(), 16u);
    EXPECT_EQ(rows[0].number, 1);
    EXPECT_TRUE(rows[0].assigned);
    EXPECT_EQ(rows[0].access.access, DeviceAccess::NoPermission);
    EXPECT_EQ(rows[0].access.group, "dialout");
    EXPECT_FALSE(rows[1].assigned);  // the default /dev/ttyUSB1
    EXPECT_EQ(rows[1].configured, fs::path("/dev/ttyUSB1"));

    // Reached by COM1: only the FT232R has no number.
    const auto unreached = unreachedDevices(source_.devices(), ini_);
    ASSERT_EQ(unreached.size(), 1u);
    EXPECT_EQ(unreached[0].path, folder_->node("ttyUSB5").string());
}

TEST(SerialDeviceList, UsbAdaptersFirstInNaturalOrder)
{
    SerialDevice builtIn;
    builtIn.path = "/dev/ttyS0";
    std::vector<SerialDevice> list{builtIn, usbAdapter("/dev/ttyUSB10", "x", 1, 2),
                                   usbAdapter("/dev/ttyACM0", "y", 1, 2),
                                   usbAdapter("/dev/ttyUSB2", "z", 1, 2)};
    list[0].path = "/dev/ttyS10";
    SerialDevice s2 = builtIn;
    s2.path = "/dev/ttyS2";
    list.push_back(s2);
    sortForDisplay(list);
    std::vector<std::string> order;
    for (const auto& d : list) order.push_back(d.path);
    EXPECT_EQ(order, (std::vector<std::string>{"/dev/ttyACM0", "/dev/ttyUSB2", "/dev/ttyUSB10",
                                               "/dev/ttyS2", "/dev/ttyS10"}));
}

TEST(SerialDeviceList, VidPidAndAssignablePath)
{
    SerialDevice d = usbAdapter("/dev/ttyUSB0", "FT232R USB UART", 0x0403, 0x6001);
    EXPECT_EQ(d.vidPid(), "0403:6001");
    d.vendorId = 0xABCD;
    EXPECT_EQ(d.vidPid(), "abcd:6001");
    EXPECT_EQ(d.assignablePath(), "/dev/ttyUSB0");
    d.byIdPath = "/dev/serial/by-id/usb-x";
    EXPECT_EQ(d.assignablePath(), "/dev/serial/by-id/usb-x");
    d.productId.reset();
    EXPECT_EQ(d.vidPid(), "");
    EXPECT_FALSE(d.isUsb());
    // Nothing known about a path that is not listed.
    EXPECT_EQ(summarizeDevice({}, "/dev/nothing-here").device, "/dev/nothing-here");
    EXPECT_FALSE(summarizeDevice({}, "/dev/nothing-here").present);
    EXPECT_EQ(findDevice({d}, ""), nullptr);
}

TEST(DeviceAccessCheck, ExistingAndMissingFiles)
{
    const fs::path file = fs::temp_directory_path() / ("zt_access_" + std::to_string(::getpid()));
    std::ofstream(file) << "";
    const DeviceAccessInfo info = checkDeviceAccess(file);
    EXPECT_EQ(info.access, DeviceAccess::Allowed);
    EXPECT_FALSE(info.group.empty());
    fs::remove(file);
    EXPECT_EQ(checkDeviceAccess(file).access, DeviceAccess::Missing);
    EXPECT_EQ(checkDeviceAccess(file / "below").access, DeviceAccess::Missing);
}

}  // namespace
}  // namespace zt
