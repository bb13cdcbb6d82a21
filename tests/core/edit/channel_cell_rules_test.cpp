#include <gtest/gtest.h>

#include "core/edit/channel_cell_rules.h"
#include "core/edit/channel_grid_rules.h"
#include "core/edit/channel_write_back.h"
#include "core/radio/channel_edit.h"
#include "core/text_ids.h"
#include "core/values/tones.h"

namespace zt {
namespace {

const BandLimits kBand = parseBandLimits("25.615 - 30.105 MHz");

CellEntry paste(const RadioData& data, int group, int col, std::string_view text,
                bool present = true, std::string_view shown = "",
                const std::vector<std::string>* entries = nullptr)
{
    return checkPastedCell(data, kBand, CellTarget{group, col, present, entries, shown}, text);
}

TEST(ChannelCellTyping, FrequencyAndCodeCharacters)
{
    for (char32_t c : std::u32string(U"0123456789.")) {
        EXPECT_TRUE(frequencyCharAccepted(c, false));
        EXPECT_TRUE(frequencyCharAccepted(c, true));
    }
    for (char32_t c : std::u32string(U"+-")) {
        EXPECT_FALSE(frequencyCharAccepted(c, false));
        EXPECT_TRUE(frequencyCharAccepted(c, true));
    }
    for (char32_t c : std::u32string(U"a ,eE\u00e9")) EXPECT_FALSE(frequencyCharAccepted(c, true));
    EXPECT_EQ(channelCodeChar(U'a'), 'A');
    EXPECT_EQ(channelCodeChar(U'Z'), 'Z');
    EXPECT_EQ(channelCodeChar(U'7'), '7');
    EXPECT_EQ(channelCodeChar(U'-'), 0);
    EXPECT_EQ(channelCodeChar(U'\u00e4'), 0);
}

TEST(ChannelCellTyping, TransmitEntryThatIsNoNumberIsRefusedAndChangesNothing)
{
    RadioDocument doc;
    ChannelRecord& rec = newChannel(doc, 401, "02700000");
    rec.OffsetFre.assign("0060000");
    rec.ShiftDir = 2;
    for (const char* bad : {"+", "-", "", ".", "+-1", "1.2.3"}) {
        const WriteBackResult r = writeBack(doc, WriteBackRequest{9, 1, kColTx, bad}, kBand);
        EXPECT_EQ(r.action, WriteBackAction::Refused) << bad;
        EXPECT_EQ(r.messageId, text::msg::TransmitOffsetNotNumber) << bad;
        EXPECT_EQ(doc.findChannel(401)->ShiftDir, 2) << bad;
        EXPECT_EQ(doc.findChannel(401)->OffsetFre.cut(), "0060000") << bad;
    }
    EXPECT_EQ(writeBack(doc, WriteBackRequest{9, 1, kColTx, "-0.1"}, kBand).action,
              WriteBackAction::Updated);
    EXPECT_EQ(doc.findChannel(401)->ShiftDir, 1);
}

TEST(ChannelCellTyping, ReceiveEditOfAFixedChannelIsRefusedAndSaidNotSilentlyDropped)
{
    // Channels 1-400 keep the receive frequency they were created with; channel 401 does not.
    auto place = [](int chNo) {
        for (int g = 0; g < kChannelGroupCount; ++g)
            if (chNo > GroupBase(g) && chNo <= GroupBase(g) + GroupSize(g))
                return std::pair{g, chNo - GroupBase(g)};
        return std::pair{-1, 0};
    };
    RadioDocument doc;
    doc.Data.Options.FrequencyChangeable = 1;
    newChannel(doc, 400, "02700000");
    newChannel(doc, 401, "02700000");
    const auto [g400, row400] = place(400);
    const auto [g401, row401] = place(401);
    ASSERT_GE(g400, 0);

    WriteBackResult r = writeBack(doc, WriteBackRequest{g400, row400, kColRx, "27.005"}, kBand);
    EXPECT_EQ(r.action, WriteBackAction::Refused);
    EXPECT_EQ(r.messageId, text::msg::ReceiveFrequencyFixed);
    EXPECT_EQ(doc.findChannel(400)->RxFre.cut(), "02700000");
    // The same frequency again is no edit and no message.
    r = writeBack(doc, WriteBackRequest{g400, row400, kColRx, "27.00000"}, kBand);
    EXPECT_EQ(r.messageId, 0);
    EXPECT_NE(r.action, WriteBackAction::Refused);

    r = writeBack(doc, WriteBackRequest{g401, row401, kColRx, "27.005"}, kBand);
    EXPECT_EQ(r.action, WriteBackAction::Updated);
    EXPECT_EQ(doc.findChannel(401)->RxFre.cut(), "02700500");
}

TEST(ChannelCellPaste, ReceiveFrequencyFollowsTheTypingRules)
{
    RadioData data;
    data.Options.FrequencyChangeable = 1;
    EXPECT_EQ(paste(data, 9, kColRx, " 27.615 ").refusal, CellRefusal::None);
    EXPECT_EQ(paste(data, 9, kColRx, " 27.615 ").value, "27.615");
    // Typing would snap these onto the 5 kHz raster from 25.615 MHz; a paste is refused.
    EXPECT_EQ(paste(data, 9, kColRx, "27.613").refusal, CellRefusal::OffRaster);
    EXPECT_EQ(paste(data, 9, kColRx, "27.6150001").refusal, CellRefusal::OffRaster);
    EXPECT_EQ(paste(data, 9, kColRx, "25.615").refusal, CellRefusal::None);
    EXPECT_EQ(paste(data, 9, kColRx, "30.105").refusal, CellRefusal::None);
    for (const char* bad : {"abc", "27,5", "-27", "2e1", "27 MHz", "."})
        EXPECT_EQ(paste(data, 9, kColRx, bad).refusal, CellRefusal::NotFrequency) << bad;
    EXPECT_EQ(paste(data, 9, kColRx, "25.6").refusal, CellRefusal::OutsideBand);
    EXPECT_EQ(paste(data, 9, kColRx, "30.10501").refusal, CellRefusal::OutsideBand);
    // An empty cell deletes a present channel as clearing it does; on an empty row it is nothing.
    EXPECT_FALSE(paste(data, 9, kColRx, "", true, "27.00000").skip);
    EXPECT_EQ(paste(data, 9, kColRx, "", true, "27.00000").value, "");
    EXPECT_TRUE(paste(data, 9, kColRx, "", false).skip);

    data.Options.FrequencyChangeable = 0;
    EXPECT_EQ(paste(data, 6, kColRx, "27").refusal, CellRefusal::FixedFrequency);
    EXPECT_EQ(paste(data, 6, kColRx, "", true, "27.00000").refusal, CellRefusal::FixedFrequency);
    EXPECT_EQ(paste(data, 7, kColRx, "27").refusal, CellRefusal::None);
    // A block copied within a fixed group pastes back without complaint.
    const CellEntry same = paste(data, 6, kColRx, "27.00000", true, "27.00000");
    EXPECT_TRUE(same.skip);
    EXPECT_EQ(same.refusal, CellRefusal::None);
}

TEST(ChannelCellPaste, OffsetMustBeASignedNumberOnAChannel)
{
    RadioData data;
    EXPECT_EQ(paste(data, 9, kColTx, "+0.1").refusal, CellRefusal::None);
    EXPECT_EQ(paste(data, 9, kColTx, "-0.60000").refusal, CellRefusal::None);
    EXPECT_EQ(paste(data, 9, kColTx, "0").refusal, CellRefusal::None);
    for (const char* bad : {"+", "x", "+0.1MHz", "1,5"})
        EXPECT_EQ(paste(data, 9, kColTx, bad).refusal, CellRefusal::NotOffset) << bad;
    EXPECT_EQ(paste(data, 9, kColTx, "+0.1", false).refusal, CellRefusal::NoChannel);
    EXPECT_TRUE(paste(data, 9, kColTx, "").skip);
}

TEST(ChannelCellPaste, ListCellsNameAnEntry)
{
    RadioData data;
    std::vector<std::string> tones = toneListTexts();
    tones[0] = "Off";  // the language's text for "no tone"
    const std::vector<std::string> scan = {"Scan", "Skip"};
    auto tone = [&](std::string_view text, bool present = true) {
        return paste(data, 9, kColDecode, text, present, "", &tones);
    };
    EXPECT_EQ(tone("67.0").value, "1");
    EXPECT_EQ(tone("67").value, "1");  // as a spreadsheet shortens it
    EXPECT_EQ(tone("254.1").value, "50");
    EXPECT_EQ(tone(" d023n ").value, "52");
    EXPECT_EQ(tone("D754I").value, "264");
    EXPECT_EQ(tone("off").value, "0");
    EXPECT_EQ(tone("OFF").value, "0");
    EXPECT_EQ(tone("68").refusal, CellRefusal::NotInList);
    EXPECT_EQ(tone("D999N").refusal, CellRefusal::NotInList);
    EXPECT_EQ(tone("67.0", false).refusal, CellRefusal::NoChannel);
    EXPECT_TRUE(tone("").skip);

    EXPECT_EQ(paste(data, 9, kColScanSkip, "SKIP", true, "", &scan).value, "1");
    // A flag list does not take tone numbers.
    EXPECT_EQ(paste(data, 9, kColScanSkip, "67", true, "", &scan).refusal, CellRefusal::NotInList);
    // Columns without a stored field, and the grid's own columns.
    EXPECT_EQ(paste(data, 9, 3, "AB").refusal, CellRefusal::NoField);
    EXPECT_EQ(paste(data, 9, 6, "High").refusal, CellRefusal::NoField);
    EXPECT_TRUE(paste(data, 9, kColRow, "12").skip);
    EXPECT_TRUE(paste(data, 9, kColEditor, ">>").skip);
}

}  // namespace
}  // namespace zt
