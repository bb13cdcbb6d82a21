#include <gtest/gtest.h>

#include <cstring>

#include "core/radio/identity_codec.h"
#include "core/radio/image_codec.h"
#include "core/radio/models.h"

namespace zt {
namespace {

TEST(BandCodes, TableTextsAndUnknownTexts)
{
    EXPECT_EQ(bandCodeOfText("25.615 - 30.105 MHz"), 0);
    EXPECT_EQ(bandCodeOfText("430 - 450 MHz"), 1);
    EXPECT_EQ(bandCodeOfText("430 - 480 MHz"), 7);
    EXPECT_EQ(bandCodeOfText("136 - 174 MHz"), 8);
    EXPECT_EQ(bandCodeOfText("144 - 148 MHz"), 14);
    EXPECT_EQ(bandCodeOfText("350 - 390 MHz"), 16);
    EXPECT_EQ(bandCodeOfText("450 - 520 MHz"), 32);
    EXPECT_EQ(bandCodeOfText("1 - 2 MHz"), 0);
    EXPECT_EQ(bandCodeOfText(""), 0);
    EXPECT_EQ(bandCodeOfText("430 - 450 mhz"), 0);  // exact text only
}

TEST(BandCodes, OnlyCodeZeroHasAText)
{
    EXPECT_EQ(bandTextOfCode(0), "25.615 - 30.105 MHz");
    for (int code : {1, 8, 16, 32, -1}) EXPECT_EQ(bandTextOfCode(code), "") << code;
}

TEST(CurrentModel, DocumentWithBandCodeEightLeavesAnEmptyBandText)
{
    RadioData d;
    d.ModelName = std::string("ZT-900") + '\0';
    d.BandCode = 8;
    ProgramState state;
    documentToCurrent(d, state);
    EXPECT_EQ(state.ModelName, "ZT-900");
    EXPECT_EQ(state.BandText, "");
    EXPECT_DOUBLE_EQ(state.Limits.lo, 100.0);
    EXPECT_DOUBLE_EQ(state.Limits.hi, 500.0);
    EXPECT_EQ(state.RadioInfo.BandCode, 8);

    RadioData back;
    currentToDocument(state, back);
    EXPECT_EQ(back.ModelName.cut(), "ZT-900");
    EXPECT_EQ(back.BandCode, 0);  // the empty band text is not in the table
}

TEST(CurrentModel, StandardBandGivesItsLimits)
{
    RadioData d;
    d.ModelName = "ZT-958FM";
    d.BandCode = 0;
    ProgramState state;
    state.setBandText("");
    documentToCurrent(d, state);
    EXPECT_EQ(state.BandText, "25.615 - 30.105 MHz");
    EXPECT_DOUBLE_EQ(state.Limits.lo, 25.615);
    EXPECT_DOUBLE_EQ(state.Limits.hi, 30.105);
}

RadioImage encodedWith(ProgramState state)
{
    RadioDocument doc;
    RadioImage image;
    image.clear();
    encodeDocument(doc, state, image);
    return image;
}

TEST(Identity, StandardModelIsStoredAsZt958WithVariantOne)
{
    const RadioImage image = encodedWith(ProgramState{});
    EXPECT_EQ(std::memcmp(&image.bytes[8688], "ZT-958", 6), 0);
    EXPECT_EQ(image[8694], 1);
    EXPECT_EQ(std::memcmp(&image.bytes[8696], "V300", 4), 0);

    RadioDocument doc;
    ProgramState state;
    state.ModelName = "other";
    state.setBandText("");
    decodeImage(image, doc, state);
    EXPECT_EQ(doc.Data.ModelName.cut(), "ZT-958FM");
    EXPECT_EQ(doc.Data.BandCode, 0);
    EXPECT_EQ(state.ModelName, "ZT-958FM");
    EXPECT_EQ(state.BandText, "25.615 - 30.105 MHz");
}

TEST(Identity, OtherModelsStoreSixCharactersAndTheirBandCode)
{
    ProgramState state;
    state.ModelName = "AB";
    state.setBandText("430 - 450 MHz");
    RadioImage image = encodedWith(state);
    const std::uint8_t want[] = {'A', 'B', 0, 0, 0, 0, 1};
    EXPECT_EQ(std::memcmp(&image.bytes[8688], want, 7), 0);

    state.ModelName = "LONGNAME";
    state.setBandText("136 - 174 MHz");
    image = encodedWith(state);
    EXPECT_EQ(std::memcmp(&image.bytes[8688], "LONGNA", 6), 0);
    EXPECT_EQ(image[8694], 8);

    // "ZT-958" alone is not the standard model: it stores its band code.
    state.ModelName = "ZT-958";
    state.setBandText("450 - 520 MHz");
    image = encodedWith(state);
    EXPECT_EQ(image[8694], 32);
}

TEST(Identity, DecodeReadsTheModelUpToZeroOrFF)
{
    RadioImage image;
    image.clear();
    const std::uint8_t bytes[] = {'Z', 'T', '-', '9', '5', '8', 3};
    std::memcpy(&image.bytes[8688], bytes, 7);
    RadioDocument doc;
    ProgramState state;
    decodeIdentity(image, doc.Data, state);
    EXPECT_EQ(doc.Data.ModelName.cut(), "ZT-958");  // variant 3 is not the standard model
    EXPECT_EQ(doc.Data.BandCode, 3);
    EXPECT_EQ(state.BandText, "");

    image[8690] = 0xFF;
    decodeIdentity(image, doc.Data, state);
    EXPECT_EQ(doc.Data.ModelName.cut(), "ZT");
    image[8690] = 0x00;
    decodeIdentity(image, doc.Data, state);
    EXPECT_EQ(doc.Data.ModelName.cut(), "ZT");
}

TEST(Identity, EncodeTakesModelAndBandFromTheCurrentValues)
{
    RadioDocument doc;
    doc.Data.ModelName = "OLD";
    doc.Data.BandCode = 12;
    ProgramState state;
    RadioImage image;
    image.clear();
    encodeDocument(doc, state, image);
    EXPECT_EQ(doc.Data.ModelName.cut(), "ZT-958FM");
    EXPECT_EQ(doc.Data.BandCode, 0);
}

}  // namespace
}  // namespace zt
