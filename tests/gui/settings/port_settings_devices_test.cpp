// The COM-port window's device lines, device list and assignment, over fake
// device nodes and by-id links in a temporary folder.

#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTreeWidget>

#include "core/files/ini_profile.h"
#include "gui/settings/port_settings_dialog.h"
#include "gui/settings/small_window_app.h"
#include "gui/widgets/serial_device_panel.h"
#include "platform/port_table.h"
#include "support/fake_serial_devices.h"

namespace zt::gui {
namespace {

namespace fs = std::filesystem;
using testing::SmallWindowApp;
using zt::testing::FakeDeviceFolder;
using zt::testing::FakeSerialDevices;
using zt::testing::usbAdapter;

class PortSettingsDevicesTest : public ::testing::Test {
  protected:
    PortSettingsDevicesTest() : folder(fs::path(t.dir.path().toStdString()) / "sys")
    {
        fake.byIdFolder = folder.byId();
        // Every number away from the machine's own devices, so only the fake
        // nodes can be present.
        for (int n = 1; n <= 16; ++n)
            EXPECT_TRUE(writeProfileString(ini(), "ports", comPortName(n),
                                           "/nonexistent/tty" + std::to_string(n)));
    }

    fs::path ini() const { return t.app.paths.mySetupIni(); }

    PortSettingsDialog::PortSource source()
    {
        const fs::path file = ini();
        PortSettingsDialog::PortSource s;
        s.availability = [file] { return comAvailability(file); };
        s.deviceName = [file](int n) {
            return QString::fromStdString(comDevice(n, file).string());
        };
        s.devices = [this] { return fake.devices(); };
        s.access = [this](const fs::path& p) { return fake.access(p); };
        return s;
    }

    // The FT232R on `ftdiNode`, the other adapter on `otherNode`.
    void plug(const std::string& ftdiNode, const std::string& otherNode)
    {
        fake.list = {
            usbAdapter(folder.plug(ftdiNode), "FT232R USB UART", 0x0403, 0x6001, "A1"),
            usbAdapter(folder.plug(otherNode), "USB-Serial Controller", 0x067b, 0x2303, "B2")};
        ftdiLink = folder.link("usb-Maker_FT232R_A1-if00-port0", ftdiNode);
        folder.link("usb-Maker_Controller_B2-if00-port0", otherNode);
    }
    void unplugAll()
    {
        for (const auto& d : fake.list) fs::remove(d.path);
        fake.list.clear();
        fs::remove_all(folder.byId());
        fs::create_directories(folder.byId());
    }

    static QStringList row(const QTreeWidget* list, int r)
    {
        QStringList out;
        for (int c = 0; c < list->columnCount(); ++c) out << list->topLevelItem(r)->text(c);
        return out;
    }

    SmallWindowApp t;
    FakeDeviceFolder folder;
    FakeSerialDevices fake;
    std::string ftdiLink;
};

TEST_F(PortSettingsDevicesTest, DevicesAreListedAndShownBesideTheirNumbers)
{
    SerialDevice builtIn;
    builtIn.path = folder.plug("ttyS0");
    plug("ttyUSB0", "ttyUSB1");
    fake.list.insert(fake.list.begin(), builtIn);
    EXPECT_TRUE(writeProfileString(ini(), "ports", "COM2", ftdiLink));
    t.app.comPort = 2;

    PortSettingsDialog w(t.app, source());
    // The list starts at the device of the port in use.
    ASSERT_TRUE(w.devicePanel()->chosenDevice().has_value());
    EXPECT_EQ(w.devicePanel()->chosenDevice()->path, folder.node("ttyUSB0").string());
    const QTreeWidget* list = w.devicePanel()->list();
    ASSERT_EQ(list->topLevelItemCount(), 3);
    EXPECT_EQ(list->headerItem()->text(3), "VID:PID");
    // USB adapters first, with what the system says about them.
    EXPECT_EQ(row(list, 0), (QStringList{QString::fromStdString(folder.node("ttyUSB0").string()),
                                         "FT232R USB UART", "Maker", "0403:6001", "A1",
                                         QString::fromStdString(ftdiLink)}));
    EXPECT_EQ(row(list, 2).front(), QString::fromStdString(builtIn.path));

    // COM2 names the adapter by its link; its line shows the node it reaches.
    EXPECT_TRUE(w.option(1)->isEnabled());
    EXPECT_TRUE(w.deviceLabel(1)->isEnabled());
    EXPECT_EQ(w.deviceLabel(1)->toolTip(),
              QString::fromStdString(folder.node("ttyUSB0").string()) +
                  QString::fromUtf8(" \u2014 FT232R USB UART (0403:6001)\n") +
                  QString::fromStdString(ftdiLink));
    EXPECT_FALSE(w.deviceLabel(0)->isEnabled());
    EXPECT_EQ(w.deviceLabel(0)->text(), "/nonexistent/tty1");
    EXPECT_FALSE(w.devicePanel()->hintLabel()->isVisibleTo(&w));
}

TEST_F(PortSettingsDevicesTest, AssignedAdapterKeepsItsNumberAcrossAReplug)
{
    plug("ttyUSB0", "ttyUSB1");
    t.app.comPort = 4;
    PortSettingsDialog w(t.app, source());
    EXPECT_FALSE(w.option(3)->isEnabled());

    ASSERT_TRUE(w.devicePanel()->chooseDevice(folder.node("ttyUSB0").string()));
    QPushButton* assign = w.findChild<QPushButton*>("CommandAssign");
    ASSERT_TRUE(assign->isEnabled());
    QTest::mouseClick(assign, Qt::LeftButton);

    // Written as the stable link and read back by the window at once.
    EXPECT_EQ(readProfileString(ini(), "ports", "COM4", ""), ftdiLink);
    EXPECT_TRUE(w.option(3)->isEnabled());
    EXPECT_TRUE(w.option(3)->isChecked());
    EXPECT_TRUE(w.deviceLabel(3)->toolTip().startsWith(
        QString::fromStdString(folder.node("ttyUSB0").string())));
    EXPECT_EQ(w.findChild<QLabel*>("AssignStatus")->text(),
              QString::fromStdString("COM4 now stands for " + ftdiLink + "."));
    EXPECT_TRUE(t.prompt.asked.empty());

    // Plugged in again the other way round: COM4 follows the FT232R.
    unplugAll();
    plug("ttyUSB1", "ttyUSB0");
    w.refreshPortList();
    EXPECT_TRUE(w.option(3)->isEnabled());
    EXPECT_TRUE(w.deviceLabel(3)->toolTip().startsWith(
        QString::fromStdString(folder.node("ttyUSB1").string()) +
        QString::fromUtf8(" \u2014 FT232R")));

    QTest::mouseClick(w.findChild<QPushButton*>("CommandOK"), Qt::LeftButton);
    EXPECT_EQ(t.app.comPort, 4);
    EXPECT_EQ(t.setupValue("comPort"), "4");
}

TEST_F(PortSettingsDevicesTest, CancelTakesBackTheAssignmentsOfTheWindow)
{
    plug("ttyUSB0", "ttyUSB1");
    EXPECT_TRUE(writeProfileString(ini(), "ports", "COM2", "/dev/ttyS3"));
    const std::string com4 = readProfileString(ini(), "ports", "COM4", "");
    t.app.comPort = 2;
    PortSettingsDialog w(t.app, source());
    QPushButton* assign = w.findChild<QPushButton*>("CommandAssign");
    for (int option : {1, 3}) {
        w.option(option)->setChecked(true);
        ASSERT_TRUE(w.devicePanel()->chooseDevice(folder.node("ttyUSB0").string()));
        QTest::mouseClick(assign, Qt::LeftButton);
    }
    ASSERT_EQ(readProfileString(ini(), "ports", "COM4", ""), ftdiLink);
    QTest::mouseClick(w.findChild<QPushButton*>("CommandCancel"), Qt::LeftButton);
    EXPECT_EQ(readProfileString(ini(), "ports", "COM2", ""), "/dev/ttyS3");
    EXPECT_EQ(readProfileString(ini(), "ports", "COM4", ""), com4);
    EXPECT_TRUE(t.prompt.asked.empty());
}

TEST_F(PortSettingsDevicesTest, MissingDeviceStaysSelectedAndDisabledAndTheWindowSaysWhatToCheck)
{
    plug("ttyUSB0", "ttyUSB1");
    EXPECT_TRUE(writeProfileString(ini(), "ports", "COM3", ftdiLink));
    unplugAll();
    t.app.comPort = 3;

    PortSettingsDialog w(t.app, source());
    EXPECT_TRUE(w.option(2)->isChecked());
    EXPECT_FALSE(w.option(2)->isEnabled());
    EXPECT_FALSE(w.deviceLabel(2)->isEnabled());
    EXPECT_EQ(w.deviceLabel(2)->toolTip(), QString::fromStdString(ftdiLink));
    EXPECT_EQ(w.devicePanel()->list()->topLevelItemCount(), 0);
    QLabel* hint = w.devicePanel()->hintLabel();
    EXPECT_TRUE(hint->isVisibleTo(&w));
    EXPECT_TRUE(hint->text().contains("dmesg"));
    EXPECT_FALSE(w.findChild<QPushButton*>("CommandAssign")->isEnabled());

    // The adapter comes back: enabled, hint gone, selection unchanged.
    plug("ttyUSB0", "ttyUSB1");
    w.refreshPortList();
    EXPECT_TRUE(w.option(2)->isEnabled());
    EXPECT_EQ(w.selectedPort(), 3);
    EXPECT_FALSE(hint->isVisibleTo(&w));
    QTest::mouseClick(w.findChild<QPushButton*>("CommandOK"), Qt::LeftButton);
    EXPECT_EQ(t.setupValue("comPort"), "3");
}

TEST_F(PortSettingsDevicesTest, DeviceWithoutPermissionNamesTheGroupAndTheCommand)
{
    plug("ttyUSB0", "ttyUSB1");
    EXPECT_TRUE(writeProfileString(ini(), "ports", "COM1", ftdiLink));
    EXPECT_TRUE(writeProfileString(ini(), "ports", "COM2", folder.node("ttyUSB1").string()));
    fake.accessOf[fs::canonical(folder.node("ttyUSB0")).string()] = {DeviceAccess::NoPermission,
                                                                     "uucp"};
    t.app.comPort = 1;

    PortSettingsDialog w(t.app, source());
    QLabel* hint = w.devicePanel()->hintLabel();
    ASSERT_TRUE(hint->isVisibleTo(&w));
    EXPECT_TRUE(hint->text().contains("sudo usermod -aG uucp $USER")) << hint->text().toStdString();
    EXPECT_TRUE(hint->text().contains(QString::fromStdString(ftdiLink)));

    // A port this user may open needs no hint.
    QTest::mouseClick(w.option(1), Qt::LeftButton);
    EXPECT_FALSE(hint->isVisibleTo(&w));

    // In Chinese the same hint, with the same command.
    t.app.texts.setLanguage(2);
    QTest::mouseClick(w.option(0), Qt::LeftButton);
    w.applyLanguageTexts();
    EXPECT_TRUE(hint->text().contains("sudo usermod -aG uucp $USER"));
    EXPECT_EQ(w.devicePanel()->assignButton()->text(), QString::fromUtf8("分配给所选串口"));
}

TEST_F(PortSettingsDevicesTest, AssignmentThatCannotBeSavedIsReportedAndChangesNothing)
{
    plug("ttyUSB0", "ttyUSB1");
    t.app.comPort = 5;
    PortSettingsDialog w(t.app, source());
    // The settings file's folder replaced by a file: nothing can be written.
    const std::string before = readProfileString(ini(), "ports", "COM5", "");
    fs::rename(ini().parent_path(), ini().parent_path().string() + ".moved");
    std::ofstream(ini().parent_path()) << "";

    ASSERT_TRUE(w.devicePanel()->chooseDevice(folder.node("ttyUSB1").string()));
    QTest::mouseClick(w.findChild<QPushButton*>("CommandAssign"), Qt::LeftButton);
    ASSERT_EQ(t.prompt.asked.size(), 1u);
    EXPECT_EQ(t.prompt.asked[0].message.textId, 9960);
    EXPECT_EQ(t.prompt.asked[0].message.icon, Icon::Error);
    EXPECT_TRUE(w.findChild<QLabel*>("AssignStatus")->text().isEmpty());
    EXPECT_FALSE(w.option(4)->isEnabled());
    fs::remove(ini().parent_path());
    fs::rename(ini().parent_path().string() + ".moved", ini().parent_path());
    EXPECT_EQ(readProfileString(ini(), "ports", "COM5", ""), before);

    // No number selected: nothing to assign to.
    t.app.comPort = 0;
    PortSettingsDialog none(t.app, source());
    ASSERT_TRUE(none.devicePanel()->chooseDevice(folder.node("ttyUSB1").string()));
    EXPECT_FALSE(none.findChild<QPushButton*>("CommandAssign")->isEnabled());
}

}  // namespace
}  // namespace zt::gui
