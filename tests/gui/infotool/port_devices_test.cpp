// The information tool's device line beside its port list and its device
// window, over fake device nodes and by-id links in a temporary folder.

#include "gui/infotool/port_devices.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include "core/edit/infotool_rules.h"
#include "core/files/ini_profile.h"
#include "core/link/virtual_link.h"
#include "gui/infotool/info_tool_window.h"
#include "gui/prompt/scripted_prompt_service.h"
#include "gui/widgets/serial_device_panel.h"
#include "platform/port_table.h"
#include "support/fake_serial_devices.h"

namespace zt::infotool {
namespace {

namespace fs = std::filesystem;
using zt::testing::FakeDeviceFolder;
using zt::testing::FakeSerialDevices;
using zt::testing::usbAdapter;

// The tool over its own mysetup.ini: the port list is the port table of that
// file (numbers whose device exists), as on a real machine.
class InfoToolDevicesTest : public ::testing::Test {
  protected:
    InfoToolDevicesTest() : folder(root() / "sys")
    {
        fake.byIdFolder = folder.byId();
        for (int n = 1; n <= kComPortCount; ++n)
            EXPECT_TRUE(writeProfileString(ini(), "ports", comPortName(n),
                                           "/nonexistent/tty" + std::to_string(n)));
    }

    fs::path root() const { return dir.path().toStdString(); }
    fs::path ini() const { return root() / "mysetup.ini"; }

    void plugAdapter()
    {
        fake.list = {usbAdapter(folder.plug("ttyUSB0"), "FT232R USB UART", 0x0403, 0x6001, "A1")};
        link = folder.link("usb-Maker_FT232R_A1-if00-port0", "ttyUSB0");
    }

    InfoToolWindow& load(int language = kEnglish)
    {
        InfoToolHost h;
        h.port = &port;
        h.timers = &clock;
        h.prompt = &prompt;
        h.settingsIni = ini();
        h.language = language;
        h.listPorts = [file = ini()] {
            std::vector<int> listed;
            const auto present = comAvailability(file);
            for (int n = 1; n <= kComPortCount; ++n)
                if (present[static_cast<std::size_t>(n - 1)]) listed.push_back(n);
            return listed;
        };
        h.selectPort = [](int) {};
        h.today = [] { return QDate(2026, 5, 6); };
        h.shortDate = [](const QDate& d) { return d.toString("yyyy/MM/dd"); };
        h.osVersionKnown = [] { return true; };
        h.portDevice = [file = ini()](int n) { return comDevice(n, file); };
        h.listDevices = [this] { return fake.devices(); };
        h.deviceAccess = [this](const fs::path& p) { return fake.access(p); };
        window = std::make_unique<InfoToolWindow>(h);
        window->formLoad();
        return *window;
    }

    QLabel* line() const { return window->findChild<QLabel*>("PortDevice"); }

    QTemporaryDir dir;
    FakeDeviceFolder folder;
    FakeSerialDevices fake;
    std::string link;
    VirtualClock clock;
    VirtualRadio radio{clock};
    EnginePort port{clock, radio, 9600};
    gui::ScriptedPromptService prompt;
    std::unique_ptr<InfoToolWindow> window;
};

TEST_F(InfoToolDevicesTest, LineBesideThePortListNamesTheDeviceOrWhatIsWrong)
{
    // Nothing plugged in: no port, and the line says what to check.
    InfoToolWindow& w = load();
    EXPECT_EQ(w.portNumber(), 0);
    EXPECT_TRUE(line()->text().contains("dmesg")) << line()->text().toStdString();

    // An adapter given COM2 appears with the next refresh.
    plugAdapter();
    EXPECT_TRUE(writeProfileString(ini(), "ports", "COM2", link));
    w.refreshPortList();
    w.showPortDevice();
    EXPECT_EQ(w.portNumber(), 2);
    EXPECT_EQ(line()->text(), QString::fromStdString(folder.node("ttyUSB0").string()) +
                                  QString::fromUtf8(" \u2014 FT232R USB UART (0403:6001)"));

    // The same device without permission: the group is named.
    fake.accessOf[fs::canonical(folder.node("ttyUSB0")).string()] = {DeviceAccess::NoPermission,
                                                                     "dialout"};
    w.showPortDevice();
    EXPECT_TRUE(line()->text().endsWith(QString::fromUtf8("no permission (group dialout)")));
    EXPECT_EQ(w.findChild<QPushButton*>("CommandPorts")->text(), "&Ports...");
}

TEST_F(InfoToolDevicesTest, DeviceWindowAssignsTheStableLinkToTheChosenNumber)
{
    plugAdapter();
    InfoToolWindow& w = load(kChinese);
    EXPECT_EQ(w.portNumber(), 0);

    prompt.modalHandler = [&](QDialog& d) {
        auto& devices = dynamic_cast<PortDevicesDialog&>(d);
        EXPECT_EQ(devices.windowTitle(), QString::fromUtf8("串口设备"));
        EXPECT_EQ(devices.chosenNumber(), 1);  // no port yet: COM1 offered
        devices.findChild<QComboBox*>("ComboNumber")->setCurrentIndex(4);
        EXPECT_TRUE(devices.panel()->chooseDevice(folder.node("ttyUSB0").string()));
        QTest::mouseClick(devices.panel()->assignButton(), Qt::LeftButton);
        EXPECT_EQ(devices.findChild<QLabel*>("AssignStatus")->text(),
                  QString::fromStdString("COM5") + QString::fromUtf8(" 现在对应 ") +
                      QString::fromStdString(link) + QString::fromUtf8("。"));
        QTest::mouseClick(devices.findChild<QPushButton*>("CommandClose"), Qt::LeftButton);
        return d.result();
    };
    w.showPortDevices();
    EXPECT_EQ(prompt.modalWindows, std::vector<QString>{"FrmPortDevices"});
    EXPECT_EQ(readProfileString(ini(), "ports", "COM5", ""), link);
    // The tool lists COM5 at once and uses it.
    EXPECT_EQ(w.portNumber(), 5);
    EXPECT_TRUE(line()->text().startsWith(QString::fromStdString(folder.node("ttyUSB0").string())));
    EXPECT_TRUE(prompt.asked.empty());
}

TEST_F(InfoToolDevicesTest, DeviceWindowHintsAndFailedSave)
{
    plugAdapter();
    EXPECT_TRUE(writeProfileString(ini(), "ports", "COM3", link));
    fake.accessOf[fs::canonical(folder.node("ttyUSB0")).string()] = {DeviceAccess::NoPermission,
                                                                     "uucp"};
    PortDevicesDialog devices(
        PortDeviceSource{ini(), [f = ini()](int n) { return comDevice(n, f); },
                         [this] { return fake.devices(); },
                         [this](const fs::path& p) { return fake.access(p); }},
        prompt, 3, kEnglish);
    QLabel* hint = devices.panel()->hintLabel();
    EXPECT_TRUE(hint->text().contains("sudo usermod -aG uucp $USER"));

    // crw------- root root: only the administrator can open it; joining root is never advised.
    fake.accessOf[fs::canonical(folder.node("ttyUSB0")).string()] = {DeviceAccess::NoPermission,
                                                                     "root", false};
    devices.findChild<QComboBox*>("ComboNumber")->setCurrentIndex(6);
    devices.findChild<QComboBox*>("ComboNumber")->setCurrentIndex(2);
    EXPECT_TRUE(hint->text().contains("Only the administrator can open"))
        << hint->text().toStdString();
    EXPECT_FALSE(hint->text().contains("usermod")) << hint->text().toStdString();

    // A number whose device is absent needs no group.
    devices.findChild<QComboBox*>("ComboNumber")->setCurrentIndex(6);
    EXPECT_TRUE(hint->text().isEmpty());

    // The settings file cannot be written: reported, nothing claimed.
    fs::remove(ini());
    fs::create_directory(ini());
    ASSERT_TRUE(devices.panel()->chooseDevice(folder.node("ttyUSB0").string()));
    QTest::mouseClick(devices.panel()->assignButton(), Qt::LeftButton);
    ASSERT_EQ(prompt.asked.size(), 1u);
    EXPECT_EQ(prompt.asked[0].message.icon, Icon::Error);
    EXPECT_NE(prompt.asked[0].message.text.find(ini().string()), std::string::npos);
    EXPECT_TRUE(devices.findChild<QLabel*>("AssignStatus")->text().isEmpty());
}

}  // namespace
}  // namespace zt::infotool
