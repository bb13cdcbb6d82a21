#include "core/values/tones.h"

#include <algorithm>
#include <cstdio>

namespace zt {

const std::array<std::uint16_t, kCtcssCount> kCtcssTenthsHz = {
    670,  693,  719,  744,  770,  797,  825,  854,  885,  915,  948,  974,  1000,
    1035, 1072, 1109, 1148, 1188, 1230, 1273, 1318, 1365, 1413, 1462, 1514, 1567,
    1598, 1622, 1655, 1679, 1713, 1738, 1773, 1799, 1835, 1862, 1899, 1928, 1966,
    1995, 2035, 2065, 2107, 2181, 2257, 2291, 2336, 2418, 2503, 2541,
};

// Written in octal, as the codes are named.
const std::array<std::uint16_t, kDcsCount> kDcsCodes = {
    0017, 0023, 0025, 0026, 0031, 0032, 0036, 0043, 0047, 0050, 0051, 0053, 0054, 0065, 0071, 0072,
    0073, 0074, 0114, 0115, 0116, 0122, 0125, 0131, 0132, 0134, 0143, 0145, 0152, 0155, 0156, 0162,
    0165, 0172, 0174, 0205, 0212, 0223, 0225, 0226, 0243, 0244, 0245, 0246, 0251, 0252, 0255, 0261,
    0263, 0265, 0266, 0271, 0274, 0306, 0311, 0315, 0325, 0331, 0332, 0343, 0346, 0351, 0356, 0364,
    0365, 0371, 0411, 0412, 0413, 0423, 0431, 0432, 0445, 0446, 0452, 0454, 0455, 0462, 0464, 0465,
    0466, 0503, 0506, 0516, 0523, 0526, 0532, 0546, 0565, 0606, 0612, 0624, 0627, 0631, 0632, 0645,
    0654, 0662, 0664, 0703, 0712, 0723, 0731, 0732, 0734, 0743, 0754,
};

namespace {

// Position of value in table, or -1.
template <std::size_t N>
int positionIn(const std::array<std::uint16_t, N>& table, std::uint16_t value)
{
    const auto it = std::find(table.begin(), table.end(), value);
    return it == table.end() ? -1 : static_cast<int>(it - table.begin());
}

}  // namespace

std::uint16_t toneCodeOfIndex(int index)
{
    if (index >= kFirstCtcssIndex && index < kFirstDcsNormalIndex) {
        return kCtcssTenthsHz[static_cast<std::size_t>(index - kFirstCtcssIndex)];
    }
    if (index >= kFirstDcsNormalIndex && index < kFirstDcsInvertedIndex) {
        return static_cast<std::uint16_t>(
            kDcsNormalBase + kDcsCodes[static_cast<std::size_t>(index - kFirstDcsNormalIndex)]);
    }
    if (index >= kFirstDcsInvertedIndex && index < kToneCount) {
        return static_cast<std::uint16_t>(
            kDcsInvertedBase + kDcsCodes[static_cast<std::size_t>(index - kFirstDcsInvertedIndex)]);
    }
    return kNoToneCode;  // index 0, and anything the list does not hold
}

int toneIndexOfCode(std::uint16_t code)
{
    const unsigned kind = code >> 12;  // first hexadecimal digit
    const auto value = static_cast<std::uint16_t>(code & 0x0FFF);
    int k = -1;
    switch (kind) {
        case 0x0:
            k = positionIn(kCtcssTenthsHz, value);
            return k < 0 ? 0 : k + kFirstCtcssIndex;
        case 0xD:
            k = positionIn(kDcsCodes, value);
            return k < 0 ? 0 : k + kFirstDcsNormalIndex;
        case 0x8:
            k = positionIn(kDcsCodes, value);
            return k < 0 ? 0 : k + kFirstDcsInvertedIndex;
        default:
            return 0;  // 0xF (no tone) and every other kind
    }
}

std::string toneText(int index)
{
    if (index < 0 || index >= kToneCount) return "";
    if (index == 0) return "OFF";
    char buf[16];
    if (index < kFirstDcsNormalIndex) {
        const unsigned tenths = kCtcssTenthsHz[static_cast<std::size_t>(index - kFirstCtcssIndex)];
        std::snprintf(buf, sizeof buf, "%u.%u", tenths / 10, tenths % 10);
        return buf;
    }
    const bool inverted = index >= kFirstDcsInvertedIndex;
    const int k = index - (inverted ? kFirstDcsInvertedIndex : kFirstDcsNormalIndex);
    std::snprintf(buf, sizeof buf, "D%03o%c",
                  static_cast<unsigned>(kDcsCodes[static_cast<std::size_t>(k)]),
                  inverted ? 'I' : 'N');
    return buf;
}

const std::vector<std::string>& toneListTexts()
{
    static const std::vector<std::string> texts = [] {
        std::vector<std::string> v;
        v.reserve(kToneCount);
        for (int i = 0; i < kToneCount; ++i) v.push_back(toneText(i));
        return v;
    }();
    return texts;
}

}  // namespace zt
