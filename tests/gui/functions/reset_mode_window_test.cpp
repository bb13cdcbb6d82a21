#include "gui/functions/reset_mode_window.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QTest>

#include "gui/settings/small_window_app.h"

namespace zt::gui {
namespace {

using testing::entries;
using testing::SmallWindowApp;

OptionSettings& options(SmallWindowApp& t)
{
    return t.app.documents.working().Data.Options;
}

TEST(ResetModeOpening, ListsLabelsAndStoredValues)
{
    SmallWindowApp t;
    options(t).ResetGroupE = 1;
    options(t).ResetChannelE = 75;
    options(t).ResetGroupNormal = 6;
    options(t).ResetChannelNormal = 40;
    options(t).ResetGroupExtended = 12;
    options(t).ResetChannelExtended = 1;
    ResetModeWindow w(t.app);
    EXPECT_EQ(w.objectName(), "FrmResetMode");
    EXPECT_EQ(w.windowTitle(), "Reset mode");
    EXPECT_EQ(w.findChild<QLabel*>("Label1")->text(), "E mode group");
    EXPECT_EQ(w.findChild<QLabel*>("Label6")->text(), "Extended mode channel");
    EXPECT_EQ(w.findChild<QComboBox*>("Combo1"), w.groupList(ResetMode::E));
    EXPECT_EQ(w.findChild<QComboBox*>("Combo6"), w.channelList(ResetMode::Extended));
    EXPECT_EQ(entries(w.groupList(ResetMode::E)),
              (QStringList{"E", "D", "EU", "EC", "PL", "U-EU", "U-UK"}));
    EXPECT_EQ(entries(w.groupList(ResetMode::Extended)),
              (QStringList{"A", "B", "C", "D", "E", "VFO"}));
    EXPECT_EQ(w.groupList(ResetMode::E)->currentText(), "D");
    EXPECT_EQ(w.channelList(ResetMode::E)->count(), 80);
    EXPECT_EQ(w.channelList(ResetMode::E)->currentText(), "75");
    EXPECT_EQ(w.groupList(ResetMode::Normal)->currentText(), "U-UK");
    EXPECT_EQ(w.channelList(ResetMode::Normal)->currentText(), "40");
    EXPECT_EQ(w.groupList(ResetMode::Extended)->currentText(), "VFO");
    EXPECT_EQ(entries(w.channelList(ResetMode::Extended)), QStringList{"1"});
    EXPECT_EQ(options(t).ResetChannelE, 75);
}

TEST(ResetModeOpening, GroupNotOfferedShowsAndStoresTheFirstEntry)
{
    SmallWindowApp t;
    options(t).ResetGroupE = 9;  // "B": not in the E-mode list
    options(t).ResetChannelE = 12;
    options(t).ResetGroupExtended = 0;     // "E" of the E-mode range: the extended "E"
    options(t).ResetChannelExtended = 50;  // beyond 40 channels
    ResetModeWindow w(t.app);
    EXPECT_EQ(w.groupList(ResetMode::E)->currentIndex(), 0);
    EXPECT_EQ(options(t).ResetGroupE, 0);
    EXPECT_EQ(options(t).ResetChannelE, 12);
    EXPECT_EQ(w.groupList(ResetMode::Extended)->currentText(), "E");
    EXPECT_EQ(options(t).ResetGroupExtended, 11);
    EXPECT_EQ(options(t).ResetChannelExtended, 1);
    EXPECT_EQ(w.channelList(ResetMode::Extended)->currentText(), "1");
}

TEST(ResetModeChoice, DInEachListStoresItsOwnPosition)
{
    SmallWindowApp t;
    ResetModeWindow w(t.app);
    w.groupList(ResetMode::Extended)->setCurrentIndex(3);
    EXPECT_EQ(options(t).ResetGroupExtended, 10);
    EXPECT_EQ(w.channelList(ResetMode::Extended)->count(), 40);
    w.groupList(ResetMode::E)->setCurrentIndex(1);
    EXPECT_EQ(options(t).ResetGroupE, 1);
    EXPECT_EQ(w.channelList(ResetMode::E)->count(), 80);
    EXPECT_EQ(w.channelList(ResetMode::E)->itemText(79), "80");
}

TEST(ResetModeChoice, VfoOffersOneChannelAndTakesChannelOne)
{
    SmallWindowApp t;
    options(t).ResetGroupExtended = 7;
    options(t).ResetChannelExtended = 7;
    ResetModeWindow w(t.app);
    EXPECT_EQ(w.channelList(ResetMode::Extended)->currentText(), "7");
    w.groupList(ResetMode::Extended)->setCurrentIndex(5);
    EXPECT_EQ(options(t).ResetGroupExtended, 12);
    EXPECT_EQ(entries(w.channelList(ResetMode::Extended)), QStringList{"1"});
    EXPECT_EQ(options(t).ResetChannelExtended, 1);
}

TEST(ResetModeChoice, ChannelChoiceIsStoredAndKeptAcrossSameSizeGroups)
{
    SmallWindowApp t;
    ResetModeWindow w(t.app);
    w.channelList(ResetMode::Normal)->setCurrentIndex(24);
    EXPECT_EQ(options(t).ResetChannelNormal, 25);
    w.groupList(ResetMode::Normal)->setCurrentIndex(4);  // PL: 40 channels
    EXPECT_EQ(options(t).ResetGroupNormal, 4);
    EXPECT_EQ(options(t).ResetChannelNormal, 25);
    EXPECT_EQ(w.channelList(ResetMode::Normal)->currentText(), "25");
    // By keyboard: Down moves to the next channel.
    QTest::keyClick(w.channelList(ResetMode::Normal), Qt::Key_Down);
    EXPECT_EQ(options(t).ResetChannelNormal, 26);
}

}  // namespace
}  // namespace zt::gui
