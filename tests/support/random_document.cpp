#include <algorithm>
#include <numeric>
#include <vector>

#include "support/radio_test_util.h"

namespace zt::test {

RadioDocument randomDocument(Rng& r)
{
    RadioDocument doc;
    RadioData& d = doc.Data;

    std::vector<int> numbers(kMaxChannels);
    std::iota(numbers.begin(), numbers.end(), 1);
    std::shuffle(numbers.begin(), numbers.end(),
                 std::mt19937(static_cast<unsigned>(r.range(0, 1 << 30))));
    const int count = r.chance(10) ? kMaxChannels : r.range(0, kMaxChannels);
    d.ChannelCount = static_cast<std::int16_t>(count);
    for (int i = 0; i < count; ++i) {
        ChannelRecord& c = doc.Channels[static_cast<std::size_t>(i)];
        c.ChNo = static_cast<std::int16_t>(numbers[static_cast<std::size_t>(i)]);
        c.ScanSkip = static_cast<std::int16_t>(r.range(0, 1));
        c.RxFre = r.chance(3) ? std::string() : randomRxFre(r);
        randomizeSlotFields(r, c);
        // Fields the slot does not carry: anything.
        c.FmPower = static_cast<std::int16_t>(r.range(0, 1));
        c.AmFm = static_cast<std::int16_t>(r.range(0, 1));
        c.ShiftDir = static_cast<std::uint8_t>(r.range(0, 2));
        c.OffsetFre = "0060000";
        c.RxStep = static_cast<std::int16_t>(r.range(0, 2));
        c.Scramble = static_cast<std::int16_t>(r.range(0, 1));
        c.PttId = static_cast<std::int16_t>(r.range(0, 3));
    }

    OptionSettings& o = d.Options;
    o.TimeOutTimer = static_cast<std::int16_t>(15 * r.range(0, 255));
    o.CurrentGroup = static_cast<std::int16_t>(r.range(0, 255));
    o.DisplayMode = static_cast<std::int16_t>(r.range(0, 255));
    o.BacklightColor = static_cast<std::int16_t>(r.range(0, 255));
    o.ScanMode = static_cast<std::int16_t>(r.range(0, 255));
    o.ScanResumeTime = static_cast<std::int16_t>(r.range(0, 255));
    o.Beep = static_cast<std::int16_t>(r.range(0, 255));
    o.PublicData = static_cast<std::int16_t>(r.range(0, 255));
    o.PttIdPause = static_cast<std::int16_t>(r.range(0, 255));
    o.FrequencyChangeable = static_cast<std::int16_t>(r.range(0, 255));
    for (auto& rows : o.EmergencyRows) {
        for (auto& v : rows) v = static_cast<std::int16_t>(r.range(0, 255));
    }
    for (auto& rows : o.GroupAmFm) {
        for (auto& v : rows) v = 1;  // the image always holds 1
    }
    o.ResetGroupE = static_cast<std::int16_t>(r.range(0, 255));
    o.ResetChannelE = static_cast<std::int16_t>(r.range(0, 255));
    o.ResetGroupNormal = static_cast<std::int16_t>(r.range(0, 255));
    o.ResetChannelNormal = static_cast<std::int16_t>(r.range(0, 255));
    o.ResetGroupExtended = static_cast<std::int16_t>(r.range(0, 255));
    o.ResetChannelExtended = static_cast<std::int16_t>(r.range(0, 255));
    randomizeSlotFields(r, o.Common);
    {
        const std::string t = randomText(r, 16);
        o.PowerOnText = t.size() < 16 ? t + '\0' : t;
    }
    o.SquelchLevel = static_cast<std::int16_t>(r.range(0, 9));
    o.Vox = static_cast<std::int16_t>(r.range(0, 1));

    DtmfSettings& m = d.Dtmf;
    m.Rate = static_cast<std::int16_t>(r.range(0, 255));
    m.FirstDigitTime = static_cast<std::int16_t>(r.range(0, 255));
    m.FirstDigitDelay = static_cast<std::int16_t>(r.range(0, 255));
    m.StarHashTime = static_cast<std::int16_t>(r.range(0, 255));
    m.DKey = static_cast<std::int16_t>(r.range(0, 255));
    m.SideTone = static_cast<std::int16_t>(r.range(0, 255));
    m.CallAlert = static_cast<std::int16_t>(r.range(0, 3));
    m.IdCode = "123";
    m.IdCodeLength = 3;
    for (DtmfCode& code : m.Memory) {
        code.Length = static_cast<std::int16_t>(r.range(0, 16));
        code.Digits = randomDtmfDigits(r, code.Length);  // the editor's form: space padded
    }
    for (auto& line : d.Messages) {
        const std::string t = randomText(r, 16);
        line = t.size() < 16 ? t + '\0' : t;
    }
    for (auto& name : d.Groups) name = randomText(r, 3);
    for (auto& seq : d.Tips) {
        for (auto& note : seq.Notes) {
            note.Frequency = static_cast<std::int16_t>(r.range(0, 255));
            note.Duration = static_cast<std::int16_t>(r.range(0, 255));
        }
        seq.RepeatCount = static_cast<std::int16_t>(r.range(0, 255));
        seq.Interval = static_cast<std::int16_t>(r.range(0, 255));
    }
    d.ModelName = "ZT-958FM";
    d.BandCode = 0;
    d.Keys.Values = {10, 10, 1, 2, 3, 4};
    return doc;
}

}  // namespace zt::test
