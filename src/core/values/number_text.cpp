#include "core/values/number_text.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <string>

namespace zt {
namespace {

std::string_view trimSpaces(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

}  // namespace

bool isNumeric(std::string_view text)
{
    std::string_view s = trimSpaces(text);
    std::size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    std::size_t digits = 0;
    while (i < s.size() && isDigit(s[i])) ++i, ++digits;
    if (i < s.size() && s[i] == '.') {
        ++i;
        while (i < s.size() && isDigit(s[i])) ++i, ++digits;
    }
    if (digits == 0) return false;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
        std::size_t expDigits = 0;
        while (i < s.size() && isDigit(s[i])) ++i, ++expDigits;
        if (expDigits == 0) return false;
    }
    return i == s.size();
}

std::optional<double> parseNumber(std::string_view text)
{
    if (!isNumeric(text)) return std::nullopt;
    std::string_view s = trimSpaces(text);
    if (!s.empty() && s.front() == '+') s.remove_prefix(1);
    double value = 0.0;
    const auto result = std::from_chars(s.data(), s.data() + s.size(), value);
    if (result.ec != std::errc()) return std::nullopt;
    return value;
}

}  // namespace zt

namespace zt {

std::int64_t ScaledDecimal::rounded() const
{
    std::int64_t w = whole;
    if (fraction && w < kLimit && (halfCompare > 0 || (halfCompare == 0 && w % 2 != 0))) ++w;
    return negative ? -w : w;
}

std::int64_t ScaledDecimal::truncated() const
{
    return negative ? -whole : whole;
}

int ScaledDecimal::compare(std::int64_t n) const
{
    // Compare the magnitude whole+fraction with m, then apply the sign.
    auto compareMagnitude = [this](std::int64_t m) {
        if (whole < m) return -1;
        if (whole > m) return 1;
        return fraction ? 1 : 0;
    };
    if (!negative) return n < 0 ? 1 : compareMagnitude(n);
    if (n > 0) return -1;
    if (n < -kLimit) return 1;  // also keeps -n from overflowing
    return -compareMagnitude(-n);
}

std::optional<ScaledDecimal> parseScaledDecimal(std::string_view text, int decimals)
{
    if (!isNumeric(text) || decimals < 0 || decimals > 18) return std::nullopt;
    std::string_view s = trimSpaces(text);
    ScaledDecimal result;
    std::size_t i = 0;
    if (s[i] == '+' || s[i] == '-') result.negative = s[i++] == '-';

    // Collect the mantissa digits and the power of ten of the last one.
    std::string digits;
    long exponent = 0;
    while (i < s.size() && isDigit(s[i])) digits += s[i++];
    if (i < s.size() && s[i] == '.') {
        ++i;
        while (i < s.size() && isDigit(s[i])) digits += s[i++], --exponent;
    }
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        bool negativeExp = false;
        if (s[i] == '+' || s[i] == '-') negativeExp = s[i++] == '-';
        long e = 0;
        while (i < s.size()) {
            if (e < 100000) e = e * 10 + (s[i] - '0');
            ++i;
        }
        exponent += negativeExp ? -e : e;
    }
    exponent += decimals;

    const std::size_t firstNonZero = digits.find_first_not_of('0');
    if (firstNonZero == std::string::npos) {
        result.negative = false;  // "-0" is zero
        return result;
    }
    digits.erase(0, firstNonZero);

    // Split into whole digits and the digits below one unit.
    std::string wholeDigits;
    std::string fractionDigits;
    if (exponent >= 0) {
        if (static_cast<long>(digits.size()) + exponent > 18) {
            result.whole = ScaledDecimal::kLimit;
            result.saturated = true;
            return result;
        }
        wholeDigits = digits + std::string(static_cast<std::size_t>(exponent), '0');
    } else {
        const auto below = static_cast<std::size_t>(-exponent);
        if (below >= digits.size()) {
            // Leading zeros only matter up to the first one: it puts the rest below one half.
            fractionDigits = std::string(std::min<std::size_t>(below - digits.size(), 2), '0');
            fractionDigits += digits;
        } else {
            wholeDigits = digits.substr(0, digits.size() - below);
            fractionDigits = digits.substr(digits.size() - below);
        }
        if (wholeDigits.size() > 18) {
            result.whole = ScaledDecimal::kLimit;
            result.saturated = true;
            return result;
        }
    }
    for (char c : wholeDigits) result.whole = result.whole * 10 + (c - '0');

    const std::size_t nonZero = fractionDigits.find_first_not_of('0');
    if (nonZero != std::string::npos) {
        result.fraction = true;
        if (fractionDigits[0] != '5') {
            result.halfCompare = fractionDigits[0] > '5' ? 1 : -1;
        } else {
            result.halfCompare =
                fractionDigits.find_first_not_of('0', 1) == std::string::npos ? 0 : 1;
        }
    }
    return result;
}

std::optional<std::int32_t> parseInt32Rounded(std::string_view text)
{
    const auto scaled = parseScaledDecimal(text, 0);
    if (!scaled || scaled->saturated) return std::nullopt;
    const std::int64_t v = scaled->rounded();
    if (v < INT32_MIN || v > INT32_MAX) return std::nullopt;
    return static_cast<std::int32_t>(v);
}

}  // namespace zt
