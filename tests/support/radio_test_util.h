#pragma once

#include <cstdint>
#include <cstdio>
#include <random>
#include <string>

#include "core/radio/radio_data.h"
#include "core/radio/radio_image.h"
#include "core/values/tones.h"

namespace zt::test {

class Rng {
  public:
    explicit Rng(std::uint32_t seed) : gen_(seed) {}
    int range(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(gen_); }
    bool chance(int percent) { return range(0, 99) < percent; }
    std::uint8_t byte() { return static_cast<std::uint8_t>(range(0, 255)); }
    // A text character the radio can hold inside a text: anything but 0x00 and 0xFF.
    char textChar() { return static_cast<char>(range(1, 254)); }

  private:
    std::mt19937 gen_;
};

// A receive-frequency text whose value the 16-bit slot holds exactly: a kHz
// value on the whole kHz (last digit not 1 or 2) or, for a last digit 1, the
// 1.25 kHz form ending in 125. Mostly in the band, sometimes anywhere.
inline std::string randomRxFre(Rng& r)
{
    int khz = r.chance(80) ? r.range(25615, 30105) : r.range(0, 65534);
    if (khz % 10 == 2) ++khz;  // ...2 kHz is how ...1.25 kHz is stored
    const long long tenHz = static_cast<long long>(khz) * 100 + (khz % 10 == 1 ? 25 : 0);
    char buf[16];
    std::snprintf(buf, sizeof buf, "%08lld", tenHz);
    return buf;
}

// A tone code of the list, high byte first as the image holds it.
inline std::uint16_t randomListedToneCode(Rng& r)
{
    const int pick = r.range(0, 3);
    if (pick == 0) return kNoToneCode;
    if (pick == 1) return kCtcssTenthsHz[static_cast<std::size_t>(r.range(0, kCtcssCount - 1))];
    const std::uint16_t dcs = kDcsCodes[static_cast<std::size_t>(r.range(0, kDcsCount - 1))];
    return static_cast<std::uint16_t>((pick == 2 ? kDcsNormalBase : kDcsInvertedBase) + dcs);
}

// Text of up to max characters that the radio holds exactly: no 0x00/0xFF and
// no trailing space (trailing spaces are cut before a text is written).
inline std::string randomText(Rng& r, int max)
{
    std::string s;
    const int n = r.range(0, max);
    for (int i = 0; i < n; ++i) s.push_back(r.textChar());
    while (!s.empty() && s.back() == ' ') s.back() = 'x';
    return s;
}

inline std::string randomDtmfDigits(Rng& r, int n)
{
    static const std::string kDigits = "0123456789ABCD*#";
    std::string s;
    for (int i = 0; i < n; ++i) s.push_back(kDigits[static_cast<std::size_t>(r.range(0, 15))]);
    return s;
}

// The tone, flag and code fields of a channel (or the common channel) within
// what the image holds.
inline void randomizeSlotFields(Rng& r, ChannelRecord& c)
{
    c.DecodeTone = static_cast<std::int16_t>(r.range(0, kToneCount - 1));
    c.EncodeTone = static_cast<std::int16_t>(r.range(0, kToneCount - 1));
    c.RxExpand = static_cast<std::int16_t>(r.range(0, 1));
    c.TxCompress = static_cast<std::int16_t>(r.range(0, 1));
    c.NbAnl = static_cast<std::int16_t>(r.range(0, 1));
    c.Attenuator = static_cast<std::int16_t>(r.range(0, 1));
    c.HiCut = static_cast<std::int16_t>(r.range(0, 1));
    c.Tsq = static_cast<std::int16_t>(r.range(0, 1));
    c.BusyChannelLock = static_cast<std::int16_t>(r.range(0, 3));
    c.RBTone = static_cast<std::int16_t>(r.range(0, 15));
    c.SquelchMode = static_cast<std::int16_t>(r.range(0, 15));
    c.BotCode = static_cast<std::int16_t>(r.range(0, 31));
    c.Rep = static_cast<std::int16_t>(r.range(0, 3));
    c.EotCode = static_cast<std::int16_t>(r.range(0, 255));
    c.CallCode = static_cast<std::int16_t>(r.range(0, 255));
}

// A document whose every image-carried field lies within what the image holds.
// Channels are in random order; fields the image does not carry are random too.
RadioDocument randomDocument(Rng& r);

}  // namespace zt::test
