#include "core/edit/channel_cell_rules.h"

#include <algorithm>
#include <cctype>

#include "core/edit/channel_grid_rules.h"
#include "core/radio/channel_codec.h"
#include "core/values/frequency.h"
#include "core/values/number_text.h"
#include "core/values/tones.h"

namespace zt {
namespace {

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front())))
        text.remove_prefix(1);
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back())))
        text.remove_suffix(1);
    return text;
}

bool sameIgnoringCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

bool onlyTypeable(std::string_view text, bool signedOffset)
{
    return std::all_of(text.begin(), text.end(), [&](char c) {
        return frequencyCharAccepted(static_cast<unsigned char>(c), signedOffset);
    });
}

int listIndexOf(const std::vector<std::string>& entries, std::string_view text, bool toneColumn)
{
    for (std::size_t i = 0; i < entries.size(); ++i)
        if (sameIgnoringCase(trimmed(entries[i]), text)) return static_cast<int>(i);
    if (!toneColumn) return -1;
    // The tone list's own texts ("OFF", "D023N") and a CTCSS tone by its number, which a
    // spreadsheet may have shortened ("67" for "67.0").
    for (int i = 0; i < kToneCount; ++i)
        if (sameIgnoringCase(toneText(i), text)) return i;
    if (const auto tenths = parseScaledDecimal(text, 1); tenths && !tenths->fraction) {
        const std::int64_t value = tenths->negative ? -tenths->whole : tenths->whole;
        for (int k = 0; k < kCtcssCount; ++k)
            if (kCtcssTenthsHz[static_cast<std::size_t>(k)] == value) return kFirstCtcssIndex + k;
    }
    return -1;
}

CellEntry refused(CellRefusal why)
{
    CellEntry e;
    e.refusal = why;
    return e;
}

}  // namespace

bool frequencyCharAccepted(char32_t c, bool signedOffset)
{
    if ((c >= U'0' && c <= U'9') || c == U'.') return true;
    return signedOffset && (c == U'+' || c == U'-');
}

char channelCodeChar(char32_t c)
{
    if (c >= U'a' && c <= U'z') return static_cast<char>(c - U'a' + U'A');
    if ((c >= U'A' && c <= U'Z') || (c >= U'0' && c <= U'9')) return static_cast<char>(c);
    return 0;
}

bool transmitEntryAccepted(std::string_view text)
{
    return isNumeric(text);
}

CellEntry checkPastedCell(const RadioData& data, const BandLimits& limits, const CellTarget& target,
                          std::string_view text)
{
    const std::string_view value = trimmed(text);
    const int col = target.column;
    CellEntry entry;
    entry.value = std::string(value);
    if (value == trimmed(target.shown)) {
        entry.skip = true;
        return entry;
    }

    if (col == kColRx || col == kColTx) {
        if (value.empty() && (col == kColTx || !target.channelPresent)) {
            entry.skip = true;
            return entry;
        }
        if (!frequencyEditPermitted(data, target.group))
            return refused(CellRefusal::FixedFrequency);
        if (col == kColTx) {
            if (!target.channelPresent) return refused(CellRefusal::NoChannel);
            if (!onlyTypeable(value, true) || !transmitEntryAccepted(value))
                return refused(CellRefusal::NotOffset);
            return entry;
        }
        if (value.empty()) return entry;  // clearing the frequency deletes the channel
        const auto scaled = parseScaledDecimal(value, 5);
        if (!onlyTypeable(value, false) || !scaled || scaled->saturated)
            return refused(CellRefusal::NotFrequency);
        const std::int64_t tenHz = scaled->rounded();
        if (tenHz < mhzToTenHz(limits.lo) || tenHz > mhzToTenHz(limits.hi))
            return refused(CellRefusal::OutsideBand);
        // Typing snaps a frequency onto the raster; a pasted one is taken only as written.
        const std::string exact = formatMhz(tenHz);
        if (scaled->fraction || validateEnteredFrequency(exact, target.group, limits).text != exact)
            return refused(CellRefusal::OffRaster);
        return entry;
    }

    if (value.empty()) {
        entry.skip = true;
        return entry;
    }
    if (col == kColRow || col == kColEditor) {
        // Row numbers and the editor column are the grid's own; a block copied with them
        // pastes its values only.
        entry.skip = true;
        return entry;
    }
    if (!target.listEntries || target.listEntries->empty()) return refused(CellRefusal::NoField);
    if (!target.channelPresent) return refused(CellRefusal::NoChannel);
    const int index =
        listIndexOf(*target.listEntries, value, col == kColDecode || col == kColEncode);
    if (index < 0) return refused(CellRefusal::NotInList);
    entry.value = std::to_string(index);
    return entry;
}

bool transmitEntryOnRaster(const ChannelRecord& rec, std::string_view text,
                           const BandLimits& limits, bool keeps1k25)
{
    const std::string_view value = trimmed(text);
    if (const auto scaled = parseScaledDecimal(value, 5); scaled && scaled->fraction) return false;
    const std::string rx = channelFrequencyText(rec.RxFre);
    const RxDisplay shown = rxStoredToDisplay(rx, limits);
    if (shown.text.empty() || shown.notNumeric) return true;
    const OffsetResult entered =
        offsetFromEntered(rx, value, true, rec.OffsetFre.cut(), rec.ShiftDir, limits);
    const RasterResult r =
        rasterCheck(rx, entered.storedOffset, entered.shiftDir, limits, keeps1k25);
    return r.storedOffset == entered.storedOffset && r.shiftDir == entered.shiftDir;
}

}  // namespace zt
