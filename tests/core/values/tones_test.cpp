#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "core/values/tones.h"

namespace zt {
namespace {

TEST(Tones, EveryIndexRoundTripsThroughItsCode)
{
    std::set<std::uint16_t> codes;
    for (int i = 0; i < kToneCount; ++i) {
        const std::uint16_t code = toneCodeOfIndex(i);
        EXPECT_EQ(toneIndexOfCode(code), i) << "index " << i;
        codes.insert(code);
    }
    EXPECT_EQ(codes.size(), static_cast<std::size_t>(kToneCount));  // no two entries share a code
}

TEST(Tones, CodesOfTheListBoundaries)
{
    EXPECT_EQ(toneCodeOfIndex(0), 0xFFFF);
    EXPECT_EQ(toneCodeOfIndex(1), 0x029E);    // 67.0 Hz
    EXPECT_EQ(toneCodeOfIndex(50), 0x09ED);   // 254.1 Hz
    EXPECT_EQ(toneCodeOfIndex(51), 0xD00F);   // D017N
    EXPECT_EQ(toneCodeOfIndex(52), 0xD013);   // D023N
    EXPECT_EQ(toneCodeOfIndex(157), 0xD1EC);  // D754N
    EXPECT_EQ(toneCodeOfIndex(158), 0x800F);  // D017I
    EXPECT_EQ(toneCodeOfIndex(159), 0x8013);  // D023I
    EXPECT_EQ(toneCodeOfIndex(264), 0x81EC);  // D754I
}

TEST(Tones, IndicesOutsideTheListHaveNoCodeAndNoText)
{
    for (int i : {-1, 265, 1000}) {
        EXPECT_EQ(toneCodeOfIndex(i), kNoToneCode);
        EXPECT_EQ(toneText(i), "");
    }
}

TEST(Tones, CodesThatNameNoEntryGiveOff)
{
    EXPECT_EQ(toneIndexOfCode(0xFFFF), 0);
    EXPECT_EQ(toneIndexOfCode(0xF000), 0);
    EXPECT_EQ(toneIndexOfCode(0x1234), 0);
    EXPECT_EQ(toneIndexOfCode(0x0000), 0);  // 0 Hz is no tone of the table
    EXPECT_EQ(toneIndexOfCode(0x029F), 0);  // 67.1 Hz
    EXPECT_EQ(toneIndexOfCode(0xD010), 0);  // D020 is no DCS code of the table
    // Only first digits 0, D and 8 carry tones, whatever the low 12 bits hold.
    EXPECT_EQ(toneIndexOfCode(0x9013), 0);
    EXPECT_EQ(toneIndexOfCode(0xC013), 0);
    EXPECT_EQ(toneIndexOfCode(0x1013), 0);
}

TEST(Tones, KnownCodesGiveTheirIndices)
{
    EXPECT_EQ(toneIndexOfCode(0x029E), 1);
    EXPECT_EQ(toneIndexOfCode(0xD1EC), 157);
    EXPECT_EQ(toneIndexOfCode(0x81EC), 264);
    EXPECT_EQ(toneText(157), "D754N");
    EXPECT_EQ(toneText(264), "D754I");
}

TEST(Tones, ListTextsFollowTheListOrder)
{
    const auto& texts = toneListTexts();
    ASSERT_EQ(texts.size(), static_cast<std::size_t>(kToneCount));
    EXPECT_EQ(texts[0], "OFF");
    EXPECT_EQ(texts[1], "67.0");
    EXPECT_EQ(texts[13], "100.0");
    EXPECT_EQ(texts[50], "254.1");
    EXPECT_EQ(texts[51], "D017N");
    EXPECT_EQ(texts[158], "D017I");
    for (int i = 0; i < kToneCount; ++i) EXPECT_EQ(texts[static_cast<std::size_t>(i)], toneText(i));

    // Each text names its code: CTCSS texts are the code in tenths of Hz, DCS texts the
    // octal value of the code's low 12 bits.
    for (int i = 1; i < kFirstDcsNormalIndex; ++i) {
        EXPECT_EQ(std::lround(std::stod(texts[static_cast<std::size_t>(i)]) * 10.0),
                  toneCodeOfIndex(i))
            << texts[static_cast<std::size_t>(i)];
    }
    for (int i = kFirstDcsNormalIndex; i < kToneCount; ++i) {
        const std::string& t = texts[static_cast<std::size_t>(i)];
        ASSERT_EQ(t.size(), 5u);
        EXPECT_EQ(std::stoi(t.substr(1, 3), nullptr, 8), toneCodeOfIndex(i) & 0x0FFF) << t;
        EXPECT_EQ(t.back(), i < kFirstDcsInvertedIndex ? 'N' : 'I');
    }
}

}  // namespace
}  // namespace zt
