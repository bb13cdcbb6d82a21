#include "core/values/frequency.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

#include "core/radio/fixed_text.h"
#include "core/values/number_text.h"

namespace zt {
namespace {

constexpr std::int64_t kMaxStoredRx = 99999999;     // 8 digits
constexpr std::int64_t kMaxStoredOffset = 9999999;  // 7 digits
constexpr std::int64_t kRaster5k = 500;             // 5 kHz in 10 Hz units
constexpr std::int64_t kRaster6k25 = 625;
constexpr std::int64_t kRaster25k = 2500;
constexpr std::int64_t kRaster8k33 = 833;

bool allDigits(std::string_view s)
{
    return std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::string zeroPadded(std::int64_t value, int width)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "%0*lld", width, static_cast<long long>(value));
    return buf;
}

// The stored offset in 10 Hz units; 0 unless it is exactly 7 digits (blank and "FFFFFFF"
// included).
std::int64_t offsetUnits(std::string_view storedOffset)
{
    const std::string s = cutAtZero(storedOffset);
    if (s.size() != 7 || !allDigits(s)) return 0;
    std::int64_t v = 0;
    for (char c : s) v = v * 10 + (c - '0');
    return v;
}

std::string storedOffsetText(std::int64_t magnitude)
{
    // Offsets of 100 MHz or more have no 7-digit form; hold them at the largest one.
    return zeroPadded(std::clamp<std::int64_t>(magnitude, 0, kMaxStoredOffset), 7);
}

std::string offsetSign(int shiftDir)
{
    if (shiftDir == 1) return "-";
    if (shiftDir == 2) return "+";
    return "";
}

bool hasDirection(int shiftDir)
{
    return shiftDir == 1 || shiftDir == 2;
}

// The displayed receive frequency in 10 Hz units, or nothing when there is none or the
// stored text is not a number.
std::optional<std::int64_t> rxUnits(std::string_view rxStored, const BandLimits& limits)
{
    const RxDisplay rx = rxStoredToDisplay(rxStored, limits);
    if (rx.text.empty() || rx.notNumeric) return std::nullopt;
    return parseTenHz(rx.text);
}

struct StepAndValue {
    std::int16_t step = 0;
    std::int64_t value = 0;
};

// Which channel raster a frequency lies on, counted from the lower limit: 5 kHz (step 0),
// 6.25 kHz (1) or 8.33 kHz (2, where the third step of each 25 kHz is raised by 10 Hz onto
// the 25 kHz mark). A frequency on none of them is snapped onto the 5 kHz raster.
// Remainders are taken toward zero, so a frequency below the lower limit moves up.
StepAndValue classifyRaster(std::int64_t value, std::int64_t lower, bool keeps1k25)
{
    if (keeps1k25 && hasQuarterKhzPart(value)) return {0, value};
    const std::int64_t o = value - lower;
    if (o % kRaster5k == 0) return {0, value};
    if (o % kRaster6k25 == 0) return {1, value};
    const std::int64_t in25k = o % kRaster25k;
    if (in25k % kRaster8k33 == 0) return {2, in25k / kRaster8k33 == 3 ? value + 1 : value};
    return {0, value - o % kRaster5k};
}

}  // namespace

std::string formatMhz(std::int64_t tenHz)
{
    const bool negative = tenHz < 0;
    // Work on the magnitude as unsigned so the most negative value is safe too.
    const std::uint64_t m =
        negative ? 0 - static_cast<std::uint64_t>(tenHz) : static_cast<std::uint64_t>(tenHz);
    char buf[40];
    std::snprintf(buf, sizeof buf, "%s%llu.%05llu", negative ? "-" : "",
                  static_cast<unsigned long long>(m / kTenHzPerMhz),
                  static_cast<unsigned long long>(m % kTenHzPerMhz));
    return buf;
}

std::optional<std::int64_t> parseTenHz(std::string_view text)
{
    const auto scaled = parseScaledDecimal(text, 5);
    if (!scaled) return std::nullopt;
    return scaled->rounded();
}

std::int64_t mhzToTenHz(double mhz)
{
    if (!std::isfinite(mhz)) return 0;
    return parseTenHz(numberText(mhz)).value_or(0);
}

std::string numberText(double value)
{
    if (!std::isfinite(value)) return "0";
    // The shortest decimal that reads back as the same double, without an exponent.
    char buf[400];
    const auto result = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed);
    if (result.ec != std::errc()) return "0";
    return std::string(buf, result.ptr);
}

RxDisplay rxStoredToDisplay(std::string_view stored, const BandLimits& limits)
{
    const std::string s = cutAtZero(stored);
    if (s.empty() || s == "FFFFFFFF") return {};
    // Three integer digits, then the decimals.
    const std::size_t split = std::min<std::size_t>(3, s.size());
    const std::string withPoint = s.substr(0, split) + "." + s.substr(split);
    const auto value = isNumeric(s) ? parseTenHz(withPoint) : std::nullopt;
    if (!value) return {numberText(limits.lo), true};
    return {formatMhz(*value), false};
}

std::string rxDisplayToStored(std::string_view displayed, const BandLimits& limits)
{
    if (displayed.empty()) return "";
    std::string t(displayed);
    if (!isNumeric(t)) t = numberText(limits.lo);

    // A plain decimal with at most three integer digits is converted digit by digit:
    // the point is brought to the fourth place and removed, decimals beyond the fifth are cut.
    const std::size_t point = t.find('.');
    const std::size_t integerDigits = point == std::string::npos ? t.size() : point;
    const bool plain = t.find_first_not_of("0123456789.") == std::string::npos;
    if (plain && integerDigits <= 3) {
        std::string digits;
        if (point != std::string::npos) {
            const std::string padded = std::string(3 - integerDigits, '0') + t;
            digits = padded.substr(0, 3) + padded.substr(4);
        } else {
            digits = t;
        }
        if (digits.size() > 8) digits.resize(8);
        if (digits.size() < 3) digits.insert(0, 3 - digits.size(), '0');
        digits.append(8 - digits.size(), '0');
        return digits;
    }

    // Any other numeric form (sign, exponent, spaces, more integer digits) goes by its value,
    // cut to 10 Hz like the digit form and held within what 8 digits can store.
    const auto scaled = parseScaledDecimal(t, 5);
    const std::int64_t units = scaled ? scaled->truncated() : 0;
    return zeroPadded(std::clamp<std::int64_t>(units, 0, kMaxStoredRx), 8);
}

std::string offsetDisplay(std::string_view storedOffset, int shiftDir)
{
    return offsetSign(shiftDir) + formatMhz(offsetUnits(storedOffset));
}

std::string txDisplay(std::string_view rxStored, std::string_view storedOffset, int shiftDir,
                      bool offsetMode, const BandLimits& limits, bool absoluteValue)
{
    const auto rx = rxUnits(rxStored, limits);
    if (!rx) return "";
    if (offsetMode) return offsetDisplay(storedOffset, shiftDir);
    if (!hasDirection(shiftDir)) return formatMhz(*rx);
    const std::int64_t offset = offsetUnits(storedOffset);
    std::int64_t tx = shiftDir == 1 ? *rx - offset : *rx + offset;
    if (absoluteValue) tx = std::abs(tx);
    return formatMhz(tx);
}

OffsetResult offsetFromEntered(std::string_view rxStored, std::string_view entered, bool offsetMode,
                               std::string_view storedOffset, int /*shiftDir*/,
                               const BandLimits& limits)
{
    const std::int64_t present = offsetUnits(storedOffset);
    const auto rx = rxUnits(rxStored, limits);
    const auto value = parseTenHz(entered);
    if (!rx || !value) return {0, storedOffsetText(present)};

    if (offsetMode) {
        const std::size_t first = entered.find_first_not_of(" \t");
        std::uint8_t dir = 0;
        if (entered[first] == '-') dir = 1;
        if (entered[first] == '+') dir = 2;
        return {dir, storedOffsetText(std::abs(*value))};
    }

    // The entry is a transmit frequency: the offset is its distance from the receive one.
    const std::int64_t d = *value - *rx;
    if (d > 0) return {2, storedOffsetText(d)};
    if (d < 0) return {1, storedOffsetText(-d)};
    return {0, storedOffsetText(present)};
}

ValidatedFrequency validateEnteredFrequency(std::string_view text, int currentGroup,
                                            const BandLimits& limits)
{
    const std::int64_t lower = mhzToTenHz(limits.lo);
    const std::int64_t upper = mhzToTenHz(limits.hi);
    const auto scaled = parseScaledDecimal(text, 5);
    // Limits are compared with the exact typed value, before any rounding.
    if (!scaled || scaled->compare(lower) < 0)
        return {formatMhz(lower), text::msg::FrequencyOutOfBand};
    if (scaled->compare(upper) > 0) return {formatMhz(upper), text::msg::FrequencyOutOfBand};

    std::int64_t d = scaled->rounded();
    const std::int64_t r = (d - lower) % kRaster5k;
    // Group 6 may hold frequencies with a 1.25 kHz part (10 Hz count ending in 125).
    const bool keeps1k25 = currentGroup == 6 && hasQuarterKhzPart(d);
    if (r != 0 && !keeps1k25) d -= r;
    return {formatMhz(d), 0};
}

RasterResult rasterCheck(std::string_view rxStored, std::string_view storedOffset, int shiftDir,
                         const BandLimits& limits, bool keeps1k25)
{
    RasterResult result;
    result.rxStored = std::string(rxStored);
    result.shiftDir = static_cast<std::uint8_t>(shiftDir);
    result.storedOffset = std::string(storedOffset);
    const auto rx = rxUnits(rxStored, limits);
    if (!rx) return result;  // no receive frequency: nothing to check

    const std::int64_t lower = mhzToTenHz(limits.lo);
    const StepAndValue receive = classifyRaster(*rx, lower, keeps1k25);
    result.rxStep = receive.step;
    result.rxStored = rxDisplayToStored(formatMhz(receive.value), limits);

    // A channel without a direction transmits on its receive frequency.
    if (!hasDirection(shiftDir)) {
        result.txStep = result.rxStep;
        return result;
    }

    const std::int64_t offset = offsetUnits(storedOffset);
    const std::int64_t tx =
        std::abs(shiftDir == 1 ? receive.value - offset : receive.value + offset);
    const StepAndValue transmit = classifyRaster(tx, lower, keeps1k25);
    result.txStep = transmit.step;

    const OffsetResult o = offsetFromEntered(result.rxStored, formatMhz(transmit.value), false,
                                             storedOffset, shiftDir, limits);
    result.shiftDir = o.shiftDir;
    result.storedOffset = o.storedOffset;
    return result;
}

}  // namespace zt
