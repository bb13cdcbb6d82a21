#include "gui/functions/optional_features_window.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <filesystem>
#include <memory>

#include "core/radio/channel_edit.h"
#include "gui/channels/channel_editor_window.h"
#include "gui/functions/functions_test_app.h"
#include "gui/widgets/guarded_line_edit.h"

namespace zt::gui {
namespace {

using testing::FunctionsApp;
using testing::listEntries;

class OptionalFeaturesWindowTest : public ::testing::Test {
  protected:
    OptionalFeaturesWindow& open()
    {
        window = std::make_unique<OptionalFeaturesWindow>(ctx.app);
        return *window;
    }
    FunctionsApp ctx;
    std::unique_ptr<OptionalFeaturesWindow> window;
};

TEST_F(OptionalFeaturesWindowTest, TimeOutListShowsRoundedSteps)
{
    ctx.options().TimeOutTimer = 0;
    EXPECT_EQ(open().list(opt::TimeOut)->currentText(), "Off");

    ctx.options().TimeOutTimer = 600;
    EXPECT_EQ(open().list(opt::TimeOut)->currentText(), "600");

    ctx.options().TimeOutTimer = 22;
    auto& w = open();
    EXPECT_EQ(w.list(opt::TimeOut)->currentText(), "15");
    EXPECT_EQ(ctx.options().TimeOutTimer, 15);  // loading writes the entry back
    w.list(opt::TimeOut)->setCurrentIndex(40);
    EXPECT_EQ(ctx.options().TimeOutTimer, 600);
}

TEST_F(OptionalFeaturesWindowTest, OutOfRangeIndexesBecomeEntryZeroAndOddFlagsShowUnchecked)
{
    ctx.options().DisplayMode = 7;
    ctx.options().VoiceVolume = 0;  // index -1
    ctx.options().Common.HiCut = 5;
    ctx.options().PublicData = 1;
    auto& w = open();
    EXPECT_EQ(w.list(opt::DisplayMode)->currentIndex(), 0);
    EXPECT_EQ(ctx.options().DisplayMode, 0);
    EXPECT_EQ(ctx.options().VoiceVolume, 1);
    EXPECT_FALSE(w.check(opt::HiCut)->isChecked());
    w.check(opt::HiCut)->click();
    EXPECT_EQ(ctx.options().Common.HiCut, 1);
}

TEST_F(OptionalFeaturesWindowTest, DecodeToneControlsBusyLockAndSquelchMode)
{
    ctx.options().PublicData = 1;
    ctx.options().Common.SquelchMode = 1;
    auto& w = open();
    QComboBox* busy = w.list(opt::BusyLock);
    QComboBox* squelch = w.list(opt::SquelchMode);
    EXPECT_EQ(busy->count(), 2);
    EXPECT_FALSE(squelch->isEnabled());
    EXPECT_EQ(squelch->currentIndex(), 0);
    EXPECT_EQ(ctx.options().Common.SquelchMode, 0);

    w.list(opt::Decode)->setCurrentIndex(5);
    EXPECT_EQ(ctx.options().Common.DecodeTone, 5);
    EXPECT_EQ(listEntries(busy), (QStringList{"Off", "Carrier", "CTCSS/DCS"}));
    EXPECT_TRUE(squelch->isEnabled());
    squelch->setCurrentIndex(1);
    busy->setCurrentIndex(2);
    EXPECT_EQ(ctx.options().Common.BusyChannelLock, 2);

    w.list(opt::Decode)->setCurrentIndex(0);
    EXPECT_EQ(busy->count(), 2);
    EXPECT_EQ(busy->currentIndex(), -1);                 // removed while selected: no selection ...
    EXPECT_EQ(ctx.options().Common.BusyChannelLock, 2);  // ... and the value is kept
    EXPECT_EQ(squelch->currentIndex(), 0);
    EXPECT_EQ(ctx.options().Common.SquelchMode, 0);
    EXPECT_FALSE(squelch->isEnabled());
}

TEST_F(OptionalFeaturesWindowTest, CodeListsOfferOnlyNonEmptyMemoryCodes)
{
    ctx.options().Common.BotCode = 5;
    ctx.options().Common.EotCode = 2;
    ctx.options().Common.CallCode = 16;
    auto& w = open();
    for (OptionControl id : {opt::Bot, opt::Eot, opt::Call})
        EXPECT_EQ(listEntries(w.list(id)), QStringList{"Off"}) << controlNumber(id);
    EXPECT_EQ(ctx.options().Common.BotCode, 0);
    EXPECT_EQ(ctx.options().Common.EotCode, 0);
    EXPECT_EQ(ctx.options().Common.CallCode, 0);

    ctx.data().Dtmf.Memory[1].Length = 2;
    ctx.data().Dtmf.Memory[6].Length = 1;
    ctx.options().Common.EotCode = 7;
    auto& w2 = open();
    EXPECT_EQ(listEntries(w2.list(opt::Eot)), (QStringList{"Off", "2", "7"}));
    EXPECT_EQ(w2.list(opt::Eot)->currentText(), "7");
    w2.list(opt::Eot)->setCurrentIndex(1);
    EXPECT_EQ(ctx.options().Common.EotCode, 2);
}

TEST_F(OptionalFeaturesWindowTest, RbListOffersDefinedTonesAndDropsUndefinedOnes)
{
    ctx.data().Tips[2].RepeatCount = 1;
    ctx.data().Tips[2].Notes[0].Duration = 5;
    ctx.options().Common.RBTone = 4;
    auto& w = open();
    EXPECT_EQ(listEntries(w.list(opt::RbTone)), (QStringList{"Off", "3"}));
    EXPECT_EQ(ctx.options().Common.RBTone, 0);
    w.list(opt::RbTone)->setCurrentIndex(1);
    EXPECT_EQ(ctx.options().Common.RBTone, 3);
}

TEST_F(OptionalFeaturesWindowTest, PowerOnTextIsRightAlignedAndEditedBoxByBox)
{
    ctx.options().PowerOnText = "ABC";
    auto& w = open();
    EXPECT_EQ(w.powerOnBox(13)->text(), "A");
    EXPECT_EQ(w.powerOnBox(14)->text(), "B");
    EXPECT_EQ(w.powerOnBox(15)->text(), "C");
    EXPECT_FALSE(w.powerOnBox(0)->isVisibleTo(&w));
    EXPECT_FALSE(w.powerOnBox(7)->isVisibleTo(&w));
    EXPECT_TRUE(w.powerOnBox(8)->isVisibleTo(&w));
    EXPECT_EQ(ctx.options().PowerOnText.raw(), "ABC" + std::string(13, ' '));  // opening kept it

    w.powerOnBox(14)->clear();
    EXPECT_EQ(ctx.options().PowerOnText.raw(), std::string(13, ' ') + "A C");
}

TEST_F(OptionalFeaturesWindowTest, HiddenPowerOnCharactersAreWrittenBackUnchanged)
{
    ctx.options().PowerOnText = "ABCDEFGHIJ";
    auto& w = open();
    EXPECT_EQ(w.powerOnBox(6)->text(), "A");
    EXPECT_EQ(w.powerOnBox(7)->text(), "B");
    w.powerOnBox(15)->setText("Z");
    EXPECT_EQ(ctx.options().PowerOnText.raw(), "      ABCDEFGHIZ");
}

TEST_F(OptionalFeaturesWindowTest, PowerOnBoxesTakeLettersAndDigitsAndMoveOn)
{
    auto& w = open();
    ASSERT_TRUE(testing::showActive(w));
    w.powerOnBox(10)->setFocus();
    QTest::keyClicks(w.powerOnBox(10), "-");
    QTest::keyClick(w.powerOnBox(10), Qt::Key_Space);
    EXPECT_EQ(w.powerOnBox(10)->text(), "");
    QTest::keyClicks(w.powerOnBox(10), "x");
    EXPECT_EQ(w.powerOnBox(10)->text(), "x");
    EXPECT_EQ(ctx.options().PowerOnText.raw(), std::string(10, ' ') + "x     ");
    EXPECT_TRUE(w.powerOnBox(11)->hasFocus());
    w.powerOnBox(15)->setFocus();
    QTest::keyClicks(w.powerOnBox(15), "7");
    EXPECT_TRUE(w.list(opt::TimeOut)->hasFocus());
}

TEST_F(OptionalFeaturesWindowTest, PublicGroupFollowsThePublicDataBox)
{
    ctx.options().PublicData = 0;
    ctx.options().Common.EncodeTone = 9;
    auto& w = open();
    for (OptionControl id :
         {opt::Decode, opt::Encode, opt::BusyLock, opt::Bot, opt::RbTone, opt::Tsq})
        EXPECT_FALSE(w.list(id)->isEnabled()) << controlNumber(id);
    EXPECT_FALSE(w.check(opt::RxExpand)->isEnabled());
    EXPECT_EQ(ctx.options().Common.EncodeTone, 9);
    EXPECT_EQ(w.list(opt::Encode)->currentIndex(), 9);

    w.check(opt::PublicData)->click();
    EXPECT_EQ(ctx.options().PublicData, 1);
    EXPECT_TRUE(w.list(opt::Encode)->isEnabled());
    EXPECT_TRUE(w.check(opt::HiCut)->isEnabled());
    EXPECT_FALSE(w.list(opt::SquelchMode)->isEnabled());  // no receive tone
}

TEST_F(OptionalFeaturesWindowTest, SavingAnOptionWithoutAFieldChangesNothing)
{
    auto& w = open();
    const OptionSettings before = ctx.options();
    for (int n : {10, 16, 28, 106, 113, 139, 141}) w.saveOption(static_cast<OptionControl>(n));
    EXPECT_EQ(ctx.options(), before);
    EXPECT_TRUE(OptionalFeaturesWindow::isOutsideList(*w.list(opt::ScanMode), 2));
    EXPECT_FALSE(OptionalFeaturesWindow::isOutsideList(*w.list(opt::ScanMode), 1));
}

TEST_F(OptionalFeaturesWindowTest, FrequencyChangeableReachesTheOpenChannelEditorAtOnce)
{
    ctx.options().FrequencyChangeable = 0;
    ctx.options().CurrentGroup = 0;
    newChannel(ctx.doc(), 1, "02700000");
    ctx.app.channelEdit.currentGroup = 0;
    ctx.app.channelEdit.editRow = 1;
    ChannelEditorWindow editor(ctx.app);
    auto* frequency = editor.findChild<QLineEdit*>("Text1");
    ASSERT_FALSE(frequency->isEnabled());
    auto& w = open();

    w.list(opt::FrequencyChangeable)->setCurrentIndex(1);
    EXPECT_EQ(ctx.options().FrequencyChangeable, 1);
    EXPECT_TRUE(frequency->isEnabled());
    w.list(opt::FrequencyChangeable)->setCurrentIndex(0);
    EXPECT_FALSE(frequency->isEnabled());
}

}  // namespace
}  // namespace zt::gui
