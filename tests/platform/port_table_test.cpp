#include "platform/port_table.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "core/files/ini_profile.h"

namespace zt {
namespace {

namespace fs = std::filesystem;

class PortTableTest : public ::testing::Test {
  protected:
    void SetUp() override
    {
        dir_ = fs::temp_directory_path() /
               ("zt_port_table_" + std::to_string(::getpid()) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_ / "language");
        ini_ = dir_ / "language" / "mysetup.ini";
    }
    void TearDown() override { fs::remove_all(dir_); }

    void writeIni(const std::string& text) { std::ofstream(ini_, std::ios::binary) << text; }

    fs::path dir_;
    fs::path ini_;
};

TEST_F(PortTableTest, DefaultsCoverTheThreeDeviceFamilies)
{
    EXPECT_EQ(defaultComDevice(1), "/dev/ttyUSB0");
    EXPECT_EQ(defaultComDevice(8), "/dev/ttyUSB7");
    EXPECT_EQ(defaultComDevice(9), "/dev/ttyACM0");
    EXPECT_EQ(defaultComDevice(12), "/dev/ttyACM3");
    EXPECT_EQ(defaultComDevice(13), "/dev/ttyS0");
    EXPECT_EQ(defaultComDevice(16), "/dev/ttyS3");
    EXPECT_TRUE(defaultComDevice(0).empty());
    EXPECT_TRUE(defaultComDevice(17).empty());
    // No mysetup.ini at all: the defaults.
    EXPECT_EQ(comDevice(3, ini_), "/dev/ttyUSB2");
}

TEST_F(PortTableTest, ConfiguredEntryWinsAndKeysIgnoreCase)
{
    writeIni("[language]\ncomPort=3\n[Ports]\ncom3 = /tmp/some/device\nCOM4=\n");
    EXPECT_EQ(comDevice(3, ini_), "/tmp/some/device");
    // An empty entry names no device: the default stays.
    EXPECT_EQ(comDevice(4, ini_), "/dev/ttyUSB3");
    EXPECT_EQ(comDevice(5, ini_), "/dev/ttyUSB4");
    EXPECT_TRUE(comDevice(17, ini_).empty());
}

TEST_F(PortTableTest, WithSystemComNamesANumberIsTheSystemsOwnPort)
{
    // What a build for Windows uses: the table's entries and defaults do not apply.
    writeIni("[ports]\nCOM3=/tmp/some/device\n");
    EXPECT_EQ(comDevice(3, ini_, PortNaming::SystemComNames), fs::path("COM3"));
    EXPECT_EQ(comDevice(16, ini_, PortNaming::SystemComNames), fs::path("COM16"));
    EXPECT_EQ(defaultComDevice(1, PortNaming::SystemComNames), fs::path("COM1"));
    EXPECT_TRUE(comDevice(0, ini_, PortNaming::SystemComNames).empty());
    EXPECT_TRUE(defaultComDevice(17, PortNaming::SystemComNames).empty());
    EXPECT_EQ(comDevice(3, ini_, PortNaming::DevicePaths), fs::path("/tmp/some/device"));
}

TEST_F(PortTableTest, AvailableExactlyWhenTheDeviceExists)
{
    const fs::path device = dir_ / "fake-tty";
    std::ofstream(device) << "";
    writeIni("[ports]\nCOM2=" + device.string() + "\nCOM6=" + (dir_ / "missing").string() + "\n");
    EXPECT_TRUE(comAvailable(2, ini_));
    EXPECT_FALSE(comAvailable(6, ini_));
    EXPECT_FALSE(comAvailable(0, ini_));
    EXPECT_FALSE(comAvailable(17, ini_));
    const auto table = comAvailability(ini_);
    EXPECT_TRUE(table[1]);
    EXPECT_FALSE(table[5]);
    for (int n = 1; n <= kComPortCount; ++n)
        EXPECT_EQ(table[static_cast<std::size_t>(n - 1)], fs::exists(comDevice(n, ini_))) << n;

    // A device that goes away is no longer available.
    fs::remove(device);
    EXPECT_FALSE(comAvailable(2, ini_));
}

TEST_F(PortTableTest, PortNamesAndArguments)
{
    EXPECT_EQ(comPortName(7), "COM7");
    EXPECT_EQ(comNumberOfName("COM1"), 1);
    EXPECT_EQ(comNumberOfName("com16"), 16);
    EXPECT_EQ(comNumberOfName("COM0"), 0);
    EXPECT_EQ(comNumberOfName("COM17"), 0);
    EXPECT_EQ(comNumberOfName("COM"), 0);
    EXPECT_EQ(comNumberOfName("COMX"), 0);
    EXPECT_EQ(comNumberOfName("/dev/COM1"), 0);

    writeIni("[ports]\nCOM9=/dev/pts/42\n");
    EXPECT_EQ(resolvePort("COM9", ini_), "/dev/pts/42");
    EXPECT_EQ(resolvePort("com2", ini_), "/dev/ttyUSB1");
    EXPECT_EQ(resolvePort("/dev/pts/7", ini_), "/dev/pts/7");
    EXPECT_EQ(resolvePort("./COM5", ini_), "./COM5");
    EXPECT_TRUE(resolvePort("COM99", ini_).empty());
}

TEST_F(PortTableTest, RegisterWritesTheEntryAndKeepsOtherSettings)
{
    writeIni("[language]\nIsFirstRun=0\ncomPort=5\nCurrentLanguage=2\n");
    ASSERT_TRUE(registerComDevice(ini_, 5, "/dev/pts/9"));
    EXPECT_EQ(comDevice(5, ini_), "/dev/pts/9");
    EXPECT_EQ(readProfileString(ini_, "language", "comPort", ""), "5");
    EXPECT_EQ(readProfileString(ini_, "language", "CurrentLanguage", ""), "2");
    // Registering again replaces the entry.
    ASSERT_TRUE(registerComDevice(ini_, 5, "/dev/pts/10"));
    EXPECT_EQ(comDevice(5, ini_), "/dev/pts/10");
    EXPECT_FALSE(registerComDevice(ini_, 0, "/dev/pts/1"));
    EXPECT_FALSE(registerComDevice(ini_, 17, "/dev/pts/1"));
}

}  // namespace
}  // namespace zt
