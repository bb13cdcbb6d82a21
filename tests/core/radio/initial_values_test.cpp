#include <gtest/gtest.h>

#include "core/radio/image_codec.h"
#include "core/radio/initial_values.h"
#include "core/radio/tone_tips.h"

namespace zt {
namespace {

TEST(NewDocument, TwoChannelsAtTheBandCentre)
{
    RadioDocument doc;
    doc.Data.ChannelCount = 40;
    ProgramState state;
    applyNewDocumentDefaults(doc, state);
    ASSERT_EQ(doc.Data.ChannelCount, 2);
    EXPECT_EQ(doc.Channels[0].ChNo, 1);
    EXPECT_EQ(doc.Channels[1].ChNo, 521);
    EXPECT_EQ(doc.Channels[0].RxFre.raw(), "02786000");
    EXPECT_EQ(doc.Channels[1].RxFre.raw(), "02786000");
    EXPECT_EQ(doc.Channels[0].OffsetFre.raw(), std::string(7, '\0'));
}

TEST(NewDocument, CentreFollowsTheCurrentBand)
{
    RadioDocument doc;
    ProgramState state;
    state.setBandText("136 - 174 MHz");
    applyNewDocumentDefaults(doc, state);
    EXPECT_EQ(doc.Channels[0].RxFre.raw(), "15500000");
    EXPECT_EQ(doc.Data.BandCode, 8);
}

TEST(NewDocument, RecordDefaults)
{
    RadioDocument doc;
    doc.Data.Options.SquelchLevel = 5;  // left over from an earlier document
    doc.Data.Dtmf.CallAlert = 2;
    ProgramState state;
    applyNewDocumentDefaults(doc, state);
    const RadioData& d = doc.Data;

    EXPECT_EQ(d.RadioFre[0], (RadioFreEntry{1, FixedText<8>("        ")}));
    EXPECT_EQ(d.RadioFre[19], d.RadioFre[0]);
    EXPECT_EQ(d.TestFre[0].Rx.raw(), "43510000");
    EXPECT_EQ(d.TestFre[0].Tx.raw(), "43510000");
    EXPECT_EQ(d.TestFre[10].Rx.raw(), std::string(1, '\0') + "       ");
    EXPECT_EQ(d.ModelName.cut(), "ZT-958FM");
    EXPECT_EQ(d.BandCode, 0);

    const char* names[] = {"E", "D", "EU", "EC", "PL", "U-E", "U-U", "A", "B", "C", "D", "E"};
    for (int g = 0; g < 12; ++g) EXPECT_EQ(d.Groups[static_cast<std::size_t>(g)].cut(), names[g]);

    const OptionSettings& o = d.Options;
    // Values the windows show as they stand: time-out off, voice volume 1, the first channel
    // of each reset group, the first DTMF rate and first-digit delay entries.
    EXPECT_EQ(o.TimeOutTimer, 0);
    EXPECT_EQ(o.VoiceVolume, 1);
    EXPECT_EQ(o.CurrentGroup, 3);
    EXPECT_EQ(o.DisplayMode, 1);
    EXPECT_EQ(o.BacklightColor, 1);
    EXPECT_EQ(o.Beep, 1);
    EXPECT_EQ(o.ResetGroupExtended, 9);
    EXPECT_EQ(o.ResetGroupE + o.ResetGroupNormal, 0);
    EXPECT_EQ(o.ResetChannelE + o.ResetChannelNormal + o.ResetChannelExtended, 3);
    EXPECT_EQ(o.PowerOnText.raw(), std::string("        kp2719 ") + '\0');
    EXPECT_EQ(o.VoicePrompt, 1);
    EXPECT_EQ(o.TailElimination, 3);
    EXPECT_EQ(o.SquelchLevel, 0);
    EXPECT_EQ(o.Common.DecodeTone + o.Common.RBTone + o.Common.BusyChannelLock, 0);

    EXPECT_EQ(d.Dtmf.IdCode.raw(), "000       ");
    EXPECT_EQ(d.Dtmf.IdCodeLength, 3);
    EXPECT_EQ(d.Dtmf.Rate, 1);
    EXPECT_EQ(d.Dtmf.FirstDigitDelay, 2);
    EXPECT_EQ(d.Dtmf.CallAlert, 0);
    EXPECT_EQ(d.Dtmf.Memory[15].Length, 0);
    EXPECT_EQ(d.Dtmf.KillCode.Digits.cut(), "");

    EXPECT_EQ(d.Messages[2].raw(), std::string(1, '\0') + std::string(15, ' '));
    EXPECT_EQ(d.Keys.Values, (std::array<std::int16_t, 6>{10, 10, 0, 0, 0, 0}));
    EXPECT_EQ(d.Alerts.Values[0], 1);
    EXPECT_EQ(d.Alerts.Values[10], 0);
    EXPECT_EQ(d.Scan.Values, ScanSettings{}.Values);
}

TEST(NewDocument, ToneTipsStartFromZeroWithFiveSequences)
{
    RadioDocument doc;
    for (auto& seq : doc.Data.Tips) {  // the previous document's melodies
        for (auto& note : seq.Notes) note = {99, 99};
        seq.RepeatCount = 9;
    }
    applyNewDocumentDefaults(doc, ProgramState{});
    const ToneTips& t = doc.Data.Tips;
    EXPECT_EQ(t[0].Notes[0], (ToneTipNote{210, 10}));
    EXPECT_EQ(t[0].Notes[1], (ToneTipNote{0, 10}));
    EXPECT_EQ(t[0].Notes[6], (ToneTipNote{210, 10}));
    EXPECT_EQ(t[0].Notes[7], (ToneTipNote{0, 0}));
    for (int k = 0; k < 14; ++k) {
        EXPECT_EQ(t[1].Notes[static_cast<std::size_t>(k)],
                  (ToneTipNote{static_cast<std::int16_t>(k % 2 ? 0 : 80), 4}));
    }
    EXPECT_EQ(t[2].Notes[1], (ToneTipNote{90, 3}));
    EXPECT_EQ(t[3].Notes[4], (ToneTipNote{192, 6}));
    EXPECT_EQ(t[3].Notes[5], (ToneTipNote{0, 0}));
    EXPECT_EQ(t[4].Notes[5], (ToneTipNote{70, 20}));
    for (int s = 0; s < 5; ++s) {
        EXPECT_EQ(t[static_cast<std::size_t>(s)].RepeatCount, 1);
        EXPECT_EQ(t[static_cast<std::size_t>(s)].Interval, 0);
        EXPECT_TRUE(sequenceDefined(doc.Data, s + 1));
    }
    for (int s = 5; s < 8; ++s) EXPECT_EQ(t[static_cast<std::size_t>(s)], ToneTipSequence{});
}

TEST(NewDocument, EncodesTimeOutOffAndTheBandCentre)
{
    RadioDocument doc;
    ProgramState state;
    applyNewDocumentDefaults(doc, state);
    RadioImage image;
    image.clear();
    encodeDocument(doc, state, image);
    EXPECT_EQ(image[8560], 0);
    EXPECT_EQ(image[16], 0xD4);  // 27860 kHz
    EXPECT_EQ(image[17], 0x6C);
}

TEST(RadioInfoDefaults, FollowTheCurrentModelAndTheGivenDate)
{
    ProgramState state;
    const RadioInfoRecord r = newRadioInfoRecord(state, 0, "09/12/2026", 3);
    EXPECT_EQ(r.BandCode, 0);
    EXPECT_EQ(r.VersionText, "V3.00");
    EXPECT_EQ(r.ModelText, "ZT-958FM");
    EXPECT_EQ(r.AreaCode, "0595");
    EXPECT_EQ(r.ManufactureCode.cut(), "03-1-E-1");
    EXPECT_EQ(r.UserCode.cut(), "001A");
    EXPECT_EQ(r.ProductionDate.cut(), "09/12/2026");
    EXPECT_EQ(r.MaintenanceDate.cut(), "09/12/2026");
    EXPECT_EQ(r.StockInDate.cut(), "09/12/2026");
    EXPECT_EQ(r.SaleDate.cut(), "09/12/2026");
    EXPECT_EQ(r.SerialNumber.cut(), "");
    EXPECT_EQ(r.DealerCode.cut(), "");
    EXPECT_EQ(r.Seller.cut(), "");
    EXPECT_EQ(r.MaintenanceDescription.cut(), "");
    EXPECT_EQ(newRadioInfoRecord(state, 8, "", 12).ManufactureCode.cut(), "12-1-E-1");
    EXPECT_EQ(newRadioInfoRecord(state, 8, "", 12).BandCode, 8);
}

}  // namespace
}  // namespace zt
