// Which port a command uses when none is named.

#include <gtest/gtest.h>

#include <sstream>

#include "apps/cli/production_command.h"
#include "support/fake_serial_devices.h"

namespace zt {
namespace {

TEST(PortLeftOut, OnlyASingleUsbAdapterIsTakenAndNamed)
{
    testing::FakeSerialDevices devices;
    SerialDevice builtIn;
    builtIn.path = "/dev/ttyS0";  // a serial port on the board, not an adapter
    devices.list = {builtIn,
                    testing::usbAdapter("/dev/ttyUSB3", "FT232R USB UART", 0x0403, 0x6001)};
    std::ostringstream err;
    EXPECT_EQ(onlyUsbAdapter(devices, err), "/dev/ttyUSB3");
    EXPECT_NE(err.str().find("using /dev/ttyUSB3 (FT232R USB UART)"), std::string::npos)
        << err.str();

    devices.list.push_back(testing::usbAdapter("/dev/ttyUSB0", "CP2102", 0x10c4, 0xea60));
    std::ostringstream two;
    EXPECT_EQ(onlyUsbAdapter(devices, two), "");
    EXPECT_NE(two.str().find("2 USB serial adapters are present"), std::string::npos) << two.str();

    devices.list = {builtIn};
    std::ostringstream none;
    EXPECT_EQ(onlyUsbAdapter(devices, none), "");
    EXPECT_NE(none.str().find("no USB serial adapter"), std::string::npos) << none.str();
}

}  // namespace
}  // namespace zt
