#include "apps/cli/ports_command.h"

#include <gtest/gtest.h>

#include <sstream>

#include "core/files/ini_profile.h"
#include "support/fake_serial_devices.h"

namespace zt {
namespace {

namespace fs = std::filesystem;
using testing::FakeDeviceFolder;
using testing::FakeDeviceRig;
using testing::FakeSerialDevices;
using testing::usbAdapter;

class PortsCommandTest : public ::testing::Test {
  protected:
    void SetUp() override
    {
        for (int n = 1; n <= kComPortCount; ++n)
            ASSERT_TRUE(writeProfileString(ini_, "ports", comPortName(n),
                                           "/nonexistent/tty" + std::to_string(n)));
    }

    int run(std::vector<std::string> args)
    {
        out_.str("");
        err_.str("");
        return runPortsCommand(args, ini_, source_, out_, err_);
    }

    FakeDeviceRig rig_;
    FakeDeviceFolder* folder_ = &rig_.folder;
    FakeSerialDevices& source_ = rig_.source;
    const fs::path& ini_ = rig_.ini;
    std::ostringstream out_, err_;
};

TEST_F(PortsCommandTest, TableShowsEachNumbersDeviceAndWhoCanOpenIt)
{
    const std::string ftdi = folder_->plug("ttyUSB0");
    const std::string other = folder_->plug("ttyUSB1");
    source_.list = {usbAdapter(ftdi, "FT232R USB UART", 0x0403, 0x6001, "A1"),
                    usbAdapter(other, "USB-Serial Controller", 0x067b, 0x2303)};
    const std::string link = folder_->link("usb-Maker_FT232R_A1-if00-port0", "ttyUSB0");
    EXPECT_TRUE(writeProfileString(ini_, "ports", "COM1", link));
    source_.accessOf[fs::canonical(ftdi).string()] = {DeviceAccess::NoPermission, "dialout"};

    ASSERT_EQ(run({"ports"}), 0);
    const std::string text = out_.str();
    std::istringstream lines(text);
    std::string header, com1, com2;
    std::getline(lines, header);
    std::getline(lines, com1);
    std::getline(lines, com2);
    EXPECT_EQ(header.rfind("Port ", 0), 0u) << text;
    for (const std::string& part :
         {std::string("COM1"), ftdi, std::string("FT232R USB UART"), std::string("0403:6001"),
          std::string("no (group dialout)"), link})
        EXPECT_NE(com1.find(part), std::string::npos) << part << "\n" << text;
    EXPECT_NE(com2.find("not present"), std::string::npos) << text;
    EXPECT_NE(com2.find("/nonexistent/tty2"), std::string::npos) << text;
    // The adapter no number reaches, and the way into the group.
    EXPECT_NE(text.find("without a port number"), std::string::npos) << text;
    EXPECT_NE(text.find(other), std::string::npos) << text;
    EXPECT_NE(text.find("sudo usermod -aG dialout $USER"), std::string::npos) << text;
    EXPECT_EQ(text.find("No serial device"), std::string::npos) << text;
}

TEST_F(PortsCommandTest, ADeviceOnlyTheAdministratorMayOpenGetsAUdevRuleNotAGroupToJoin)
{
    // crw------- root root: no group membership opens it.
    const std::string adapter = folder_->plug("ttyUSB0");
    const std::string builtIn = folder_->plug("ttyS0");
    source_.list = {usbAdapter(adapter, "FT232R USB UART", 0x0403, 0x6001)};
    ASSERT_TRUE(writeProfileString(ini_, "ports", "COM1", adapter));
    ASSERT_TRUE(writeProfileString(ini_, "ports", "COM2", builtIn));
    source_.accessOf[fs::canonical(adapter).string()] = {DeviceAccess::NoPermission, "root", false};
    source_.accessOf[fs::canonical(builtIn).string()] = {DeviceAccess::NoPermission, "root", false};

    ASSERT_EQ(run({"ports"}), 0);
    const std::string text = out_.str();
    EXPECT_EQ(text.find("usermod -aG root"), std::string::npos) << text;
    EXPECT_NE(text.find("no (administrator only)"), std::string::npos) << text;
    EXPECT_NE(text.find("Only the administrator can open " + adapter), std::string::npos) << text;
    EXPECT_NE(text.find("SUBSYSTEM==\"tty\", ATTRS{idVendor}==\"0403\", "
                        "ATTRS{idProduct}==\"6001\", GROUP=\"dialout\", MODE=\"0660\""),
              std::string::npos)
        << text;
    // A device without USB ids is named by its kernel name.
    EXPECT_NE(text.find("SUBSYSTEM==\"tty\", KERNEL==\"ttyS0\", GROUP=\"dialout\", "
                        "MODE=\"0660\""),
              std::string::npos)
        << text;
}

TEST_F(PortsCommandTest, NoDeviceSaysWhatToCheck)
{
    ASSERT_EQ(run({"ports"}), 0);
    EXPECT_NE(out_.str().find("No serial device was found"), std::string::npos);
    EXPECT_NE(out_.str().find("dmesg"), std::string::npos);
    EXPECT_EQ(out_.str().find("usermod"), std::string::npos);
}

TEST_F(PortsCommandTest, AssignStoresTheStableLinkAndRefusesMisuse)
{
    const std::string node = folder_->plug("ttyUSB3");
    source_.list = {usbAdapter(node, "FT232R USB UART", 0x0403, 0x6001)};
    const std::string link = folder_->link("usb-Maker_FT232R-if00-port0", "ttyUSB3");

    ASSERT_EQ(run({"ports", "--assign", "com7", node}), 0) << err_.str();
    EXPECT_EQ(readProfileString(ini_, "ports", "COM7", ""), link);
    EXPECT_EQ(out_.str(), "COM7 = " + link + "\n");
    // A path not listed (e.g. a virtual radio's terminal) is stored as given.
    const std::string terminal = folder_->plug("pts7");
    ASSERT_EQ(run({"ports", "--assign", "COM8", terminal}), 0);
    EXPECT_EQ(readProfileString(ini_, "ports", "COM8", ""), terminal);
    // A path that does not exist is refused unless forced: a typing error
    // would otherwise only show at the next transfer.
    EXPECT_EQ(run({"ports", "--assign", "COM4", "/nonexistent/dev"}), 2);
    EXPECT_NE(err_.str().find("/nonexistent/dev does not exist"), std::string::npos) << err_.str();
    EXPECT_NE(err_.str().find("--force"), std::string::npos) << err_.str();
    EXPECT_EQ(readProfileString(ini_, "ports", "COM4", ""), "/nonexistent/tty4");
    ASSERT_EQ(run({"ports", "--assign", "COM4", "/nonexistent/dev", "--force"}), 0);
    EXPECT_EQ(readProfileString(ini_, "ports", "COM4", ""), "/nonexistent/dev");

    EXPECT_EQ(run({"ports", "--assign", "COM17", node}), 2);
    EXPECT_EQ(run({"ports", "--assign", "COM3"}), 2);
    EXPECT_EQ(run({"ports", "extra"}), 2);
    EXPECT_FALSE(err_.str().empty());

    // An unwritable settings file: failure, not success.
    fs::remove(ini_);
    fs::create_directory(ini_);
    EXPECT_EQ(run({"ports", "--assign", "COM1", node}), 1);
    EXPECT_NE(err_.str().find("could not write"), std::string::npos);
}

}  // namespace
}  // namespace zt
