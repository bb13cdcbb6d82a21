#include "core/edit/dtmf_rules.h"

#include <algorithm>
#include <cmath>

#include "core/edit/option_rules.h"
#include "core/radio/fixed_text.h"
#include "core/values/number_text.h"

namespace zt {
namespace {

TimingList numbers(int first, int last, int step, int unit)
{
    TimingList list;
    list.unit = unit;
    for (int v = first; v <= last; v += step) list.entries.push_back(std::to_string(v));
    return list;
}

void resetIf(std::int16_t& field, int n)
{
    if (field == n) field = 0;
}

}  // namespace

TimingList rateList()
{
    return numbers(10, 500, 10, 10);
}
TimingList firstDigitTimeList()
{
    return numbers(0, 1000, 100, 50);
}
TimingList firstDigitDelayList()
{
    return numbers(100, 2500, 100, 50);
}
TimingList starHashTimeList()
{
    return {{"0", "100", "500", "1000"}, 50};
}

int timingIndexOf(const TimingList& list, int stored)
{
    const std::string text = std::to_string(static_cast<long long>(stored) * list.unit);
    const auto it = std::find(list.entries.begin(), list.entries.end(), text);
    return it == list.entries.end() ? 0 : static_cast<int>(it - list.entries.begin());
}

std::optional<std::int16_t> timingValueOf(const TimingList& list, int index)
{
    if (index < 0 || index >= static_cast<int>(list.entries.size())) return std::nullopt;
    const auto n = parseNumber(list.entries[static_cast<std::size_t>(index)]);
    if (!n) return std::nullopt;
    return static_cast<std::int16_t>(std::nearbyint(*n / list.unit));
}

std::optional<char> dtmfCodeKey(char typed)
{
    if ((typed >= '0' && typed <= '9') || typed == '*' || typed == '#') return typed;
    if (typed >= 'A' && typed <= 'D') return typed;
    if (typed >= 'a' && typed <= 'd') return static_cast<char>(typed - 'a' + 'A');
    return std::nullopt;
}

std::string dtmfCodeText(const DtmfCode& code)
{
    const int length = code.Length > kDtmfCodeChars || code.Length < 0 ? 0 : code.Length;
    return cutAtZero(code.Digits.raw().substr(0, static_cast<std::size_t>(length)));
}

void storeDtmfCode(DtmfCode& code, std::string_view text)
{
    std::string cut = cutAtZero(text);
    if (cut.size() > kDtmfCodeChars) cut.resize(kDtmfCodeChars);
    code.Length = static_cast<std::int16_t>(cut.size());
    code.Digits = cut;
}

std::string idCodeText(const DtmfSettings& dtmf)
{
    int length = dtmf.IdCodeLength;
    if (length > kIdCodeChars || length < 3) length = 3;
    return dtmf.IdCode.raw().substr(0, static_cast<std::size_t>(length));
}

std::string validateIdCode(DtmfSettings& dtmf, std::string_view text)
{
    std::string id(text);
    const bool digits = !id.empty() && std::all_of(id.begin(), id.end(),
                                                   [](char c) { return c >= '0' && c <= '9'; });
    if (id.size() > kIdCodeChars || id.size() < 3 || !digits) id = "000";
    dtmf.IdCodeLength = static_cast<std::int16_t>(id.size());
    dtmf.IdCode = id;
    return id;
}

void resetDtmfCodeReferences(RadioDocument& doc, int n)
{
    const int count = std::clamp<int>(doc.Data.ChannelCount, 0, kMaxChannels);
    for (int i = 0; i < count; ++i) {
        ChannelRecord& rec = doc.Channels[static_cast<std::size_t>(i)];
        resetIf(rec.BotCode, n);
        resetIf(rec.EotCode, n);
        resetIf(rec.CallCode, n);
    }
    ChannelRecord& common = doc.Data.Options.Common;
    resetIf(common.BotCode, n);
    resetIf(common.EotCode, n);
    resetIf(common.CallCode, n);
}

bool changeMemoryCode(RadioDocument& doc, int n, std::string_view text)
{
    if (n < 1 || n > kDtmfMemoryCodes) return false;
    DtmfCode& code = doc.Data.Dtmf.Memory[static_cast<std::size_t>(n - 1)];
    storeDtmfCode(code, text);
    if (code.Length > 0) return false;
    resetDtmfCodeReferences(doc, n);
    return true;
}

std::vector<std::string> dtmfCodeListEntries(const DtmfSettings& dtmf, const std::string& none)
{
    std::vector<std::string> out{none};
    for (int n : nonEmptyDtmfCodes(dtmf)) out.push_back(std::to_string(n));
    return out;
}

}  // namespace zt
