#include <gtest/gtest.h>

#include "core/radio/channel_edit.h"
#include "core/values/band_limits.h"

namespace zt {
namespace {

FieldContext standardBand(bool offsetMode = false)
{
    return FieldContext{parseBandLimits("25.615 - 30.105 MHz"), offsetMode};
}

ChannelRecord channel(int chNo, const char* rx = "02760000")
{
    RadioDocument doc;
    return newChannel(doc, chNo, rx);
}

TEST(NewChannel, AppendsAndCounts)
{
    RadioDocument doc;
    doc.Channels[0].DecodeTone = 9;  // stale content is replaced
    ChannelRecord& a = newChannel(doc, 17, "02761125");
    EXPECT_EQ(doc.Data.ChannelCount, 1);
    EXPECT_EQ(&a, &doc.Channels[0]);
    EXPECT_EQ(a.ChNo, 17);
    EXPECT_EQ(a.Empty, 0);
    EXPECT_EQ(a.RxFre.raw(), "02761125");
    EXPECT_EQ(a.OffsetFre.raw(), std::string(7, '\0'));
    EXPECT_EQ(a.ShiftDir, 0);
    EXPECT_EQ(a.DecodeTone, 0);
    ChannelRecord& b = newChannel(doc, 5, "02760000");
    EXPECT_EQ(&b, &doc.Channels[1]);
    EXPECT_EQ(doc.Data.ChannelCount, 2);
}

TEST(NewChannel, FullTableIsNeverWrittenPast)
{
    RadioDocument doc;
    for (int ch = 1; ch <= kMaxChannels; ++ch) newChannel(doc, ch, "02760000");
    ASSERT_EQ(doc.Data.ChannelCount, kMaxChannels);
    const ChannelTable before = doc.Channels;
    ChannelRecord& again = newChannel(doc, 30, "02790000");
    EXPECT_EQ(&again, doc.findChannel(30));
    ChannelRecord& outside = newChannel(doc, 600, "02790000");
    outside.DecodeTone = 4;
    EXPECT_EQ(doc.Data.ChannelCount, kMaxChannels);
    EXPECT_EQ(doc.Channels, before);
}

TEST(UpdateField, ReceiveFrequencyOfTheFirst400ChannelsIsFixed)
{
    ChannelRecord fixed = channel(400);
    updateChannelField(fixed, 1, "27.6125", standardBand());
    EXPECT_EQ(fixed.RxFre.raw(), "02760000");

    ChannelRecord free = channel(401);
    updateChannelField(free, 1, "27.6125", standardBand());
    EXPECT_EQ(free.RxFre.raw(), "02761250");
    updateChannelField(free, 1, "27", standardBand());
    EXPECT_EQ(free.RxFre.raw(), "02700000");
}

TEST(UpdateField, TransmitFrequencyGivesDirectionAndOffset)
{
    ChannelRecord c = channel(10, "02760000");
    updateChannelField(c, 2, "27.70000", standardBand());
    EXPECT_EQ(c.ShiftDir, 2);
    EXPECT_EQ(c.OffsetFre.raw(), "0010000");
    EXPECT_EQ(c.RxFre.raw(), "02760000");
    EXPECT_EQ(c.RxStep, 0);
    EXPECT_EQ(c.TxStep, 0);

    updateChannelField(c, 2, "27.50000", standardBand());
    EXPECT_EQ(c.ShiftDir, 1);
    EXPECT_EQ(c.OffsetFre.raw(), "0010000");

    // Equal to the receive frequency: no shift, the magnitude stays.
    updateChannelField(c, 2, "27.60000", standardBand());
    EXPECT_EQ(c.ShiftDir, 0);
    EXPECT_EQ(c.OffsetFre.raw(), "0010000");
}

TEST(UpdateField, SignedOffsetInOffsetMode)
{
    ChannelRecord c = channel(10, "02760000");
    updateChannelField(c, 2, "-0.6", standardBand(true));
    EXPECT_EQ(c.ShiftDir, 1);
    EXPECT_EQ(c.OffsetFre.raw(), "0060000");
    updateChannelField(c, 2, "+0.1", standardBand(true));
    EXPECT_EQ(c.ShiftDir, 2);
    EXPECT_EQ(c.OffsetFre.raw(), "0010000");
}

TEST(UpdateField, TransmitEditRunsTheRasterCheck)
{
    // 25.62125 MHz is one 6.25 kHz step above the band's lower edge.
    ChannelRecord c = channel(10, "02562125");
    updateChannelField(c, 2, "25.62125", standardBand());
    EXPECT_EQ(c.RxStep, 1);
    EXPECT_EQ(c.TxStep, 1);
    EXPECT_EQ(c.RxFre.raw(), "02562125");

    // 27.61125 lies on no raster from 25.615: it is snapped down to 27.61.
    ChannelRecord off = channel(10, "02761125");
    updateChannelField(off, 2, "27.61125", standardBand());
    EXPECT_EQ(off.RxStep, 0);
    EXPECT_EQ(off.RxFre.raw(), "02761000");
}

TEST(UpdateField, TransmitEditOfAChannelWithoutReceiveFrequencyInventsNone)
{
    ChannelRecord c = channel(450, "");
    updateChannelField(c, 2, "27.70000", standardBand());
    EXPECT_EQ(c.RxFre.cut(), "");
    EXPECT_EQ(c.ShiftDir, 0);
}

TEST(UpdateField, ReceiveToneSideRules)
{
    ChannelRecord c = channel(10);
    c.BusyChannelLock = 2;
    updateChannelField(c, 4, "12", standardBand());
    EXPECT_EQ(c.DecodeTone, 12);
    EXPECT_EQ(c.EncodeTone, 12);  // both were off: the transmit tone follows
    EXPECT_EQ(c.BusyChannelLock, 2);

    updateChannelField(c, 4, "20", standardBand());
    EXPECT_EQ(c.EncodeTone, 12);  // old receive tone was not off

    updateChannelField(c, 4, "0", standardBand());
    EXPECT_EQ(c.DecodeTone, 0);
    EXPECT_EQ(c.BusyChannelLock, 1);

    ChannelRecord d = channel(11);
    d.BusyChannelLock = 3;
    updateChannelField(d, 4, "0", standardBand());
    EXPECT_EQ(d.BusyChannelLock, 3);  // only 2 falls back to 1
}

TEST(UpdateField, TransmitToneSideRules)
{
    ChannelRecord c = channel(10);
    updateChannelField(c, 5, "100", standardBand());
    EXPECT_EQ(c.EncodeTone, 100);
    EXPECT_EQ(c.DecodeTone, 100);
    updateChannelField(c, 5, "7", standardBand());
    EXPECT_EQ(c.DecodeTone, 100);

    ChannelRecord d = channel(11);
    d.DecodeTone = 3;
    updateChannelField(d, 5, "9", standardBand());
    EXPECT_EQ(d.DecodeTone, 3);
}

TEST(UpdateField, OptionalSignallingDropsBusyLockWithoutReceiveTone)
{
    ChannelRecord c = channel(10);
    c.BusyChannelLock = 2;
    updateChannelField(c, 8, "1", standardBand());
    EXPECT_EQ(c.OptSignal, 1);
    EXPECT_EQ(c.BusyChannelLock, 1);

    ChannelRecord d = channel(10);
    d.DecodeTone = 5;
    d.BusyChannelLock = 2;
    updateChannelField(d, 8, "2", standardBand());
    EXPECT_EQ(d.BusyChannelLock, 2);
}

TEST(UpdateField, EveryPlainFieldCode)
{
    const std::pair<int, std::int16_t ChannelRecord::*> codes[] = {
        {7, &ChannelRecord::ScanSkip},     {9, &ChannelRecord::Spacing},
        {10, &ChannelRecord::PttId},       {11, &ChannelRecord::BusyChannelLock},
        {12, &ChannelRecord::RevTalk},     {13, &ChannelRecord::BotCode},
        {14, &ChannelRecord::Scramble},    {15, &ChannelRecord::TxInhibit},
        {16, &ChannelRecord::Talkaround},  {17, &ChannelRecord::Reverse},
        {18, &ChannelRecord::Whisper},     {19, &ChannelRecord::Compander},
        {21, &ChannelRecord::SignalLogic}, {22, &ChannelRecord::EotCode},
        {23, &ChannelRecord::RBTone},      {24, &ChannelRecord::SquelchMode},
        {25, &ChannelRecord::AmFm},        {26, &ChannelRecord::AmPower},
        {27, &ChannelRecord::FmPower},     {28, &ChannelRecord::CallCode},
        {29, &ChannelRecord::Rep},         {30, &ChannelRecord::Tsq},
        {37, &ChannelRecord::RxExpand},    {38, &ChannelRecord::TxCompress},
        {39, &ChannelRecord::NbAnl},       {40, &ChannelRecord::Attenuator},
        {41, &ChannelRecord::HiCut},       {42, &ChannelRecord::AmFmLock},
        {43, &ChannelRecord::AmPowerLock}, {44, &ChannelRecord::FmPowerLock},
    };
    for (const auto& [code, field] : codes) {
        ChannelRecord c = channel(10);
        ChannelRecord want = c;
        want.*field = 3;
        updateChannelField(c, code, "3", standardBand());
        EXPECT_EQ(c, want) << "code " << code;
    }
}

TEST(UpdateField, CodesWithoutAFieldAndNonNumbersChangeNothing)
{
    for (int code : {0, 3, 6, 20, 31, 32, 33, 34, 35, 36, 45, 99, -1}) {
        ChannelRecord c = channel(450);
        const ChannelRecord before = c;
        updateChannelField(c, code, "5", standardBand());
        EXPECT_EQ(c, before) << "code " << code;
    }
    for (const char* value : {"", "abc", "1.5", "40000"}) {
        ChannelRecord c = channel(450);
        const ChannelRecord before = c;
        updateChannelField(c, 23, value, standardBand());
        updateChannelField(c, 4, value, standardBand());
        EXPECT_EQ(c, before) << value;
    }
}

}  // namespace
}  // namespace zt
