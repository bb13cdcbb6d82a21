#include "gui/functions/dtmf_window.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QTabWidget>
#include <QTest>
#include <map>
#include <memory>

#include "gui/functions/functions_test_app.h"
#include "gui/functions/optional_features_window.h"
#include "gui/widgets/guarded_line_edit.h"

namespace zt::gui {
namespace {

using testing::FunctionsApp;
using testing::listEntries;

void setCode(DtmfCode& code, const std::string& digits)
{
    code.Length = static_cast<std::int16_t>(digits.size());
    code.Digits = digits;
}

class DtmfWindowTest : public ::testing::Test {
  protected:
    DtmfWindow& open()
    {
        window = std::make_unique<DtmfWindow>(ctx.app);
        return *window;
    }
    FunctionsApp ctx;
    std::unique_ptr<DtmfWindow> window;
};

TEST_F(DtmfWindowTest, CodeBoxesTakeDtmfCharactersAndUppercaseAToD)
{
    auto& w = open();
    GuardedLineEdit* bot = w.codeBox(DtmfWindow::Code::PttIdBot);
    QTest::keyClicks(bot, "1a2b*#");
    QTest::keyClicks(bot, "Ee x");
    QTest::keyClick(bot, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(bot->text(), "1A2B*#");
    EXPECT_EQ(ctx.data().Dtmf.PttIdBot.Length, 6);
    EXPECT_EQ(ctx.data().Dtmf.PttIdBot.Digits.raw(), "1A2B*#          ");

    QTest::keyClicks(w.memoryBox(16), "12345678901234567890");
    EXPECT_EQ(w.memoryBox(16)->text().size(), 16);
    EXPECT_EQ(ctx.data().Dtmf.Memory[15].Length, 16);
}

TEST_F(DtmfWindowTest, CodesLoadByLengthAndALengthAboveSixteenShowsEmpty)
{
    setCode(ctx.data().Dtmf.StunCode, "123");
    ctx.data().Dtmf.Memory[0].Length = 20;
    ctx.data().Dtmf.Memory[0].Digits = "999";
    ctx.data().Dtmf.Memory[1].Length = 2;
    ctx.data().Dtmf.Memory[1].Digits = "4567";
    auto& w = open();
    EXPECT_EQ(w.codeBox(DtmfWindow::Code::Stun)->text(), "123");
    EXPECT_EQ(w.memoryBox(1)->text(), "");
    EXPECT_EQ(w.memoryBox(2)->text(), "45");
}

TEST_F(DtmfWindowTest, EmptyingAMemoryCodeResetsEveryReferenceToIt)
{
    ctx.data().ChannelCount = 3;
    setCode(ctx.data().Dtmf.Memory[2], "303");
    ctx.doc().Channels[0].BotCode = 3;
    ctx.doc().Channels[1].EotCode = 3;
    ctx.doc().Channels[2].CallCode = 3;
    ctx.doc().Channels[2].BotCode = 4;
    ctx.options().Common.CallCode = 3;
    auto& w = open();
    EXPECT_EQ(w.memoryBox(3)->text(), "303");

    w.memoryBox(3)->clear();
    EXPECT_EQ(ctx.data().Dtmf.Memory[2].Length, 0);
    EXPECT_EQ(ctx.doc().Channels[0].BotCode, 0);
    EXPECT_EQ(ctx.doc().Channels[1].EotCode, 0);
    EXPECT_EQ(ctx.doc().Channels[2].CallCode, 0);
    EXPECT_EQ(ctx.doc().Channels[2].BotCode, 4);
    EXPECT_EQ(ctx.options().Common.CallCode, 0);

    QTest::keyClicks(w.memoryBox(3), "77");
    EXPECT_EQ(ctx.data().Dtmf.Memory[2].Length, 2);
    EXPECT_EQ(ctx.doc().Channels[0].BotCode, 0);
}

TEST_F(DtmfWindowTest, EmptyingACodeRefreshesTheOpenOptionalFeaturesWindow)
{
    ctx.options().PublicData = 1;
    setCode(ctx.data().Dtmf.Memory[1], "22");
    setCode(ctx.data().Dtmf.Memory[4], "55");
    ctx.options().Common.BotCode = 2;
    ctx.options().Common.EotCode = 5;
    OptionalFeaturesWindow options(ctx.app);
    QComboBox* bot = options.list(opt::Bot);
    EXPECT_EQ(bot->currentText(), "2");
    auto& w = open();

    w.memoryBox(2)->clear();
    EXPECT_EQ(ctx.options().Common.BotCode, 0);
    EXPECT_EQ(listEntries(bot), (QStringList{"Off", "5"}));
    EXPECT_EQ(bot->currentIndex(), 0);
    EXPECT_EQ(options.list(opt::Eot)->currentText(), "5");  // still offered: kept
    EXPECT_EQ(ctx.options().Common.EotCode, 5);

    QTest::keyClicks(w.memoryBox(9), "9");
    EXPECT_EQ(listEntries(bot), (QStringList{"Off", "5", "9"}));
}

TEST_F(DtmfWindowTest, IdBoxValidatesToZerosWhenLeft)
{
    ctx.data().Dtmf.IdCode = "12345";
    ctx.data().Dtmf.IdCodeLength = 11;
    auto& w = open();
    EXPECT_EQ(w.idBox()->text(), "123");
    ASSERT_TRUE(testing::showActive(w));
    w.tabs()->setTabEnabled(1, true);  // the tab is switched off; reach the box anyway
    w.tabs()->setCurrentIndex(1);
    w.idBox()->setFocus();
    w.idBox()->clear();
    QTest::keyClicks(w.idBox(), "4x2");
    EXPECT_EQ(w.idBox()->text(), "42");
    w.codeBox(DtmfWindow::Code::Stun)->setFocus();  // leaving validates
    EXPECT_EQ(w.idBox()->text(), "000");
    EXPECT_EQ(ctx.data().Dtmf.IdCodeLength, 3);
    EXPECT_EQ(ctx.data().Dtmf.IdCode.raw(), "000       ");

    w.idBox()->setFocus();
    w.idBox()->clear();
    QTest::keyClicks(w.idBox(), "01234567899");
    QTest::keyClick(w.idBox(), Qt::Key_Return);
    EXPECT_EQ(ctx.data().Dtmf.IdCodeLength, 10);
    EXPECT_EQ(ctx.data().Dtmf.IdCode.raw(), "0123456789");
}

TEST_F(DtmfWindowTest, TimingListsMatchTextsAndWriteTheShownValueBack)
{
    ctx.data().Dtmf.Rate = 7;
    ctx.data().Dtmf.StarHashTime = 10;
    ctx.data().Dtmf.FirstDigitDelay = 3;  // 150 ms: no such entry
    auto& w = open();
    EXPECT_EQ(w.timingList(DtmfWindow::Timing::Rate)->currentText(), "70");
    EXPECT_EQ(w.timingList(DtmfWindow::Timing::StarHashTime)->currentText(), "500");
    EXPECT_EQ(w.timingList(DtmfWindow::Timing::FirstDigitDelay)->currentText(), "100");
    EXPECT_EQ(ctx.data().Dtmf.FirstDigitDelay, 2);

    ctx.data().Dtmf.Rate = 0;
    auto& w2 = open();
    EXPECT_EQ(w2.timingList(DtmfWindow::Timing::Rate)->currentText(), "10");
    EXPECT_EQ(ctx.data().Dtmf.Rate, 1);
    w2.timingList(DtmfWindow::Timing::FirstDigitTime)->setCurrentIndex(10);
    EXPECT_EQ(ctx.data().Dtmf.FirstDigitTime, 20);
}

TEST_F(DtmfWindowTest, IndexListsAndTheSwitchedOffTabAreLoaded)
{
    ctx.data().Dtmf.DKey = 16;
    ctx.data().Dtmf.CallAlert = 2;
    ctx.data().Dtmf.GroupCode = 9;
    ctx.options().PttIdPause = 3;
    ctx.data().Dtmf.SideTone = 2;
    auto& w = open();
    EXPECT_FALSE(w.tabs()->isTabEnabled(1));
    EXPECT_EQ(w.indexList(DtmfWindow::Index::DKey)->currentText(), "16s");
    EXPECT_EQ(w.indexList(DtmfWindow::Index::CallAlert)->currentText(), "Auto answer");
    EXPECT_EQ(ctx.data().Dtmf.GroupCode, 0);
    EXPECT_EQ(w.indexList(DtmfWindow::Index::PttIdPause)->currentText(), "15");
    EXPECT_FALSE(w.sideTone()->isChecked());
    w.sideTone()->click();
    EXPECT_EQ(ctx.data().Dtmf.SideTone, 1);
    w.indexList(DtmfWindow::Index::PttIdPause)->setCurrentIndex(0);
    EXPECT_EQ(ctx.options().PttIdPause, 0);
}

TEST_F(DtmfWindowTest, ChannelEditorCodeListsAreReachedByName)
{
    setCode(ctx.data().Dtmf.Memory[1], "22");
    setCode(ctx.data().Dtmf.Memory[3], "44");
    // A stand-in for the channel editor: its three code lists by name, one
    // of them showing no channel.
    QWidget editor;
    editor.setObjectName("FrmCHInfoEdit");
    std::map<QString, QComboBox*> lists;
    for (const char* name : {"Combo2_8", "Combo2_10", "Combo2_16"}) {
        auto* list = new QComboBox(&editor);
        list->setObjectName(name);
        lists[name] = list;
    }
    lists["Combo2_8"]->addItems({"Off", "2", "4"});
    lists["Combo2_8"]->setCurrentIndex(2);
    lists["Combo2_10"]->addItems({"Off", "2", "4"});
    lists["Combo2_10"]->setCurrentIndex(1);
    lists["Combo2_16"]->addItem(" ");
    lists["Combo2_16"]->setEnabled(false);
    auto& w = open();

    w.memoryBox(2)->clear();
    EXPECT_EQ(listEntries(lists["Combo2_8"]), (QStringList{"Off", "4"}));
    EXPECT_EQ(lists["Combo2_8"]->currentText(), "4");
    EXPECT_EQ(lists["Combo2_10"]->currentIndex(), 0);
    EXPECT_EQ(listEntries(lists["Combo2_16"]), QStringList{" "});
}

}  // namespace
}  // namespace zt::gui
