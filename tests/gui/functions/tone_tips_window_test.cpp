#include "gui/functions/tone_tips_window.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QDir>
#include <QImage>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabBar>
#include <QTest>
#include <cmath>
#include <cstring>
#include <memory>

#include "core/radio/channel_edit.h"
#include "gui/channels/channel_editor_window.h"
#include "gui/functions/dtmf_window.h"
#include "gui/functions/functions_test_app.h"
#include "gui/functions/optional_features_window.h"
#include "platform/tone_player.h"

namespace zt::gui {
namespace {

using testing::FunctionsApp;
using testing::listEntries;

// A speaker that records what it is asked and ends a note when told to.
class ScriptedToneOutput : public ToneOutput {
  public:
    struct Request {
        bool tone = false;
        int hz = 0;
        int ms = 0;
    };
    void playTone(int hz, int ms) override { requests.push_back({true, hz, ms}); }
    void waitSilently(int ms) override { requests.push_back({false, 0, ms}); }
    void cancel() override { ++cancels; }
    void finish() { emit finished(); }

    std::vector<Request> requests;
    int cancels = 0;
};

void setNote(ToneTipSequence& seq, int note, int frequency, int duration)
{
    seq.Notes[static_cast<std::size_t>(note - 1)] = {static_cast<std::int16_t>(frequency),
                                                     static_cast<std::int16_t>(duration)};
}

class ToneTipsWindowTest : public ::testing::Test {
  protected:
    ToneTipsWindow& open()
    {
        window = std::make_unique<ToneTipsWindow>(ctx.app);
        window->setToneOutput(&speaker);
        return *window;
    }
    ToneTipSequence& tip(int n) { return ctx.data().Tips[static_cast<std::size_t>(n - 1)]; }

    FunctionsApp ctx;
    ScriptedToneOutput speaker;
    std::unique_ptr<ToneTipsWindow> window;
};

TEST_F(ToneTipsWindowTest, ListsShowTheStoredSequence)
{
    tip(1).RepeatCount = 3;
    tip(1).Interval = 25;
    setNote(tip(1), 1, 44, 10);
    setNote(tip(1), 2, 0, 20);
    setNote(tip(1), 3, 30, 5);  // 300 Hz is not offered: the rest entry
    setNote(tip(1), 4, 255, 300);
    auto& w = open();
    EXPECT_EQ(w.repeatList()->currentText(), "3");
    EXPECT_EQ(w.intervalList()->currentText(), "250");
    EXPECT_EQ(w.frequencyList(1)->currentText(), "440");
    EXPECT_EQ(w.frequencyList(2)->currentText(), "Rest");
    EXPECT_EQ(w.frequencyList(3)->currentText(), "Rest");
    EXPECT_EQ(tip(1).Notes[2].Frequency, 0);  // written back as shown
    EXPECT_EQ(w.frequencyList(4)->currentText(), "2550");
    EXPECT_EQ(w.durationList(4)->currentIndex(), 0);  // 300 lies outside 0..255
    EXPECT_EQ(tip(1).Notes[3].Duration, 0);
    EXPECT_EQ(w.frequencyList(1)->count(), 217);
    EXPECT_EQ(w.tabStrip()->tabText(7), "Tone 8");

    w.frequencyList(1)->setCurrentText("1000");
    EXPECT_EQ(tip(1).Notes[0].Frequency, 100);
    w.durationList(2)->setCurrentIndex(255);
    EXPECT_EQ(tip(1).Notes[1].Duration, 255);
}

TEST_F(ToneTipsWindowTest, TabChangeLoadsThatSequence)
{
    setNote(tip(5), 1, 50, 7);
    tip(5).RepeatCount = 2;
    auto& w = open();
    EXPECT_EQ(w.currentSequence(), 1);
    w.tabStrip()->setCurrentIndex(4);
    EXPECT_EQ(w.currentSequence(), 5);
    EXPECT_EQ(w.frequencyList(1)->currentText(), "500");
    w.durationList(1)->setCurrentIndex(9);
    EXPECT_EQ(tip(5).Notes[0].Duration, 9);
    EXPECT_EQ(tip(1).Notes[0].Duration, 0);
}

TEST_F(ToneTipsWindowTest, RepeatCountZeroClearsEveryRbReferenceAndRebuildsOpenLists)
{
    ctx.data().ChannelCount = 2;
    tip(2).RepeatCount = 1;
    setNote(tip(2), 1, 100, 10);
    ctx.doc().Channels[0].RBTone = 2;
    ctx.doc().Channels[1].RBTone = 2;
    ctx.options().Common.RBTone = 2;
    ctx.options().PublicData = 1;
    OptionalFeaturesWindow options(ctx.app);
    EXPECT_EQ(listEntries(options.list(opt::RbTone)), (QStringList{"Off", "2"}));
    auto& w = open();
    w.tabStrip()->setCurrentIndex(1);
    EXPECT_EQ(ctx.doc().Channels[0].RBTone, 2);

    w.repeatList()->setCurrentIndex(0);
    EXPECT_EQ(ctx.doc().Channels[0].RBTone, 0);
    EXPECT_EQ(ctx.doc().Channels[1].RBTone, 0);
    EXPECT_EQ(ctx.options().Common.RBTone, 0);
    EXPECT_EQ(listEntries(options.list(opt::RbTone)), QStringList{"Off"});

    w.repeatList()->setCurrentIndex(1);  // defined again, the references stay 0
    EXPECT_EQ(listEntries(options.list(opt::RbTone)), (QStringList{"Off", "2"}));
    EXPECT_EQ(ctx.doc().Channels[0].RBTone, 0);
}

TEST_F(ToneTipsWindowTest, RbListOfTheOpenChannelEditorFollowsTheSequences)
{
    tip(2).RepeatCount = 1;
    setNote(tip(2), 1, 100, 10);
    newChannel(ctx.doc(), 401, "02700000").RBTone = 2;
    ctx.app.channelEdit.currentGroup = 9;
    ctx.app.channelEdit.editRow = 1;
    ChannelEditorWindow editor(ctx.app);
    ASSERT_EQ(listEntries(editor.combo2(11)), (QStringList{"Off", "2"}));
    ASSERT_EQ(editor.combo2(11)->currentText(), "2");
    auto& w = open();
    w.tabStrip()->setCurrentIndex(1);

    w.repeatList()->setCurrentIndex(0);
    EXPECT_EQ(listEntries(editor.combo2(11)), QStringList{"Off"});
    EXPECT_EQ(ctx.doc().findChannel(401)->RBTone, 0);
    w.repeatList()->setCurrentIndex(1);
    EXPECT_EQ(listEntries(editor.combo2(11)), (QStringList{"Off", "2"}));
    EXPECT_EQ(editor.combo2(11)->currentIndex(), 0);  // the reference stays cleared
}

TEST_F(ToneTipsWindowTest, PlaySendsTonesAndRestsButSkipsDurationZero)
{
    tip(1).RepeatCount = 2;
    tip(1).Interval = 30;
    setNote(tip(1), 1, 100, 10);
    setNote(tip(1), 2, 120, 0);  // not played
    setNote(tip(1), 3, 0, 25);   // rest
    auto& w = open();
    w.playButton()->click();
    EXPECT_FALSE(w.playButton()->isEnabled());
    for (int i = 0; i < 5; ++i) speaker.finish();
    ASSERT_EQ(speaker.requests.size(), 6u);
    EXPECT_TRUE(speaker.requests[0].tone);
    EXPECT_EQ(speaker.requests[0].hz, 1000);
    EXPECT_EQ(speaker.requests[0].ms, 100);
    EXPECT_FALSE(speaker.requests[1].tone);
    EXPECT_EQ(speaker.requests[1].ms, 250);
    EXPECT_FALSE(speaker.requests[2].tone);  // the interval
    EXPECT_EQ(speaker.requests[2].ms, 300);
    EXPECT_TRUE(speaker.requests[3].tone);
    speaker.finish();
    EXPECT_FALSE(w.playing());
    EXPECT_TRUE(w.playButton()->isEnabled());
}

TEST_F(ToneTipsWindowTest, AllDurationsZeroPlaysNothingAndDrawsNothing)
{
    tip(1).RepeatCount = 5;
    setNote(tip(1), 1, 100, 0);
    auto& w = open();
    w.resize(600, 500);
    w.playButton()->click();
    EXPECT_TRUE(speaker.requests.empty());
    EXPECT_TRUE(w.playButton()->isEnabled());
    const QImage img = w.chart()->grab().toImage();
    for (int y = 2; y < img.height() - 2; y += 3)
        for (int x = 2; x < img.width() - 2; x += 3)
            ASSERT_EQ(img.pixelColor(x, y), QColor(Qt::white)) << x << "," << y;
}

TEST_F(ToneTipsWindowTest, StopDuringALongRestEndsBeforeTheNextNote)
{
    tip(1).RepeatCount = 1;
    setNote(tip(1), 1, 0, 255);
    setNote(tip(1), 2, 100, 10);
    auto& w = open();
    w.playButton()->click();
    ASSERT_EQ(speaker.requests.size(), 1u);
    EXPECT_EQ(speaker.requests[0].ms, 2550);
    w.stopButton()->click();
    EXPECT_TRUE(w.playButton()->isEnabled());
    EXPECT_EQ(speaker.requests.size(), 1u);  // the rest runs out first
    speaker.finish();
    EXPECT_EQ(speaker.requests.size(), 1u);
    EXPECT_FALSE(w.playing());
}

TEST_F(ToneTipsWindowTest, NotesFollowTheSelectedTabAndClosingStops)
{
    tip(1).RepeatCount = 1;
    setNote(tip(1), 1, 100, 10);
    setNote(tip(1), 2, 100, 10);
    setNote(tip(3), 2, 200, 10);
    auto& w = open();
    w.playButton()->click();
    w.tabStrip()->setCurrentIndex(2);
    speaker.finish();
    ASSERT_EQ(speaker.requests.size(), 2u);
    EXPECT_EQ(speaker.requests[1].hz, 2000);
    const int cancels = speaker.cancels;
    w.close();
    EXPECT_FALSE(w.playing());
    EXPECT_GT(speaker.cancels, cancels);
}

TEST_F(ToneTipsWindowTest, ChartDrawsRedAndBlueBarsInProportion)
{
    tip(1).RepeatCount = 1;
    setNote(tip(1), 1, 200, 10);
    setNote(tip(1), 2, 200, 30);
    auto& w = open();
    w.resize(700, 600);
    w.chart()->setFixedSize(280, 120);  // 4200 x 1800 twips
    const QImage img = w.chart()->grab().toImage();
    // W = 4100: bars of 1025 and 3075 twips from x = 50; base at 1750, height 1328.
    const int y = (1750 - 600) / 15;
    EXPECT_EQ(img.pixelColor((50 + 500) / 15, y), QColor(Qt::red));
    EXPECT_EQ(img.pixelColor((1075 + 1500) / 15, y), QColor(Qt::blue));
    EXPECT_EQ(img.pixelColor((4150 + 15) / 15, y), QColor(Qt::white));
    EXPECT_EQ(img.pixelColor((1075 + 1500) / 15, 5), QColor(Qt::white));  // above the bars
}

TEST(TonePlayerTest, RenderedToneHasTheAskedFrequencyAndDuration)
{
    const int rate = 44100;
    for (int hz : {400, 1000, 2550}) {
        const QByteArray pcm = renderSineTone(hz, 500, rate);
        const qsizetype samples = pcm.size() / 2;
        EXPECT_EQ(samples, rate / 2) << hz;
        int crossings = 0;
        int peak = 0;
        qint16 previous = 0;
        for (qsizetype i = 0; i < samples; ++i) {
            const auto v = static_cast<qint16>(static_cast<quint8>(pcm[2 * i]) |
                                               (static_cast<quint8>(pcm[2 * i + 1]) << 8));
            if (i > 0 && ((previous < 0 && v >= 0) || (previous >= 0 && v < 0))) ++crossings;
            peak = std::max(peak, std::abs(static_cast<int>(v)));
            previous = v;
        }
        // Two crossings per period over half a second.
        EXPECT_NEAR(crossings, hz, 2) << hz;
        EXPECT_GT(peak, 10000);
    }
    EXPECT_TRUE(renderSineTone(1000, 0).isEmpty());
}

TEST(TonePlayerTest, PlayerEndsEveryRequestFromTheEventLoop)
{
    TonePlayer player;
    QSignalSpy spy(&player, &ToneOutput::finished);
    player.waitSilently(20);
    EXPECT_EQ(spy.count(), 0);  // never from inside the call
    EXPECT_TRUE(spy.wait(5000));
    player.playTone(1000, 20);
    EXPECT_TRUE(spy.wait(5000));
    player.playTone(1000, 20);
    player.cancel();
    EXPECT_FALSE(spy.wait(200));
    EXPECT_EQ(spy.count(), 2);
}

// Pictures of the three windows with a realistic document, written when
// ZT_FUNCTIONS_SHOTS names a folder (run under a real display server).
TEST(FunctionsScreenshots, ThreeWindowsWithADocument)
{
    const QString folder = qEnvironmentVariable("ZT_FUNCTIONS_SHOTS");
    if (folder.isEmpty()) GTEST_SKIP() << "ZT_FUNCTIONS_SHOTS not set";
    QDir().mkpath(folder);
    FunctionsApp ctx;
    RadioData& d = ctx.data();
    const int melody[][2] = {{52, 12}, {66, 12},  {78, 12}, {104, 25}, {0, 8},
                             {78, 10}, {104, 40}, {120, 6}, {140, 6},  {160, 20}};
    ToneTipSequence& seq = d.Tips[0];
    for (int k = 0; k < 10; ++k) setNote(seq, k + 1, melody[k][0], melody[k][1]);
    seq.RepeatCount = 2;
    seq.Interval = 50;
    d.Options.PublicData = 1;
    d.Options.TimeOutTimer = 180;
    d.Options.BacklightColor = 3;
    d.Options.Common.DecodeTone = 12;
    d.Options.Common.BusyChannelLock = 2;
    d.Options.Common.RBTone = 1;
    d.Options.Common.HiCut = 1;
    d.Options.PowerOnText = "ZT958";
    d.Dtmf.Rate = 8;
    d.Dtmf.FirstDigitTime = 4;
    d.Dtmf.FirstDigitDelay = 6;
    const char* codes[] = {"123", "4567", "*0#", "A1B2C3D4"};
    for (int i = 0; i < 4; ++i) {
        d.Dtmf.Memory[static_cast<std::size_t>(i)].Length =
            static_cast<std::int16_t>(std::strlen(codes[i]));
        d.Dtmf.Memory[static_cast<std::size_t>(i)].Digits = codes[i];
    }
    d.Dtmf.PttIdBot.Length = 3;
    d.Dtmf.PttIdBot.Digits = "101";
    d.Options.Common.BotCode = 2;

    OptionalFeaturesWindow options(ctx.app);
    DtmfWindow dtmf(ctx.app);
    ToneTipsWindow tips(ctx.app);
    int i = 0;
    for (QWidget* w : {static_cast<QWidget*>(&options), static_cast<QWidget*>(&dtmf),
                       static_cast<QWidget*>(&tips)}) {
        w->show();
        QTest::qWait(100);
        EXPECT_TRUE(w->grab().save(folder + "/" + w->objectName() + ".png")) << i++;
    }
    dtmf.tabs()->setCurrentIndex(2);
    QTest::qWait(50);
    EXPECT_TRUE(dtmf.grab().save(folder + "/FrmDTMF_memory.png"));
}

}  // namespace
}  // namespace zt::gui
