#include "core/edit/option_rules.h"

#include <gtest/gtest.h>

namespace zt {
namespace {

TEST(OptionRulesTest, TimeOutListMapsIndexTimesFifteenAndRoundsOnLoad)
{
    OptionSettings o;
    o.TimeOutTimer = 0;
    EXPECT_EQ(optionListIndexOf(o, opt::TimeOut), 0);
    o.TimeOutTimer = 600;
    EXPECT_EQ(optionListIndexOf(o, opt::TimeOut), 40);
    o.TimeOutTimer = 22;  // 22 / 15 = 1.47 -> entry "15"
    EXPECT_EQ(optionListIndexOf(o, opt::TimeOut), 1);
    storeOptionList(o, opt::TimeOut, 40, "600");
    EXPECT_EQ(o.TimeOutTimer, 600);
    const auto entries = optionListEntries(opt::TimeOut);
    ASSERT_EQ(entries.size(), 41u);
    EXPECT_EQ(entries[0].textId, 16040);
    EXPECT_EQ(entries[40].text, "600");
}

TEST(OptionRulesTest, VoiceListsStoreIndexPlusOneAndNoSelectionKeepsTheField)
{
    OptionSettings o;
    o.VoiceVolume = 3;
    EXPECT_EQ(optionListIndexOf(o, opt::VoiceVolume), 2);
    storeOptionList(o, opt::VoiceVolume, 4, "5");
    EXPECT_EQ(o.VoiceVolume, 5);
    storeOptionList(o, opt::VoiceVolume, -1, "");
    EXPECT_EQ(o.VoiceVolume, 5);
    storeOptionList(o, opt::VoicePrompt, 0, "English");
    EXPECT_EQ(o.VoicePrompt, 1);
}

TEST(OptionRulesTest, CodeListsStoreTheNumberShownAndZeroForTheNoneEntry)
{
    OptionSettings o;
    storeOptionList(o, opt::Bot, 2, "7");
    EXPECT_EQ(o.Common.BotCode, 7);
    storeOptionList(o, opt::Bot, 0, "Off");
    EXPECT_EQ(o.Common.BotCode, 0);
    o.Common.CallCode = 4;
    storeOptionList(o, opt::Call, -1, "");
    EXPECT_EQ(o.Common.CallCode, 0);
}

TEST(OptionRulesTest, IdsWithoutAFieldChangeNothing)
{
    OptionSettings o;
    o.TimeOutTimer = 30;
    const OptionSettings before = o;
    // Controls numbered in the windows' arrays that carry no field of the record.
    for (int n : {10, 16, 20, 28, 40 + 1, 106, 113, 139}) {
        const auto id = static_cast<OptionControl>(n);
        storeOptionList(o, id, 1, "1");
        storeOptionCheck(o, id, true);
    }
    EXPECT_EQ(o, before);
}

TEST(OptionRulesTest, CheckBoxesShowOnlyOneAsCheckedAndStoreZeroOrOne)
{
    OptionSettings o;
    o.Common.HiCut = 5;
    EXPECT_EQ(optionCheckValue(o, opt::HiCut), 5);
    storeOptionCheck(o, opt::HiCut, true);
    EXPECT_EQ(o.Common.HiCut, 1);
    storeOptionCheck(o, opt::PublicData, false);
    EXPECT_EQ(o.PublicData, 0);
    storeOptionCheck(o, opt::NoSignalTail, true);
    EXPECT_EQ(o.NoSignalTailElimination, 1);
}

TEST(OptionRulesTest, SquelchModeShowsEntryZeroWithoutDecodeTone)
{
    OptionSettings o;
    o.Common.SquelchMode = 1;
    EXPECT_EQ(optionListIndexOf(o, opt::SquelchMode), 0);
    o.Common.DecodeTone = 12;
    EXPECT_EQ(optionListIndexOf(o, opt::SquelchMode), 1);
}

TEST(OptionRulesTest, ReferencedCodesAndTonesMustExist)
{
    RadioData data;
    data.Dtmf.Memory[1].Length = 3;   // M2
    data.Dtmf.Memory[15].Length = 1;  // M16
    EXPECT_EQ(nonEmptyDtmfCodes(data.Dtmf), (std::vector<int>{2, 16}));
    EXPECT_EQ(dtmfCodeShown(data.Dtmf, 2), 2);
    EXPECT_EQ(dtmfCodeShown(data.Dtmf, 3), 0);

    data.Tips[2].RepeatCount = 1;
    data.Tips[2].Notes[5].Duration = 5;
    data.Tips[4].Notes[0].Duration = 5;  // repeat count 0: not defined
    EXPECT_EQ(definedToneTips(data), (std::vector<int>{3}));
    EXPECT_EQ(rbToneShown(data, 3), 3);
    EXPECT_EQ(rbToneShown(data, 5), 0);
    EXPECT_EQ(rbToneShown(data, 9), 0);
    EXPECT_EQ(rbToneShown(data, -1), 0);
}

TEST(OptionRulesTest, PowerOnTextIsRightAlignedIntoSixteenBoxes)
{
    const auto boxes = powerOnBoxes(FixedText<16>("ABC"));
    for (int i = 0; i < 13; ++i) EXPECT_EQ(boxes[static_cast<std::size_t>(i)], "") << i;
    EXPECT_EQ(boxes[13], "A");
    EXPECT_EQ(boxes[15], "C");

    auto edited = boxes;
    edited[14].clear();
    EXPECT_EQ(powerOnTextOf(edited).raw(), std::string(13, ' ') + "A C");
}

TEST(OptionRulesTest, PowerOnTextCutsAtNulAndKeepsInnerSpaces)
{
    FixedText<16> stored;
    stored.assign(std::string("HI THERE") + '\0' + "XY");
    const auto boxes = powerOnBoxes(stored);
    EXPECT_EQ(boxes[8], "H");
    EXPECT_EQ(boxes[10], "");  // the inner space
    EXPECT_EQ(powerOnTextOf(boxes).raw(), "        HI THERE");
}

TEST(OptionRulesTest, PowerOnKeysAreLettersAndDigitsOnly)
{
    for (char c : std::string("AZaz09")) EXPECT_TRUE(powerOnCharAccepted(c)) << c;
    for (char c : std::string(" -*#.\x7f")) EXPECT_FALSE(powerOnCharAccepted(c)) << int(c);
}

}  // namespace
}  // namespace zt
