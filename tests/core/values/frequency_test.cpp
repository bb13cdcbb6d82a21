#include <gtest/gtest.h>

#include "core/values/frequency.h"

namespace zt {
namespace {

const BandLimits kBand{25.615, 30.105};

TEST(FrequencyFormat, FiveDecimalsWithPoint)
{
    EXPECT_EQ(formatMhz(2761125), "27.61125");
    EXPECT_EQ(formatMhz(5), "0.00005");
    EXPECT_EQ(formatMhz(0), "0.00000");
    EXPECT_EQ(formatMhz(-10000), "-0.10000");
    EXPECT_EQ(formatMhz(99999999), "999.99999");
}

TEST(FrequencyFormat, DecimalTextsAreReadExactlyAndRoundedHalfToEven)
{
    EXPECT_EQ(parseTenHz("27.61125"), 2761125);
    EXPECT_EQ(parseTenHz("25.615"), 2561500);
    EXPECT_EQ(parseTenHz("0.000005"), 0);  // half -> even 0
    EXPECT_EQ(parseTenHz("0.000015"), 2);  // half -> even 2
    EXPECT_EQ(parseTenHz("0.0000150001"), 2);
    EXPECT_EQ(parseTenHz("0.0000149999"), 1);
    EXPECT_EQ(parseTenHz("-0.000015"), -2);
    EXPECT_EQ(parseTenHz(" 2.7e1 "), 2700000);
    EXPECT_EQ(parseTenHz("27,6"), std::nullopt);
    // Band limits held as doubles convert to the decimal they were written as.
    EXPECT_EQ(mhzToTenHz(25.615), 2561500);
    EXPECT_EQ(mhzToTenHz(30.105), 3010500);
    EXPECT_EQ(mhzToTenHz(0.1 + 0.2), 30000);  // 0.30000000000000004
    EXPECT_EQ(numberText(25.615), "25.615");
    EXPECT_EQ(numberText(100.0), "100");
}

TEST(ReceiveFrequency, StoredToDisplayed)
{
    EXPECT_EQ(rxStoredToDisplay("02761125", kBand).text, "27.61125");
    EXPECT_EQ(rxStoredToDisplay("00050000", kBand).text, "0.50000");
    EXPECT_EQ(rxStoredToDisplay("", kBand).text, "");
    EXPECT_EQ(rxStoredToDisplay("        ", kBand).text, "");
    EXPECT_EQ(rxStoredToDisplay(std::string(8, '\0'), kBand).text, "");
    const RxDisplay none = rxStoredToDisplay("FFFFFFFF", kBand);
    EXPECT_EQ(none.text, "");
    EXPECT_FALSE(none.notNumeric);

    const RxDisplay bad = rxStoredToDisplay("02x61125", kBand);
    EXPECT_TRUE(bad.notNumeric);
    EXPECT_EQ(bad.text, "25.615");
}

TEST(ReceiveFrequency, DisplayedToStored)
{
    EXPECT_EQ(rxDisplayToStored("27.6", kBand), "02760000");
    EXPECT_EQ(rxDisplayToStored("27", kBand), "02700000");
    EXPECT_EQ(rxDisplayToStored("27.61125", kBand), "02761125");
    EXPECT_EQ(rxDisplayToStored("127.5", kBand), "12750000");
    EXPECT_EQ(rxDisplayToStored(".5", kBand), "00050000");
    EXPECT_EQ(rxDisplayToStored("27.6112599", kBand), "02761125");  // decimals beyond 5 cut
    EXPECT_EQ(rxDisplayToStored("", kBand), "");
    EXPECT_EQ(rxDisplayToStored("abc", kBand), "02561500");  // the lower limit
}

TEST(ReceiveFrequency, UnusualNumericFormsStillGiveEightDigits)
{
    EXPECT_EQ(rxDisplayToStored("0027.6", kBand), "02760000");
    EXPECT_EQ(rxDisplayToStored(" 27.6", kBand), "02760000");
    EXPECT_EQ(rxDisplayToStored("+27.6", kBand), "02760000");
    EXPECT_EQ(rxDisplayToStored("2.76e1", kBand), "02760000");
    EXPECT_EQ(rxDisplayToStored("1000", kBand), "99999999");
    EXPECT_EQ(rxDisplayToStored("-27.6", kBand), "00000000");
}

TEST(ReceiveFrequency, DisplayedFormsRoundTrip)
{
    for (std::int64_t v : {0LL, 5LL, 2561500LL, 2761125LL, 3010500LL, 99999999LL}) {
        const std::string stored = rxDisplayToStored(formatMhz(v), kBand);
        ASSERT_EQ(stored.size(), 8u);
        EXPECT_EQ(rxStoredToDisplay(stored, kBand).text, formatMhz(v));
    }
}

TEST(Offset, DisplayedWithItsDirection)
{
    EXPECT_EQ(offsetDisplay("0010000", 1), "-0.10000");
    EXPECT_EQ(offsetDisplay("0010000", 2), "+0.10000");
    EXPECT_EQ(offsetDisplay("0010000", 0), "0.10000");
    EXPECT_EQ(offsetDisplay("0010000", 3), "0.10000");
    EXPECT_EQ(offsetDisplay("1234567", 0), "12.34567");
    EXPECT_EQ(offsetDisplay("FFFFFFF", 2), "+0.00000");
    EXPECT_EQ(offsetDisplay("       ", 0), "0.00000");
    EXPECT_EQ(offsetDisplay("001000", 0), "0.00000");   // 6 digits
    EXPECT_EQ(offsetDisplay("-010000", 0), "0.00000");  // not all digits
}

TEST(TransmitFrequency, DisplayedFromReceiveAndOffset)
{
    EXPECT_EQ(txDisplay("02760000", "0010000", 2, false, kBand), "27.70000");
    EXPECT_EQ(txDisplay("02760000", "0010000", 1, false, kBand), "27.50000");
    EXPECT_EQ(txDisplay("02760000", "0010000", 0, false, kBand), "27.60000");
    EXPECT_EQ(txDisplay("02760000", "0010000", 1, true, kBand), "-0.10000");
    EXPECT_EQ(txDisplay("", "0010000", 2, false, kBand), "");
    EXPECT_EQ(txDisplay("FFFFFFFF", "0010000", 2, true, kBand), "");
    EXPECT_EQ(txDisplay("0276x000", "0010000", 2, false, kBand), "");
}

TEST(TransmitFrequency, NegativeSumAndItsAbsoluteValue)
{
    EXPECT_EQ(txDisplay("00005000", "0010000", 1, false, kBand), "-0.05000");
    EXPECT_EQ(txDisplay("00005000", "0010000", 1, false, kBand, true), "0.05000");
}

TEST(OffsetFromEntry, TransmitFrequencyEntered)
{
    const OffsetResult up = offsetFromEntered("02760000", "27.70000", false, "0000000", 0, kBand);
    EXPECT_EQ(up.shiftDir, 2);
    EXPECT_EQ(up.storedOffset, "0010000");
    const OffsetResult down = offsetFromEntered("02760000", "27.1", false, "0000000", 0, kBand);
    EXPECT_EQ(down.shiftDir, 1);
    EXPECT_EQ(down.storedOffset, "0050000");
}

TEST(OffsetFromEntry, SameOrMissingValuesKeepTheMagnitudeWithoutDirection)
{
    const OffsetResult same = offsetFromEntered("02760000", "27.6", false, "0010000", 2, kBand);
    EXPECT_EQ(same.shiftDir, 0);
    EXPECT_EQ(same.storedOffset, "0010000");
    for (const char* entered : {"", "x", "27,7"}) {
        const OffsetResult r = offsetFromEntered("02760000", entered, false, "0020000", 1, kBand);
        EXPECT_EQ(r.shiftDir, 0) << entered;
        EXPECT_EQ(r.storedOffset, "0020000") << entered;
    }
    const OffsetResult noRx = offsetFromEntered("", "27.7", false, "0020000", 1, kBand);
    EXPECT_EQ(noRx.shiftDir, 0);
    EXPECT_EQ(noRx.storedOffset, "0020000");
    const OffsetResult badOffset = offsetFromEntered("", "27.7", false, "FFFFFFF", 1, kBand);
    EXPECT_EQ(badOffset.storedOffset, "0000000");
}

TEST(OffsetFromEntry, SignedOffsetEnteredInOffsetMode)
{
    const OffsetResult minus = offsetFromEntered("02760000", "-0.6", true, "0000000", 0, kBand);
    EXPECT_EQ(minus.shiftDir, 1);
    EXPECT_EQ(minus.storedOffset, "0060000");
    const OffsetResult plus = offsetFromEntered("02760000", "+1.25", true, "0000000", 0, kBand);
    EXPECT_EQ(plus.shiftDir, 2);
    EXPECT_EQ(plus.storedOffset, "0125000");
    const OffsetResult unsignedEntry =
        offsetFromEntered("02760000", "0.5", true, "0010000", 2, kBand);
    EXPECT_EQ(unsignedEntry.shiftDir, 0);
    EXPECT_EQ(unsignedEntry.storedOffset, "0050000");
    // Offsets of 100 MHz and more have no 7-digit form: held at the largest.
    const OffsetResult huge = offsetFromEntered("02760000", "+150", true, "0000000", 0, kBand);
    EXPECT_EQ(huge.storedOffset, "9999999");
}

TEST(Validation, SnapsDownOntoTheRasterFromTheLowerLimit)
{
    EXPECT_EQ(validateEnteredFrequency("27.613", 0, kBand).text, "27.61000");
    EXPECT_EQ(validateEnteredFrequency("27.615", 0, kBand).text, "27.61500");
    EXPECT_EQ(validateEnteredFrequency("27.61999", 0, kBand).text, "27.61500");
    EXPECT_EQ(validateEnteredFrequency("25.615", 0, kBand).text, "25.61500");
    EXPECT_EQ(validateEnteredFrequency("30.105", 0, kBand).messageId, 0);
    EXPECT_EQ(validateEnteredFrequency("27.613", 0, kBand).messageId, 0);
    // A raster that starts at a round lower limit.
    EXPECT_EQ(validateEnteredFrequency("27.613", 0, BandLimits{27.0, 28.0}).text, "27.61000");
    EXPECT_EQ(validateEnteredFrequency("27.6149", 0, BandLimits{27.0, 28.0}).text, "27.61000");
}

TEST(Validation, OnlyGroupSixKeepsAOnePointTwoFiveKilohertzPart)
{
    EXPECT_EQ(validateEnteredFrequency("27.60125", 6, kBand).text, "27.60125");
    EXPECT_EQ(validateEnteredFrequency("27.60125", 5, kBand).text, "27.60000");
    EXPECT_EQ(validateEnteredFrequency("27.60125", 0, kBand).text, "27.60000");
    EXPECT_EQ(validateEnteredFrequency("27.60225", 6, kBand).text, "27.60000");
}

TEST(Validation, OutsideTheBandOrNotANumberGivesTheLimitAndMessage)
{
    const ValidatedFrequency low = validateEnteredFrequency("25.6", 0, kBand);
    EXPECT_EQ(low.text, "25.61500");
    EXPECT_EQ(low.messageId, 9021);
    const ValidatedFrequency high = validateEnteredFrequency("31", 0, kBand);
    EXPECT_EQ(high.text, "30.10500");
    EXPECT_EQ(high.messageId, 9021);
    const ValidatedFrequency junk = validateEnteredFrequency("abc", 0, kBand);
    EXPECT_EQ(junk.text, "25.61500");
    EXPECT_EQ(junk.messageId, 9021);
    EXPECT_EQ(validateEnteredFrequency("", 0, kBand).messageId, 9021);
    EXPECT_EQ(validateEnteredFrequency("1e300", 0, kBand).text, "30.10500");
    EXPECT_EQ(validateEnteredFrequency("-27", 0, kBand).text, "25.61500");
}

TEST(Validation, EveryFrequencyInTheBandLandsOnTheRasterJustBelowIt)
{
    const std::int64_t lo = 2561500;
    for (std::int64_t v = lo; v <= 3010500; v += 37) {
        const ValidatedFrequency r = validateEnteredFrequency(formatMhz(v), 0, kBand);
        ASSERT_EQ(r.messageId, 0);
        const std::int64_t snapped = *parseTenHz(r.text);
        ASSERT_EQ((snapped - lo) % 500, 0) << r.text;
        ASSERT_TRUE(snapped <= v && v - snapped < 500) << formatMhz(v) << " -> " << r.text;
    }
}

TEST(Validation, LimitsAreComparedWithTheExactTypedValue)
{
    // Just below or above a limit is outside, even where rounding to 10 Hz would reach it.
    EXPECT_EQ(validateEnteredFrequency("25.614999", 0, kBand).messageId, 9021);
    EXPECT_EQ(validateEnteredFrequency("30.105001", 0, kBand).messageId, 9021);
    EXPECT_EQ(validateEnteredFrequency("30.1050000", 0, kBand).messageId, 0);
}

TEST(Raster, ReceiveFrequencySteps)
{
    // 5 kHz from the lower limit.
    RasterResult r = rasterCheck("02761500", "0000000", 0, kBand);
    EXPECT_EQ(r.rxStep, 0);
    EXPECT_EQ(r.rxStored, "02761500");
    EXPECT_EQ(r.txStep, 0);
    // 6.25 kHz: 25.615 + 0.00625.
    r = rasterCheck("02562125", "0000000", 0, kBand);
    EXPECT_EQ(r.rxStep, 1);
    EXPECT_EQ(r.rxStored, "02562125");
    EXPECT_EQ(r.txStep, 1);
    // 8.33 kHz: the first two steps stay, the third is raised onto the 25 kHz mark.
    r = rasterCheck("02562333", "0000000", 0, kBand);
    EXPECT_EQ(r.rxStep, 2);
    EXPECT_EQ(r.rxStored, "02562333");
    r = rasterCheck("02563166", "0000000", 0, kBand);
    EXPECT_EQ(r.rxStep, 2);
    EXPECT_EQ(r.rxStored, "02563166");
    r = rasterCheck("02563999", "0000000", 0, kBand);
    EXPECT_EQ(r.rxStep, 2);
    EXPECT_EQ(r.rxStored, "02564000");
    // On no raster: down onto 5 kHz.
    r = rasterCheck("02761300", "0000000", 0, kBand);
    EXPECT_EQ(r.rxStep, 0);
    EXPECT_EQ(r.rxStored, "02761000");
    EXPECT_EQ(r.shiftDir, 0);
    EXPECT_EQ(r.storedOffset, "0000000");
}

TEST(Raster, TransmitFrequencyIsSnappedAndTheOffsetRecomputed)
{
    // 27.615 + 0.10313 = 27.71813: off every raster, snapped to 27.71500.
    RasterResult r = rasterCheck("02761500", "0010313", 2, kBand);
    EXPECT_EQ(r.rxStep, 0);
    EXPECT_EQ(r.txStep, 0);
    EXPECT_EQ(r.shiftDir, 2);
    EXPECT_EQ(r.storedOffset, "0010000");
    // Minus direction with a 6.25 kHz transmit frequency: kept.
    r = rasterCheck("02761500", "0009375", 1, kBand);
    EXPECT_EQ(r.txStep, 1);
    EXPECT_EQ(r.shiftDir, 1);
    EXPECT_EQ(r.storedOffset, "0009375");
    // An offset that snaps to nothing leaves transmit on receive: direction 0, magnitude kept.
    r = rasterCheck("02761500", "0000300", 2, kBand);
    EXPECT_EQ(r.txStep, 0);
    EXPECT_EQ(r.shiftDir, 0);
    EXPECT_EQ(r.storedOffset, "0000300");
}

TEST(Raster, BelowTheLowerLimitSnapsUpAndUnknownDirectionsTransmitOnReceive)
{
    RasterResult r = rasterCheck("02561300", "0010000", 3, kBand);
    EXPECT_EQ(r.rxStored, "02561500");
    EXPECT_EQ(r.rxStep, 0);
    EXPECT_EQ(r.txStep, 0);
    EXPECT_EQ(r.shiftDir, 3);
    EXPECT_EQ(r.storedOffset, "0010000");
}

TEST(Raster, NothingToCheckWithoutAReceiveFrequency)
{
    const RasterResult r = rasterCheck("FFFFFFFF", "0010000", 2, kBand);
    EXPECT_EQ(r.rxStored, "FFFFFFFF");
    EXPECT_EQ(r.shiftDir, 2);
    EXPECT_EQ(r.storedOffset, "0010000");
    EXPECT_EQ(r.rxStep, 0);
    EXPECT_EQ(r.txStep, 0);
}

TEST(Raster, GroupSixKeepsItsQuarterKilohertzPart)
{
    // A UK channel: 27.60125 with a 0.1 MHz plus offset keeps both sides as entered.
    RasterResult r = rasterCheck("02760125", "0010000", 2, kBand, true);
    EXPECT_EQ(r.rxStored, "02760125");
    EXPECT_EQ(r.shiftDir, 2);
    EXPECT_EQ(r.storedOffset, "0010000");
    // The same channel outside group 6 is snapped down onto the 5 kHz raster.
    r = rasterCheck("02760125", "0010000", 2, kBand, false);
    EXPECT_EQ(r.rxStored, "02760000");
    // In group 6 other off-raster values are still snapped; only a final 125 is kept.
    r = rasterCheck("02760130", "0000000", 0, kBand, true);
    EXPECT_EQ(r.rxStored, "02760000");
    // A transmit side off every raster is snapped (27.60325 -> 27.60000), the receive side
    // kept: the offset becomes minus 1.25 kHz.
    r = rasterCheck("02760125", "0000200", 2, kBand, true);
    EXPECT_EQ(r.rxStored, "02760125");
    EXPECT_EQ(r.shiftDir, 1);
    EXPECT_EQ(r.storedOffset, "0000125");
}

}  // namespace
}  // namespace zt
