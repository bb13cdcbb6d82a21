#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/radio/radio_data.h"

namespace zt {

// A DTMF timing list: its entry texts (numbers in ms) and the unit the
// field counts in (10 or 50 ms).
struct TimingList {
    std::vector<std::string> entries;
    int unit = 1;
};
// Digit time 10..500 (unit 10), first-digit time 0..1000 by 100 (unit 50),
// first-digit delay 100..2500 by 100 (unit 50), * and # time 0/100/500/1000
// (unit 50).
TimingList rateList();
TimingList firstDigitTimeList();
TimingList firstDigitDelayList();
TimingList starHashTimeList();

// The entry showing a stored timing value: the one whose text equals
// value x unit; entry 0 when none does.
int timingIndexOf(const TimingList& list, int stored);
// The field value of a selected entry: its number / unit, rounded to the
// nearest integer (halves to even). Nothing for an entry that is no number.
std::optional<std::int16_t> timingValueOf(const TimingList& list, int index);

// A key typed into a DTMF code box: 0-9, *, # and A-D as typed, a-d as
// A-D; nothing (refused) for every other printable character.
std::optional<char> dtmfCodeKey(char typed);
constexpr int kDtmfCodeChars = 16;
constexpr int kIdCodeChars = 10;

// The text a code box shows: a length above 16 (or below 0) counts as 0; the
// first Length characters of Digits, cut before a NUL.
std::string dtmfCodeText(const DtmfCode& code);
// Stores a code box's text: cut trailing spaces and at the first NUL; its
// length and the text padded to 16 characters.
void storeDtmfCode(DtmfCode& code, std::string_view text);

// The ID box: a stored length outside 3..10 counts as 3; the box shows that
// many characters of IdCode.
std::string idCodeText(const DtmfSettings& dtmf);
// Validation when the box is left: a text of more than 10 or fewer than 3
// characters, or one that is not all digits, becomes "000". Returns the
// text the box shows afterwards; the length and code are stored.
std::string validateIdCode(DtmfSettings& dtmf, std::string_view text);

// A memory code's text changed (box Mn, n = 1..16): stores it, and when it is
// now empty resets every reference to code n (BOT, EOT and call code of every
// valid channel, then of the option settings) to 0. Returns true when
// references were looked at (the code became empty).
bool changeMemoryCode(RadioDocument& doc, int n, std::string_view text);
// The reset alone: every BOT/EOT/call field holding exactly n becomes 0.
void resetDtmfCodeReferences(RadioDocument& doc, int n);

// The entries of a list of code numbers: the none entry (given) and then the
// numbers of the non-empty memory codes, ascending.
std::vector<std::string> dtmfCodeListEntries(const DtmfSettings& dtmf, const std::string& none);

}  // namespace zt
