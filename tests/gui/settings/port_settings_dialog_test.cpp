#include "gui/settings/port_settings_dialog.h"

#include <gtest/gtest.h>

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <fstream>

#include "core/files/ini_profile.h"
#include "gui/settings/small_window_app.h"

namespace zt::gui {
namespace {

using testing::SmallWindowApp;

// A port table the test changes while the window is open.
struct FakePorts {
    std::array<bool, 16> present{};
    PortSettingsDialog::PortSource source()
    {
        return {[this] { return present; }, [](int n) { return QString("/dev/fake%1").arg(n); }};
    }
};

std::vector<bool> enabledStates(const PortSettingsDialog& w)
{
    std::vector<bool> out;
    for (int k = 0; k < 16; ++k) out.push_back(w.option(k)->isEnabled());
    return out;
}

TEST(PortSettingsLayout, SixteenNumberedButtonsInFourColumnsAndTheTimer)
{
    SmallWindowApp t;
    FakePorts ports;
    PortSettingsDialog w(t.app, ports.source());
    EXPECT_EQ(w.objectName(), "FrmSetComm");
    EXPECT_EQ(w.windowTitle(), "COM port");
    for (int k = 0; k < 16; ++k) {
        auto* b = w.findChild<QRadioButton*>(QString("Option1_%1").arg(k));
        ASSERT_NE(b, nullptr) << k;
        EXPECT_EQ(b->text(), QString("COM%1").arg(k + 1));
        EXPECT_EQ(b->toolTip(), QString("/dev/fake%1").arg(k + 1));
    }
    EXPECT_EQ(w.findChild<QPushButton*>("CommandOK")->text(), "OK");
    EXPECT_EQ(w.findChild<QPushButton*>("CommandCancel")->text(), "Cancel");
    // COM1..COM4 down the first column, COM5..COM8 the second, and so on,
    // each button followed by its device line.
    auto* grid = qobject_cast<QGridLayout*>(w.findChild<QGroupBox*>("Frame1")->layout());
    ASSERT_NE(grid, nullptr);
    for (int k = 0; k < 16; ++k) {
        int row = -1, column = -1, rowSpan = 0, columnSpan = 0;
        grid->getItemPosition(grid->indexOf(w.option(k)), &row, &column, &rowSpan, &columnSpan);
        EXPECT_EQ(row, k % 4) << k;
        EXPECT_EQ(column, 2 * (k / 4)) << k;
        grid->getItemPosition(grid->indexOf(w.deviceLabel(k)), &row, &column, &rowSpan,
                              &columnSpan);
        EXPECT_EQ(row, k % 4) << k;
        EXPECT_EQ(column, 2 * (k / 4) + 1) << k;
    }
    EXPECT_EQ(w.findChild<QGroupBox*>("Frame1")->title(), "Serial port");

    auto* timer = w.findChild<QTimer*>("ReCommTimer");
    ASSERT_NE(timer, nullptr);
    EXPECT_EQ(timer->interval(), 1000);
    EXPECT_TRUE(timer->isActive());
    w.reject();
    EXPECT_FALSE(timer->isActive());  // closing stops the refresh
}

TEST(PortSettingsRefresh, PortPluggedInIsEnabledAndTheSelectionStays)
{
    SmallWindowApp t;
    FakePorts ports;
    ports.present[0] = true;
    t.app.comPort = 3;  // absent: shown selected but disabled
    PortSettingsDialog w(t.app, ports.source());
    EXPECT_TRUE(w.option(2)->isChecked());
    EXPECT_FALSE(w.option(2)->isEnabled());
    EXPECT_TRUE(w.option(0)->isEnabled());
    EXPECT_FALSE(w.option(4)->isEnabled());

    ports.present[4] = true;  // a USB adapter appears as COM5
    ports.present[0] = false;
    w.refreshPortList();
    EXPECT_TRUE(w.option(4)->isEnabled());
    EXPECT_FALSE(w.option(0)->isEnabled());
    EXPECT_EQ(w.selectedPort(), 3);

    // The user's own choice survives the refresh too.
    QTest::mouseClick(w.option(4), Qt::LeftButton);
    EXPECT_EQ(w.selectedPort(), 5);
    ports.present[2] = true;
    w.refreshPortList();
    EXPECT_EQ(w.selectedPort(), 5);
    EXPECT_TRUE(w.option(2)->isEnabled());

    QTest::mouseClick(w.findChild<QPushButton*>("CommandOK"), Qt::LeftButton);
    EXPECT_EQ(w.result(), QDialog::Accepted);
    EXPECT_EQ(t.app.comPort, 5);
    EXPECT_EQ(t.setupValue("comPort"), "5");
}

TEST(PortSettingsStore, AbsentStoredPortIsKeptByOk)
{
    SmallWindowApp t;
    FakePorts ports;  // no port exists at all
    t.app.comPort = 7;
    PortSettingsDialog w(t.app, ports.source());
    EXPECT_EQ(enabledStates(w), std::vector<bool>(16, false));
    EXPECT_TRUE(w.option(6)->isChecked());
    QTest::mouseClick(w.findChild<QPushButton*>("CommandOK"), Qt::LeftButton);
    EXPECT_EQ(t.app.comPort, 7);
    EXPECT_EQ(t.setupValue("comPort"), "7");
}

TEST(PortSettingsStore, CancelChangesNothing)
{
    SmallWindowApp t;
    FakePorts ports;
    ports.present.fill(true);
    t.app.comPort = 2;
    PortSettingsDialog w(t.app, ports.source());
    QTest::mouseClick(w.option(9), Qt::LeftButton);
    QTest::mouseClick(w.findChild<QPushButton*>("CommandCancel"), Qt::LeftButton);
    EXPECT_EQ(w.result(), QDialog::Rejected);
    EXPECT_EQ(t.app.comPort, 2);
    EXPECT_EQ(t.setupValue("comPort"), "<missing>");
}

TEST(PortSettingsStore, PortOutsideTheRangeSelectsNothingAndOkKeepsIt)
{
    SmallWindowApp t;
    FakePorts ports;
    ports.present.fill(true);
    for (int stored : {0, 17}) {
        t.app.comPort = stored;
        PortSettingsDialog w(t.app, ports.source());
        EXPECT_EQ(w.selectedPort(), 0);
        QTest::mouseClick(w.findChild<QPushButton*>("CommandOK"), Qt::LeftButton);
        EXPECT_EQ(t.app.comPort, stored);
        EXPECT_EQ(t.setupValue("comPort"), "<missing>");
    }
}

TEST(PortSettingsRefresh, VistaOffersEveryPort)
{
    SmallWindowApp t;
    FakePorts ports;
    t.app.osIsVista = true;
    PortSettingsDialog w(t.app, ports.source());
    EXPECT_EQ(enabledStates(w), std::vector<bool>(16, true));
    w.refreshPortList();
    EXPECT_EQ(enabledStates(w), std::vector<bool>(16, true));
}

TEST(PortSettingsRefresh, PlatformTableNamesDevicesAndIgnoresCom20)
{
    SmallWindowApp t;
    const auto ini = t.app.paths.mySetupIni();
    const std::string existing = t.dir.path().toStdString() + "/existing-device";
    {
        std::ofstream(existing) << "";
    }
    EXPECT_TRUE(writeProfileString(ini, "ports", "COM2", existing));
    EXPECT_TRUE(writeProfileString(ini, "ports", "COM20", existing));
    for (int n : {1, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16})
        EXPECT_TRUE(writeProfileString(ini, "ports", "COM" + std::to_string(n),
                                       "/nonexistent/tty" + std::to_string(n)));
    PortSettingsDialog w(t.app);  // the platform's port table
    std::vector<bool> expected(16, false);
    expected[1] = true;
    EXPECT_EQ(enabledStates(w), expected);
    EXPECT_EQ(w.option(1)->toolTip(), QString::fromStdString(existing));
    EXPECT_EQ(w.option(0)->toolTip(), "/nonexistent/tty1");
    EXPECT_EQ(w.findChildren<QRadioButton*>().size(), 16);
}

}  // namespace
}  // namespace zt::gui
