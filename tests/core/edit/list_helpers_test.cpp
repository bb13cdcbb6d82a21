#include <gtest/gtest.h>

#include "core/edit/list_helpers.h"

namespace zt {
namespace {

ListState onOff()
{
    return ListState{{"on", "off"}, "", -1};
}

TEST(CheckBox, ShowsZeroAndOneAndClearsOtherValues)
{
    std::int16_t v = 1;
    EXPECT_TRUE(setCheckBox(v));
    EXPECT_EQ(v, 1);
    v = 0;
    EXPECT_FALSE(setCheckBox(v));
    EXPECT_EQ(v, 0);
    v = 2;
    EXPECT_FALSE(setCheckBox(v));
    EXPECT_EQ(v, 0);
    v = -1;
    EXPECT_FALSE(setCheckBox(v));
    EXPECT_EQ(v, 0);
}

TEST(ListText, EntryForTextFallsBackToTheFirstEntry)
{
    EXPECT_EQ(entryForText(onOff(), "off"), "off");
    EXPECT_EQ(entryForText(onOff(), "maybe"), "on");
    EXPECT_EQ(entryForText(onOff(), "OFF"), "on");  // exact match only
    EXPECT_EQ(entryForText(ListState{}, "off"), "");
}

TEST(ListText, SelectByTextSetsTextAndIndex)
{
    ListState list = onOff();
    selectByText(list, "off");
    EXPECT_EQ(list.text, "off");
    EXPECT_EQ(list.index, 1);
    selectByText(list, "maybe");
    EXPECT_EQ(list.text, "on");
    EXPECT_EQ(list.index, 0);

    ListState empty{{}, "stale", 3};
    selectByText(empty, "on");
    EXPECT_EQ(empty.text, "");
    EXPECT_EQ(empty.index, -1);
    // An empty first entry chosen as the fallback selects nothing.
    ListState blankFirst{{"", "x"}, "x", 1};
    selectByText(blankFirst, "y");
    EXPECT_EQ(blankFirst.index, -1);
}

TEST(ListIndex, EntryAtIndexAndSelectByIndex)
{
    EXPECT_EQ(entryAtIndex(onOff(), 1), "off");
    EXPECT_EQ(entryAtIndex(onOff(), 2), "on");
    EXPECT_EQ(entryAtIndex(onOff(), -1), "on");
    EXPECT_EQ(entryAtIndex(ListState{}, 0), "");

    ListState list = onOff();
    selectByIndex(list, 1);
    EXPECT_EQ(list.text, "off");
    EXPECT_EQ(list.index, 1);
    selectByIndex(list, 7);
    EXPECT_EQ(list.text, "on");
    EXPECT_EQ(list.index, 0);
    ListState empty;
    selectByIndex(empty, 0);
    EXPECT_EQ(empty.index, -1);
}

TEST(ListIndex, IndexOfTextIsZeroNotMinusOneWhenAbsent)
{
    EXPECT_EQ(indexOfText(onOff(), "off", 9), 1);
    EXPECT_EQ(indexOfText(onOff(), "maybe", 9), 0);
    EXPECT_EQ(indexOfText(onOff(), "", 9), 9);
    EXPECT_EQ(indexOfText(ListState{}, "off", 9), 9);
    ListState dup{{"a", "b", "a"}, "", -1};
    EXPECT_EQ(indexOfText(dup, "a", 9), 0);
}

TEST(ListIndex, IndexIfSelectedLeavesTheValueAloneOtherwise)
{
    ListState list = onOff();
    std::int16_t out = 5;
    listIndexIfSelected(list, out);
    EXPECT_EQ(out, 5);
    list.index = 1;
    listIndexIfSelected(list, out);
    EXPECT_EQ(out, 1);
    list.index = 2;  // beyond the entries counts as no selection
    out = 5;
    listIndexIfSelected(list, out);
    EXPECT_EQ(out, 5);
}

TEST(ListNumber, NumberOfTheSelectedTextOrDefault)
{
    ListState steps{{"1", "2", "12.5", "x", "40000"}, "2", 1};
    std::int16_t out = 0;
    listNumberOrDefault(steps, out, std::int16_t{7});
    EXPECT_EQ(out, 2);
    steps.index = -1;  // no selection: the text does not count
    listNumberOrDefault(steps, out, std::int16_t{7});
    EXPECT_EQ(out, 7);
    selectByText(steps, "12.5");
    listNumberOrDefault(steps, out, std::int16_t{7});
    EXPECT_EQ(out, 12);  // halves to even
    selectByText(steps, "x");
    listNumberOrDefault(steps, out, std::int16_t{7});
    EXPECT_EQ(out, 7);
    selectByText(steps, "40000");  // does not fit 16 bits
    listNumberOrDefault(steps, out, std::int16_t{7});
    EXPECT_EQ(out, 7);
    std::int32_t wide = 0;
    listNumberOrDefault(steps, wide, 7);
    EXPECT_EQ(wide, 40000);
}

TEST(ListEntries, AddUniqueAppendsOnlyNewTexts)
{
    ListState list;
    addUnique(list, "COM1");
    addUnique(list, "COM3");
    addUnique(list, "COM1");
    EXPECT_EQ(list.entries, (std::vector<std::string>{"COM1", "COM3"}));
}

TEST(NumberText, NumberOrDefaultIn32Bits)
{
    EXPECT_EQ(numberOrDefault("", 4), 4);
    EXPECT_EQ(numberOrDefault("123", 4), 123);
    EXPECT_EQ(numberOrDefault(" -17 ", 4), -17);
    EXPECT_EQ(numberOrDefault("2.5", 4), 2);
    EXPECT_EQ(numberOrDefault("3.5", 4), 4);
    EXPECT_EQ(numberOrDefault("abc", 4), 4);
    EXPECT_EQ(numberOrDefault("2147483647", 4), 2147483647);
    EXPECT_EQ(numberOrDefault("2147483648", 4), 4);
    EXPECT_EQ(numberOrDefault("1e30", 4), 4);
}

}  // namespace
}  // namespace zt
