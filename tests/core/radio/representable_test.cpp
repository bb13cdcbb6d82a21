#include <gtest/gtest.h>

#include <gmock/gmock.h>

#include "core/radio/representable.h"
#include "support/radio_test_util.h"

namespace zt {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

RadioDocument oneChannel()
{
    RadioDocument doc;
    doc.Data.ChannelCount = 1;
    doc.Channels[0].ChNo = 12;
    doc.Channels[0].RxFre = "02761125";
    return doc;
}

TEST(Representable, RandomValidDocumentsAreWritable)
{
    for (std::uint32_t seed = 1; seed <= 50; ++seed) {
        test::Rng r(seed);
        EXPECT_THAT(unrepresentableFields(test::randomDocument(r)), IsEmpty()) << seed;
    }
}

TEST(Representable, ChannelFieldsOutsideTheirSlotBits)
{
    RadioDocument doc = oneChannel();
    ChannelRecord& c = doc.Channels[0];
    c.DecodeTone = 300;
    c.EncodeTone = -1;
    c.BusyChannelLock = 4;
    c.RBTone = 16;
    c.SquelchMode = 16;
    c.BotCode = 32;
    c.Rep = 4;
    c.EotCode = 256;
    c.CallCode = -1;
    c.HiCut = 2;
    c.ScanSkip = 2;
    EXPECT_THAT(unrepresentableFields(doc),
                ElementsAre("Channel 12: scan skip 2 is outside 0\u20131",
                            "Channel 12: receive tone index 300 is outside 0\u2013264",
                            "Channel 12: transmit tone index -1 is outside 0\u2013264",
                            "Channel 12: high cut 2 is outside 0\u20131",
                            "Channel 12: busy channel lock 4 is outside 0\u20133",
                            "Channel 12: RB tone 16 is outside 0\u201315",
                            "Channel 12: squelch mode 16 is outside 0\u201315",
                            "Channel 12: BOT code 32 is outside 0\u201331",
                            "Channel 12: repeater offset 4 is outside 0\u20133",
                            "Channel 12: EOT code 256 is outside 0\u2013255",
                            "Channel 12: call code -1 is outside 0\u2013255"));
}

TEST(Representable, LargestValuesStillFit)
{
    RadioDocument doc = oneChannel();
    ChannelRecord& c = doc.Channels[0];
    c.DecodeTone = 264;
    c.BusyChannelLock = 3;
    c.RBTone = 15;
    c.SquelchMode = 15;
    c.BotCode = 31;
    c.Rep = 3;
    c.RxFre = "06553400";  // 65534 kHz
    doc.Data.Options.TimeOutTimer = 3839;
    doc.Data.Options.EmergencyRows[0][0] = 255;
    doc.Data.Tips[0].Interval = 255;
    EXPECT_THAT(unrepresentableFields(doc), IsEmpty());
}

TEST(Representable, ReceiveFrequencies)
{
    RadioDocument doc = oneChannel();
    doc.Channels[0].RxFre = "06553500";  // 65535 kHz would read back as an erased slot
    EXPECT_THAT(unrepresentableFields(doc),
                ElementsAre(HasSubstr("Channel 12: receive frequency \"06553500\" (65535 kHz)")));
    doc.Channels[0].RxFre = "27.61125";
    EXPECT_THAT(unrepresentableFields(doc),
                ElementsAre("Channel 12: receive frequency \"27.61125\" is not a number"));
    doc.Channels[0].RxFre = "99999999";
    EXPECT_THAT(unrepresentableFields(doc), ElementsAre(HasSubstr("does not fit")));
    // An empty channel is not written, so nothing in it matters.
    doc.Channels[0].RxFre = "FFFFFFFF";
    doc.Channels[0].DecodeTone = 999;
    EXPECT_THAT(unrepresentableFields(doc), IsEmpty());
}

TEST(Representable, ChannelNumbersAndCount)
{
    RadioDocument doc = oneChannel();
    doc.Data.ChannelCount = 3;
    doc.Channels[1] = doc.Channels[0];
    doc.Channels[2] = doc.Channels[0];
    doc.Channels[2].ChNo = 0;
    EXPECT_THAT(unrepresentableFields(doc),
                ElementsAre("Channel 12: the channel number is used more than once",
                            "Channel 0: the channel number is outside 1\u2013521"));
    doc.Data.ChannelCount = 600;
    EXPECT_THAT(unrepresentableFields(doc).front(), "Channel count 600 is outside 0\u2013521");
}

TEST(Representable, SettingsValueBytesAndChannelCoding)
{
    RadioDocument doc;
    doc.Data.Options.TimeOutTimer = 3840;
    doc.Data.Options.Beep = 256;
    doc.Data.Options.EmergencyRows[2][1] = 256;  // would be stored as 0xFF, read as none
    doc.Data.Options.ResetChannelE = -2;
    doc.Data.Options.Common.RBTone = 20;
    doc.Data.Dtmf.FirstDigitDelay = 300;
    doc.Data.Tips[4].Notes[13].Duration = 256;
    EXPECT_THAT(unrepresentableFields(doc),
                ElementsAre("Optional features: time-out timer 3840 is outside 0\u20133839",
                            "Optional features: beep 256 is outside 0\u2013255",
                            "Group 2: emergency channel 2 256 is outside 0\u2013255",
                            "Reset mode: channel of reset E -2 is outside 0\u2013255",
                            "Public settings: RB tone 20 is outside 0\u201315",
                            "DTMF: first digit delay 300 is outside 0\u2013255",
                            "Tone tip 5: note 14 duration 256 is outside 0\u2013255"));
}

TEST(Representable, DtmfMemoryCharacters)
{
    RadioDocument doc;
    doc.Data.Dtmf.Memory[2] = {4, FixedText<16>("12G4")};
    doc.Data.Dtmf.Memory[3] = {2, FixedText<16>("1 ")};  // padded: only "1" and a "0" in front
    doc.Data.Dtmf.Memory[4] = {2,
                               FixedText<16>("9*XY")};  // characters after the length are not sent
    doc.Data.Dtmf.Memory[5] = {3, FixedText<16>("E#F")};   // E and F are the stored * and #
    doc.Data.Dtmf.Memory[6] = {17, FixedText<16>("ZZZ")};  // a length above 16 sends nothing
    doc.Data.Dtmf.Memory[7] = {3, FixedText<16>("1 2")};
    EXPECT_THAT(unrepresentableFields(doc),
                ElementsAre("DTMF memory code 3: character \"G\" is not a DTMF digit "
                            "(0\u20139, A\u2013D, *, #)",
                            HasSubstr("DTMF memory code 8: character \" \"")));
}

TEST(Representable, TextsCannotHoldTheEndMark)
{
    RadioDocument doc;
    doc.Data.Messages[1] = "AB\xFF";
    doc.Data.Groups[4] = "\xFF";
    doc.Data.Options.PowerOnText = "\xE9t\xE9";  // other bytes above 127 are fine
    EXPECT_THAT(unrepresentableFields(doc),
                ElementsAre(HasSubstr("Message line 2: character code 255"),
                            HasSubstr("Name of group 4: character code 255")));
}

}  // namespace
}  // namespace zt
