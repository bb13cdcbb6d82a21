// Round trips over many random documents and random radio images, fixed seeds.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "core/radio/channel_codec.h"
#include "core/radio/image_codec.h"
#include "core/radio/models.h"
#include "support/radio_test_util.h"

namespace zt {
namespace {

using test::Rng;

// What a decoded document must hold for a document that went through the image:
// the image-carried fields of `in`, and everything else as `before` had it.
RadioData expectedData(const RadioData& in, const RadioData& before)
{
    RadioData e = before;
    const OptionSettings& o = in.Options;
    OptionSettings& x = e.Options;
    x.TimeOutTimer = o.TimeOutTimer;
    x.CurrentGroup = o.CurrentGroup;
    x.DisplayMode = o.DisplayMode;
    x.BacklightColor = o.BacklightColor;
    x.ScanMode = o.ScanMode;
    x.ScanResumeTime = o.ScanResumeTime;
    x.Beep = o.Beep;
    x.PublicData = o.PublicData;
    x.PttIdPause = o.PttIdPause;
    x.FrequencyChangeable = o.FrequencyChangeable;
    x.EmergencyRows = o.EmergencyRows;
    x.GroupAmFm = o.GroupAmFm;
    x.ResetGroupE = o.ResetGroupE;
    x.ResetChannelE = o.ResetChannelE;
    x.ResetGroupNormal = o.ResetGroupNormal;
    x.ResetChannelNormal = o.ResetChannelNormal;
    x.ResetGroupExtended = o.ResetGroupExtended;
    x.ResetChannelExtended = o.ResetChannelExtended;
    x.Common.DecodeTone = o.Common.DecodeTone;
    x.Common.EncodeTone = o.Common.EncodeTone;
    x.Common.RxExpand = o.Common.RxExpand;
    x.Common.TxCompress = o.Common.TxCompress;
    x.Common.NbAnl = o.Common.NbAnl;
    x.Common.Attenuator = o.Common.Attenuator;
    x.Common.HiCut = o.Common.HiCut;
    x.Common.BusyChannelLock = o.Common.BusyChannelLock;
    x.Common.RBTone = o.Common.RBTone;
    x.Common.SquelchMode = o.Common.SquelchMode;
    x.Common.BotCode = o.Common.BotCode;
    x.Common.EotCode = o.Common.EotCode;
    x.Common.CallCode = o.Common.CallCode;
    x.Common.Rep = o.Common.Rep;
    x.Common.Tsq = o.Common.Tsq;
    x.PowerOnText = o.PowerOnText;

    e.Dtmf.Rate = in.Dtmf.Rate;
    e.Dtmf.FirstDigitTime = in.Dtmf.FirstDigitTime;
    e.Dtmf.FirstDigitDelay = in.Dtmf.FirstDigitDelay;
    e.Dtmf.StarHashTime = in.Dtmf.StarHashTime;
    e.Dtmf.DKey = in.Dtmf.DKey;
    e.Dtmf.SideTone = in.Dtmf.SideTone;
    for (std::size_t n = 0; n < in.Dtmf.Memory.size(); ++n) {
        // Read back: the digits, a NUL when shorter than 16, then spaces.
        const std::string digits = in.Dtmf.Memory[n].Digits.cut();
        e.Dtmf.Memory[n].Length = in.Dtmf.Memory[n].Length;
        e.Dtmf.Memory[n].Digits = digits.size() < 16 ? digits + '\0' : digits;
    }
    e.Messages = in.Messages;
    e.Groups = in.Groups;
    e.Tips = in.Tips;
    e.ModelName = in.ModelName;
    e.BandCode = in.BandCode;
    return e;
}

void expectChannelsCarried(const RadioDocument& in, const RadioDocument& out)
{
    int expectedCount = 0;
    bool vfoWritten = false;
    for (int i = 0; i < in.Data.ChannelCount; ++i) {
        const ChannelRecord& c = in.Channels[static_cast<std::size_t>(i)];
        if (c.RxFre.cut().empty()) continue;
        ++expectedCount;
        vfoWritten = vfoWritten || c.ChNo == kVfoChannel;
    }
    if (!vfoWritten) ++expectedCount;  // channel 521 is always read back
    ASSERT_EQ(out.Data.ChannelCount, expectedCount);

    for (int i = 0; i < out.Data.ChannelCount; ++i) {
        const ChannelRecord& c = out.Channels[static_cast<std::size_t>(i)];
        if (i > 0) {
            ASSERT_LT(out.Channels[static_cast<std::size_t>(i - 1)].ChNo, c.ChNo);
        }
        const ChannelRecord* src = in.findChannel(c.ChNo);
        if (src == nullptr || src->RxFre.cut().empty()) {
            ASSERT_EQ(c.ChNo, kVfoChannel);
            EXPECT_EQ(c.Empty, 1);
            EXPECT_EQ(c.RxFre.cut(), "");
            continue;
        }
        ChannelRecord e;  // a new channel carrying the slot's fields
        e.ChNo = src->ChNo;
        e.OffsetFre.bytes.fill('\0');
        e.ScanSkip = src->ScanSkip;
        e.RxFre = src->RxFre;
        e.DecodeTone = src->DecodeTone;
        e.EncodeTone = src->EncodeTone;
        e.FmPower = e.FmPowerLock = e.AmPower = e.AmPowerLock = e.AmFm = e.AmFmLock = 1;
        e.RxExpand = src->RxExpand;
        e.TxCompress = src->TxCompress;
        e.NbAnl = src->NbAnl;
        e.Attenuator = src->Attenuator;
        e.HiCut = src->HiCut;
        e.Tsq = src->Tsq;
        e.BusyChannelLock = src->BusyChannelLock;
        e.RBTone = src->RBTone;
        e.SquelchMode = src->SquelchMode;
        e.BotCode = src->BotCode;
        e.Rep = src->Rep;
        e.EotCode = src->EotCode;
        e.CallCode = src->CallCode;
        ASSERT_EQ(c, e) << "channel " << c.ChNo << " rx " << src->RxFre.raw();
    }
}

TEST(CodecRoundTrip, RandomDocumentsComeBackOnEveryImageCarriedField)
{
    for (std::uint32_t seed = 1; seed <= 200; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        Rng r(seed);
        RadioDocument in = test::randomDocument(r);
        ProgramState state;
        RadioImage image;
        image.clear();
        encodeDocument(in, state, image);

        RadioDocument out = test::randomDocument(r);  // what was open before the read
        const RadioData before = out.Data;
        ProgramState readState;
        decodeImage(image, out, readState);

        expectChannelsCarried(in, out);
        RadioData expected = expectedData(in.Data, before);
        expected.ChannelCount = out.Data.ChannelCount;
        ASSERT_EQ(out.Data, expected);
        EXPECT_EQ(readState.ModelName, "ZT-958FM");
        EXPECT_EQ(readState.BandText, "25.615 - 30.105 MHz");
    }
}

// A radio image as a radio might hold it: random bytes wherever the program does
// not look, valid encodings where it does. `expected` receives the image the
// encoder must make of the decoded document: every byte the encoder takes from
// the document equal to the radio's, every byte it fills or writes as a constant
// at that value, and the two spares it never touches as the caller cleared them.
RadioImage randomRadioImage(Rng& r, RadioImage& expected)
{
    RadioImage in;
    for (auto& b : in.bytes) b = r.byte();
    expected.clear();
    std::fill_n(expected.bytes.begin() + 8352, 66, 0x00);
    std::fill_n(expected.bytes.begin() + 8432, 66, 0x00);

    auto putTone = [&](int at) {
        std::uint16_t code = test::randomListedToneCode(r);
        std::uint16_t want = code;
        if (r.chance(20)) {  // a code outside the list reads as "off"
            code = static_cast<std::uint16_t>(r.range(0, 0xFFFF));
            want = toneCodeOfIndex(toneIndexOfCode(code));
        }
        in[at] = static_cast<std::uint8_t>(code >> 8);
        in[at + 1] = static_cast<std::uint8_t>(code & 0xFF);
        expected[at] = static_cast<std::uint8_t>(want >> 8);
        expected[at + 1] = static_cast<std::uint8_t>(want & 0xFF);
    };
    // Bytes 6-14 of a slot and the common channel: tones, then five code bytes
    // that are carried whole except bit 5 of the BOT code byte.
    auto putToneAndCodes = [&](int at) {
        putTone(at);
        putTone(at + 2);
        for (int k = 4; k <= 8; ++k) expected[at + k] = in[at + k];
        expected[at + 6] = static_cast<std::uint8_t>(in[at + 6] & ~0x20);
    };

    for (int ch = 1; ch <= 521; ++ch) {
        const int n = ch - 1;
        const int slot = ch * 16;
        const bool present = ch == 521 || ((in[8432 + n / 8] >> (n % 8)) & 1);
        if (!present) continue;
        int khz = r.range(0, 0xFFFE);
        if (r.chance(3)) khz = 0xFFFF;  // erased: read as an empty channel, written as such
        in[slot] = static_cast<std::uint8_t>(khz & 0xFF);
        in[slot + 1] = static_cast<std::uint8_t>(khz >> 8);
        if (khz == 0xFFFF) continue;
        const int stored = khz % 10 == 1 ? khz + 1 : khz;  // ...1 and ...2 both mean ...1.25
        expected[slot] = static_cast<std::uint8_t>(stored & 0xFF);
        expected[slot + 1] = static_cast<std::uint8_t>(stored >> 8);
        expected[slot + 5] = 0x7B;
        putToneAndCodes(slot + 6);
        expected[8432 + n / 8] = static_cast<std::uint8_t>(expected[8432 + n / 8] | (1 << (n % 8)));
        if ((in[8352 + n / 8] >> (n % 8)) & 1) {
            expected[8352 + n / 8] =
                static_cast<std::uint8_t>(expected[8352 + n / 8] | (1 << (n % 8)));
        }
    }

    // A text of `chars` characters, an end mark, then noise; written back with the filler.
    auto putText = [&](int at, int size, bool spaceFiller) {
        const std::string t = test::randomText(r, size);
        for (std::size_t k = 0; k < t.size(); ++k) {
            in[at + static_cast<int>(k)] = static_cast<std::uint8_t>(t[k]);
        }
        if (static_cast<int>(t.size()) < size)
            in[at + static_cast<int>(t.size())] = r.chance(50) ? 0x00 : 0xFF;
        for (int k = 0; k < size; ++k) {
            expected[at + k] = k < static_cast<int>(t.size())
                                   ? static_cast<std::uint8_t>(t[static_cast<std::size_t>(k)])
                                   : (spaceFiller ? 0x20 : 0x00);
        }
    };
    for (int g = 0; g < 12; ++g) putText(8512 + 3 * g, 3, true);
    for (int a = 8560; a <= 8575; ++a) expected[a] = in[a];  // option and DTMF value bytes
    putToneAndCodes(8592);
    for (int i = 0; i < 4; ++i) putText(8608 + 16 * i, 16, false);
    putText(8672, 16, false);

    // Identity: the model text; 8694 survives only as the standard model's 1.
    putText(8688, 6, false);
    std::string model;
    for (int k = 0; k < 6 && expected[8688 + k] != 0; ++k)
        model.push_back(static_cast<char>(expected[8688 + k]));
    if (r.chance(30)) {
        std::memcpy(&in.bytes[8688], "ZT-958", 6);
        std::memcpy(&expected.bytes[8688], "ZT-958", 6);
        model = "ZT-958";
        in[8694] = r.chance(70) ? 1 : r.byte();
    }
    expected[8694] = model == "ZT-958" && in[8694] == 1 ? 1 : 0;
    std::memcpy(&expected.bytes[8696], "V300", 4);

    for (int n = 0; n < 16; ++n) {
        const int at = 8704 + 16 * n;
        const int len = r.range(0, 16);
        for (int k = 0; k < len; ++k) in[at + k] = static_cast<std::uint8_t>(r.range(0, 15));
        if (len < 16) in[at + len] = static_cast<std::uint8_t>(r.range(16, 255));
        for (int k = 0; k < 16; ++k) expected[at + k] = k < len ? in[at + k] : 0xFF;
    }
    for (int a = 8960; a < 9200; ++a) expected[a] = in[a];  // tone tips
    for (int a = 9216; a < 9222; ++a) expected[a] = in[a];  // reset modes
    for (int a = 9224; a < 9248; ++a) expected[a] = in[a];  // emergency channels
    for (int a = 9248; a < 9272; ++a) expected[a] = 1;      // AM/FM of every group
    return in;
}

void expectSameImage(const RadioImage& got, const RadioImage& want)
{
    for (int a = 0; a < kImageSize; ++a) {
        ASSERT_EQ(got[a], want[a]) << "offset " << a;
    }
}

TEST(CodecRoundTrip, RandomRadioImagesReencodeToTheRadiosBytes)
{
    for (std::uint32_t seed = 1; seed <= 200; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        Rng r(seed * 7919);
        RadioImage expected;
        const RadioImage radio = randomRadioImage(r, expected);
        RadioDocument doc;
        ProgramState state;
        decodeImage(radio, doc, state);
        RadioImage written;
        written.clear();
        encodeDocument(doc, state, written);
        expectSameImage(written, expected);
    }
}

TEST(CodecRoundTrip, AnyImageSettlesAfterOneDecodeAndEncode)
{
    // Whatever a radio holds, what the program writes of it reads back to the
    // same document and is written again byte for byte.
    for (std::uint32_t seed = 1; seed <= 100; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        Rng r(seed + 100000);
        RadioImage noise;
        for (auto& b : noise.bytes) b = r.byte();
        RadioDocument doc;
        ProgramState state;
        decodeImage(noise, doc, state);
        RadioImage once;
        once.clear();
        encodeDocument(doc, state, once);

        RadioDocument again;
        ProgramState state2;
        decodeImage(once, again, state2);
        RadioImage twice;
        twice.clear();
        encodeDocument(again, state2, twice);
        expectSameImage(twice, once);
        EXPECT_EQ(state2.ModelName, state.ModelName);
    }
}

}  // namespace
}  // namespace zt
