#include "core/interop/document_compare.h"

#include <algorithm>
#include <cstdio>
#include <map>

#include "core/edit/channel_grid_rules.h"
#include "core/interop/channel_report.h"
#include "core/text_ids.h"
#include "core/values/frequency.h"
#include "core/values/tones.h"

namespace zt {

namespace {

namespace w = text::others;

constexpr const char* kArrow = " \xE2\x86\x92 ";  // " → "

using Fields = std::vector<FieldDifference>;

Phrase word(int id, std::vector<Phrase> args = {})
{
    return Phrase::word(id, std::move(args));
}

std::string number(int v)
{
    return std::to_string(v);
}

Phrase numberPhrase(int v)
{
    return number(v);
}

Phrase onOff(int v)
{
    return v == 0 ? word(w::CmpOff) : (v == 1 ? word(w::CmpOn) : number(v));
}

Phrase offOrNumber(int v)
{
    return v == 0 ? word(w::CmpOff) : number(v);
}

std::string quoted(const std::string& recordText)
{
    return "\"" + recordTextToUtf8(recordText) + "\"";
}

template <std::size_t N>
std::string quotedText(const FixedText<N>& t)
{
    return quoted(t.cut());
}

// A tone index in the words of the tone lists: "Off", "CTCSS 67.0", "DCS D023N".
Phrase toneWords(int index)
{
    if (index == 0) return word(w::CmpOff);
    const std::string t = toneText(index);
    if (t.empty()) return word(w::CmpUnknownTone, {number(index)});
    return (index < kFirstDcsNormalIndex ? "CTCSS " : "DCS ") + t;
}

Phrase modeWords(int amFm)
{
    return amFm == 0 ? "AM" : (amFm == 1 ? "FM" : number(amFm));
}

Phrase spacingWords(int spacing)
{
    switch (spacing) {
        case 0:
            return word(w::CmpWide);
        case 1:
            return word(w::CmpMedium);
        case 2:
            return word(w::CmpNarrow);
        default:
            return number(spacing);
    }
}

Phrase busyLockWords(int v)
{
    switch (v) {
        case 0:
            return word(w::CmpOff);
        case 1:
            return word(w::CmpCarrier);
        case 2:
            return word(w::CmpToneLock);
        default:
            return number(v);
    }
}

Phrase shiftWords(int dir)
{
    switch (dir) {
        case 0:
            return word(w::CmpNone);
        case 1:
            return word(w::CmpMinus);
        case 2:
            return word(w::CmpPlus);
        default:
            return number(dir);
    }
}

// A stored frequency text as the grid shows it; "none" for a blank one, the stored text
// after "?" when it is no number (the display rule would put a real-looking limit there).
Phrase receiveWords(const FixedText<8>& stored, const BandLimits& limits)
{
    const std::string cut = stored.cut();
    if (cut.empty() || cut == "FFFFFFFF") return word(w::CmpNone);
    const RxDisplay shown = rxStoredToDisplay(cut, limits);
    if (shown.notNumeric) return "?" + recordTextToUtf8(cut);
    return shown.text;
}

Phrase offsetWords(const FixedText<7>& stored)
{
    const std::string cut = stored.cut();
    if (cut.empty() || cut == "FFFFFFF") return word(w::CmpNone);
    if (!parseTenHz(cut)) return "?" + recordTextToUtf8(cut);
    return offsetDisplay(cut, 0);
}

template <class Record, class T, class Format>
void field(Fields& out, const Record& a, const Record& b, T Record::*member, int label,
           Format format)
{
    if (a.*member != b.*member) out.push_back({word(label), format(a.*member), format(b.*member)});
}

Fields channelFields(const ChannelRecord& a, const ChannelRecord& b, const BandLimits& limits)
{
    Fields out;
    const auto rx = [&](const FixedText<8>& t) { return receiveWords(t, limits); };
    field(out, a, b, &ChannelRecord::RxFre, w::CmpReceive, rx);
    field(out, a, b, &ChannelRecord::ShiftDir, w::CmpShift, shiftWords);
    field(out, a, b, &ChannelRecord::OffsetFre, w::CmpOffset, offsetWords);
    field(out, a, b, &ChannelRecord::DecodeTone, w::CmpReceiveTone, toneWords);
    field(out, a, b, &ChannelRecord::EncodeTone, w::CmpTransmitTone, toneWords);
    field(out, a, b, &ChannelRecord::AmFm, w::CmpMode, modeWords);
    field(out, a, b, &ChannelRecord::Spacing, w::CmpSpacing, spacingWords);
    field(out, a, b, &ChannelRecord::ScanSkip, w::CmpScanSkip, onOff);
    field(out, a, b, &ChannelRecord::TxInhibit, w::CmpTransmitInhibit, onOff);
    field(out, a, b, &ChannelRecord::FmPower, w::CmpFmPower, numberPhrase);
    field(out, a, b, &ChannelRecord::FmPowerLock, w::CmpFmPowerLock, onOff);
    field(out, a, b, &ChannelRecord::AmPower, w::CmpAmPower, numberPhrase);
    field(out, a, b, &ChannelRecord::AmPowerLock, w::CmpAmPowerLock, onOff);
    field(out, a, b, &ChannelRecord::AmFmLock, w::CmpAmFmLock, onOff);
    field(out, a, b, &ChannelRecord::BusyChannelLock, w::CmpBusyChannelLock, busyLockWords);
    field(out, a, b, &ChannelRecord::SquelchMode, w::CmpSquelchMode, numberPhrase);
    field(out, a, b, &ChannelRecord::Tsq, w::CmpToneSquelch, onOff);
    field(out, a, b, &ChannelRecord::RBTone, w::CmpRbTone, offOrNumber);
    field(out, a, b, &ChannelRecord::BotCode, w::CmpDtmfCodeAtStart, offOrNumber);
    field(out, a, b, &ChannelRecord::EotCode, w::CmpDtmfCodeAtEnd, offOrNumber);
    field(out, a, b, &ChannelRecord::CallCode, w::CmpDtmfCallCode, offOrNumber);
    field(out, a, b, &ChannelRecord::RxExpand, w::CmpRxExpander, onOff);
    field(out, a, b, &ChannelRecord::TxCompress, w::CmpTxCompressor, onOff);
    field(out, a, b, &ChannelRecord::NbAnl, w::CmpNbAnl, onOff);
    field(out, a, b, &ChannelRecord::Attenuator, w::CmpAttenuator, onOff);
    field(out, a, b, &ChannelRecord::HiCut, w::CmpHiCut, onOff);
    field(out, a, b, &ChannelRecord::RevTalk, w::CmpReverseTalk, onOff);
    field(out, a, b, &ChannelRecord::Scramble, w::CmpScramble, numberPhrase);
    field(out, a, b, &ChannelRecord::Talkaround, w::CmpTalkaround, onOff);
    field(out, a, b, &ChannelRecord::SignalLogic, w::CmpSignalLogic, numberPhrase);
    field(out, a, b, &ChannelRecord::Whisper, w::CmpWhisper, onOff);
    field(out, a, b, &ChannelRecord::PttId, w::CmpPttId, numberPhrase);
    field(out, a, b, &ChannelRecord::OptSignal, w::CmpOptionalSignal, numberPhrase);
    field(out, a, b, &ChannelRecord::Compander, w::CmpCompander, onOff);
    field(out, a, b, &ChannelRecord::Reverse, w::CmpReverse, onOff);
    field(out, a, b, &ChannelRecord::Rep, w::CmpRepeater, onOff);
    field(out, a, b, &ChannelRecord::RxStep, w::CmpReceiveStep, numberPhrase);
    field(out, a, b, &ChannelRecord::TxStep, w::CmpTransmitStep, numberPhrase);
    field(out, a, b, &ChannelRecord::Empty, w::CmpEmptyMark, numberPhrase);
    return out;
}

// The valid channels of a document by channel number (the first of a repeated number).
std::map<int, const ChannelRecord*> channelsByNumber(const RadioDocument& doc)
{
    std::map<int, const ChannelRecord*> out;
    const int count = std::clamp<int>(doc.Data.ChannelCount, 0, kMaxChannels);
    for (int i = 0; i < count; ++i) {
        const ChannelRecord& rec = doc.Channels[static_cast<std::size_t>(i)];
        out.emplace(rec.ChNo, &rec);
    }
    return out;
}

class SettingsCollector {
  public:
    explicit SettingsCollector(std::vector<SettingDifference>& out) : out_(out) {}

    void add(SettingSection section, Phrase label, Phrase before, Phrase after)
    {
        if (before == after) return;
        out_.push_back({section, {std::move(label), std::move(before), std::move(after)}});
    }
    void addNumber(SettingSection section, Phrase label, int a, int b)
    {
        if (a != b) add(section, std::move(label), number(a), number(b));
    }
    void addOnOff(SettingSection section, Phrase label, int a, int b)
    {
        if (a != b) add(section, std::move(label), onOff(a), onOff(b));
    }

  private:
    std::vector<SettingDifference>& out_;
};

std::string dtmfCodeWords(const DtmfCode& code)
{
    const std::string digits = code.Digits.cut();
    const int n = std::clamp<int>(code.Length, 0, static_cast<int>(digits.size()));
    return quoted(digits.substr(0, static_cast<std::size_t>(n)));
}

// A code whose stored form differs while it sends the same digits: shown whole.
Phrase storedCode(const std::string& quotedDigits, int length)
{
    return word(w::CmpStoredLength, {quotedDigits, number(length)});
}

void compareDtmfCode(SettingsCollector& c, const Phrase& label, const DtmfCode& a,
                     const DtmfCode& b)
{
    if (a == b) return;
    Phrase before = dtmfCodeWords(a);
    Phrase after = dtmfCodeWords(b);
    if (before == after) {
        before = storedCode(quotedText(a.Digits), a.Length);
        after = storedCode(quotedText(b.Digits), b.Length);
    }
    c.add(SettingSection::Dtmf, label, before, after);
}

void compareOptions(SettingsCollector& c, const RadioData& da, const RadioData& db,
                    const BandLimits& limits)
{
    constexpr auto S = SettingSection::Settings;
    c.add(S, word(w::CmpModel), quotedText(da.ModelName), quotedText(db.ModelName));
    c.addNumber(S, word(w::CmpBandCode), da.BandCode, db.BandCode);
    const OptionSettings& a = da.Options;
    const OptionSettings& b = db.Options;
    c.addNumber(S, word(w::CmpTimeOutTimer), a.TimeOutTimer, b.TimeOutTimer);
    c.addNumber(S, word(w::CmpCurrentGroup), a.CurrentGroup, b.CurrentGroup);
    c.addNumber(S, word(w::CmpDisplayMode), a.DisplayMode, b.DisplayMode);
    c.addNumber(S, word(w::CmpBacklightColour), a.BacklightColor, b.BacklightColor);
    c.addNumber(S, word(w::CmpScanMode), a.ScanMode, b.ScanMode);
    c.addNumber(S, word(w::CmpScanResumeTime), a.ScanResumeTime, b.ScanResumeTime);
    c.addOnOff(S, word(w::CmpKeyBeep), a.Beep, b.Beep);
    c.addOnOff(S, word(w::CmpPublicInForce), a.PublicData, b.PublicData);
    c.addNumber(S, word(w::CmpPttIdPause), a.PttIdPause, b.PttIdPause);
    for (int g = 0; g < kNamedGroups; ++g) {
        for (int k = 0; k < 2; ++k) {
            const std::vector<Phrase> n = {number(k + 1), number(g)};
            c.addNumber(S, word(w::CmpEmergencyChannel, n), a.EmergencyRows[g][k],
                        b.EmergencyRows[g][k]);
            c.addNumber(S, word(w::CmpAmFmEntry, n), a.GroupAmFm[g][k], b.GroupAmFm[g][k]);
        }
    }
    c.addNumber(S, word(w::CmpResetGroupE), a.ResetGroupE, b.ResetGroupE);
    c.addNumber(S, word(w::CmpResetChannelE), a.ResetChannelE, b.ResetChannelE);
    c.addNumber(S, word(w::CmpResetGroupNormal), a.ResetGroupNormal, b.ResetGroupNormal);
    c.addNumber(S, word(w::CmpResetChannelNormal), a.ResetChannelNormal, b.ResetChannelNormal);
    c.addNumber(S, word(w::CmpResetGroupExtended), a.ResetGroupExtended, b.ResetGroupExtended);
    c.addNumber(S, word(w::CmpResetChannelExtended), a.ResetChannelExtended,
                b.ResetChannelExtended);
    // The public settings live in the common channel.
    if (!(a.Common == b.Common)) {
        const Fields common = channelFields(a.Common, b.Common, limits);
        for (const FieldDifference& f : common)
            c.add(S, word(w::CmpPublicField, {f.field}), f.before, f.after);
    }
    c.addNumber(S, word(w::CmpSquelchLevel), a.SquelchLevel, b.SquelchLevel);
    c.addOnOff(S, word(w::CmpVoicePrompt), a.VoicePrompt, b.VoicePrompt);
    c.addNumber(S, word(w::CmpVoiceVolume), a.VoiceVolume, b.VoiceVolume);
    c.addOnOff(S, word(w::CmpTailElimination), a.TailElimination, b.TailElimination);
    c.addNumber(S, word(w::CmpBatterySave), a.BatterySave, b.BatterySave);
    c.addOnOff(S, word(w::CmpVox), a.Vox, b.Vox);
    c.addNumber(S, word(w::CmpVoxTone), a.VoxTone, b.VoxTone);
    c.addOnOff(S, word(w::CmpChannelLock), a.ChannelLock, b.ChannelLock);
    c.addNumber(S, word(w::CmpGroupSelect), a.GroupSelect, b.GroupSelect);
    c.addNumber(S, word(w::CmpTotPreAlert), a.TotPreAlert, b.TotPreAlert);
    c.addOnOff(S, word(w::CmpCableClone), a.CableClone, b.CableClone);
    c.addOnOff(S, word(w::CmpNoSignalTail), a.NoSignalTailElimination, b.NoSignalTailElimination);
    c.addOnOff(S, word(w::CmpFrequencyChangeable), a.FrequencyChangeable, b.FrequencyChangeable);
    c.addNumber(S, word(w::CmpTotRekey), a.TotRekey, b.TotRekey);
    c.addNumber(S, word(w::CmpTotReset), a.TotReset, b.TotReset);
    c.addNumber(S, word(w::CmpVoxLevel), a.VoxLevel, b.VoxLevel);
    c.addNumber(S, word(w::CmpVoxDelay), a.VoxDelay, b.VoxDelay);

    // Records the program carries from file to file without showing them.
    for (std::size_t i = 0; i < da.RadioFre.size(); ++i) {
        const std::vector<Phrase> n = {number(static_cast<int>(i) + 1)};
        c.addNumber(S, word(w::CmpBroadcastEntry, n), da.RadioFre[i].Value, db.RadioFre[i].Value);
        c.add(S, word(w::CmpBroadcastFrequency, n), quotedText(da.RadioFre[i].Frequency),
              quotedText(db.RadioFre[i].Frequency));
    }
    for (std::size_t i = 0; i < da.TestFre.size(); ++i) {
        const std::vector<Phrase> n = {number(static_cast<int>(i) + 1)};
        c.add(S, word(w::CmpTestReceive, n), quotedText(da.TestFre[i].Rx),
              quotedText(db.TestFre[i].Rx));
        c.add(S, word(w::CmpTestTransmit, n), quotedText(da.TestFre[i].Tx),
              quotedText(db.TestFre[i].Tx));
    }
    for (std::size_t i = 0; i < da.Keys.Values.size(); ++i)
        c.addNumber(S, word(w::CmpKeySetting, {number(static_cast<int>(i) + 1)}), da.Keys.Values[i],
                    db.Keys.Values[i]);
    for (std::size_t i = 0; i < da.Alerts.Values.size(); ++i)
        c.addNumber(S, word(w::CmpAlertSetting, {number(static_cast<int>(i) + 1)}),
                    da.Alerts.Values[i], db.Alerts.Values[i]);
    for (std::size_t i = 0; i < da.Scan.Values.size(); ++i)
        c.addNumber(S, word(w::CmpScanSetting, {number(static_cast<int>(i) + 1)}),
                    da.Scan.Values[i], db.Scan.Values[i]);
}

void compareDtmf(SettingsCollector& c, const DtmfSettings& a, const DtmfSettings& b)
{
    if (a == b) return;
    constexpr auto D = SettingSection::Dtmf;
    c.addNumber(D, word(w::CmpRate), a.Rate, b.Rate);
    c.addNumber(D, word(w::CmpFirstDigitTime), a.FirstDigitTime, b.FirstDigitTime);
    c.addNumber(D, word(w::CmpFirstDigitDelay), a.FirstDigitDelay, b.FirstDigitDelay);
    c.addNumber(D, word(w::CmpStarHashTime), a.StarHashTime, b.StarHashTime);
    c.addNumber(D, word(w::CmpDKey), a.DKey, b.DKey);
    c.addOnOff(D, word(w::CmpSideTone), a.SideTone, b.SideTone);
    c.addNumber(D, word(w::CmpCallAlert), a.CallAlert, b.CallAlert);
    c.addNumber(D, word(w::CmpGroupCode), a.GroupCode, b.GroupCode);
    c.addNumber(D, word(w::CmpAutoResetTimer), a.AutoResetTimer, b.AutoResetTimer);
    if (!(a.IdCode == b.IdCode) || a.IdCodeLength != b.IdCodeLength) {
        const auto id = [](const DtmfSettings& s) {
            return dtmfCodeWords(DtmfCode{s.IdCodeLength, FixedText<16>(s.IdCode.cut())});
        };
        c.add(D, word(w::CmpIdCode), id(a), id(b));
        if (id(a) == id(b))
            c.add(D, word(w::CmpIdCode), storedCode(quotedText(a.IdCode), a.IdCodeLength),
                  storedCode(quotedText(b.IdCode), b.IdCodeLength));
    }
    compareDtmfCode(c, word(w::CmpPttIdAtStart), a.PttIdBot, b.PttIdBot);
    compareDtmfCode(c, word(w::CmpPttIdAtEnd), a.PttIdEot, b.PttIdEot);
    compareDtmfCode(c, word(w::CmpStunCode), a.StunCode, b.StunCode);
    compareDtmfCode(c, word(w::CmpKillCode), a.KillCode, b.KillCode);
    for (int i = 0; i < kDtmfMemoryCodes; ++i)
        compareDtmfCode(c, word(w::CmpMemoryCode, {number(i + 1)}), a.Memory[i], b.Memory[i]);
}

void compareToneTips(SettingsCollector& c, const ToneTips& a, const ToneTips& b)
{
    constexpr auto T = SettingSection::ToneTips;
    for (int t = 0; t < kToneTipCount; ++t) {
        if (a[t] == b[t]) continue;
        const std::string tip = number(t + 1);
        for (int n = 0; n < kToneTipNotes; ++n) {
            const ToneTipNote& x = a[t].Notes[n];
            const ToneTipNote& y = b[t].Notes[n];
            if (x == y) continue;
            const auto note = [](const ToneTipNote& v) {
                return word(w::CmpNote, {number(v.Frequency), number(v.Duration)});
            };
            c.add(T, word(w::CmpToneTipNote, {tip, number(n + 1)}), note(x), note(y));
        }
        c.addNumber(T, word(w::CmpToneTipRepeat, {tip}), a[t].RepeatCount, b[t].RepeatCount);
        c.addNumber(T, word(w::CmpToneTipInterval, {tip}), a[t].Interval, b[t].Interval);
    }
}

void compareTexts(SettingsCollector& c, const RadioData& a, const RadioData& b)
{
    constexpr auto X = SettingSection::Texts;
    c.add(X, word(w::CmpPowerOnText), quotedText(a.Options.PowerOnText),
          quotedText(b.Options.PowerOnText));
    for (std::size_t i = 0; i < a.Messages.size(); ++i)
        c.add(X, word(w::CmpMessageLine, {number(static_cast<int>(i) + 1)}),
              quotedText(a.Messages[i]), quotedText(b.Messages[i]));
    for (int g = 0; g < kNamedGroups; ++g)
        c.add(X, word(w::CmpGroupName, {number(g)}), quotedText(a.Groups[g]),
              quotedText(b.Groups[g]));
}

// The English of every word, by text id.
const std::map<int, const char*>& englishWords()
{
    static const std::map<int, const char*> words = [] {
        std::map<int, const char*> m;
        for (const ComparisonWord& entry : comparisonWordList())
            m.emplace(entry.textId, entry.english);
        return m;
    }();
    return words;
}

void jsonString(std::string& out, const std::string& s)
{
    out += '"';
    for (char ch : s) {
        const auto b = static_cast<unsigned char>(ch);
        switch (ch) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (b < 0x20) {
                    char buf[8];
                    std::snprintf(buf, sizeof buf, "\\u%04x", b);
                    out += buf;
                } else {
                    out += ch;
                }
        }
    }
    out += '"';
}

// "field":..,"before":..,"after":.. in the English words: the JSON for scripts never
// follows the user's language.
void jsonFieldMembers(std::string& out, const FieldDifference& f)
{
    const ComparisonWords english;
    out += "\"field\":";
    jsonString(out, english(f.field));
    out += ",\"before\":";
    jsonString(out, english(f.before));
    out += ",\"after\":";
    jsonString(out, english(f.after));
}

const char* jsonSectionName(SettingSection section)
{
    switch (section) {
        case SettingSection::Settings:
            return "settings";
        case SettingSection::Dtmf:
            return "dtmf";
        case SettingSection::ToneTips:
            return "toneTips";
        case SettingSection::Texts:
            return "texts";
    }
    return "settings";
}

const char* kindName(ChannelChangeKind kind)
{
    switch (kind) {
        case ChannelChangeKind::Added:
            return "added";
        case ChannelChangeKind::Removed:
            return "removed";
        case ChannelChangeKind::Changed:
            return "changed";
    }
    return "changed";
}

}  // namespace

DocumentComparison compareDocuments(const RadioDocument& before, const RadioDocument& after,
                                    const BandLimits& limits)
{
    DocumentComparison result;
    const auto a = channelsByNumber(before);
    const auto b = channelsByNumber(after);
    auto ia = a.begin();
    auto ib = b.begin();
    const auto push = [&](int chNo, ChannelChangeKind kind, Fields fields) {
        result.channels.push_back({groupOfChannel(chNo), chNo, kind, std::move(fields)});
    };
    while (ia != a.end() || ib != b.end()) {
        if (ib == b.end() || (ia != a.end() && ia->first < ib->first)) {
            push(
                ia->first, ChannelChangeKind::Removed,
                {{word(w::CmpReceive), receiveWords(ia->second->RxFre, limits), word(w::CmpNone)}});
            ++ia;
        } else if (ia == a.end() || ib->first < ia->first) {
            push(
                ib->first, ChannelChangeKind::Added,
                {{word(w::CmpReceive), word(w::CmpNone), receiveWords(ib->second->RxFre, limits)}});
            ++ib;
        } else {
            if (!(*ia->second == *ib->second)) {
                Fields fields = channelFields(*ia->second, *ib->second, limits);
                if (!fields.empty()) push(ia->first, ChannelChangeKind::Changed, std::move(fields));
            }
            ++ia;
            ++ib;
        }
    }
    std::stable_sort(result.channels.begin(), result.channels.end(),
                     [](const ChannelDifference& x, const ChannelDifference& y) {
                         return x.group != y.group ? x.group < y.group : x.chNo < y.chNo;
                     });

    SettingsCollector collect(result.settings);
    compareOptions(collect, before.Data, after.Data, limits);
    compareDtmf(collect, before.Data.Dtmf, after.Data.Dtmf);
    compareToneTips(collect, before.Data.Tips, after.Data.Tips);
    compareTexts(collect, before.Data, after.Data);
    std::stable_sort(result.settings.begin(), result.settings.end(),
                     [](const SettingDifference& x, const SettingDifference& y) {
                         return static_cast<int>(x.section) < static_cast<int>(y.section);
                     });
    return result;
}

Phrase Phrase::word(int textId, std::vector<Phrase> args)
{
    Phrase p;
    p.textId = textId;
    p.args = std::move(args);
    return p;
}

const std::vector<ComparisonWord>& comparisonWordList()
{
    static const std::vector<ComparisonWord> words = {
        {w::CmpReceive, "receive"},
        {w::CmpShift, "shift"},
        {w::CmpOffset, "offset"},
        {w::CmpReceiveTone, "receive tone"},
        {w::CmpTransmitTone, "transmit tone"},
        {w::CmpMode, "mode"},
        {w::CmpSpacing, "spacing"},
        {w::CmpScanSkip, "scan skip"},
        {w::CmpTransmitInhibit, "transmit inhibit"},
        {w::CmpFmPower, "FM power"},
        {w::CmpFmPowerLock, "FM power lock"},
        {w::CmpAmPower, "AM power"},
        {w::CmpAmPowerLock, "AM power lock"},
        {w::CmpAmFmLock, "AM/FM lock"},
        {w::CmpBusyChannelLock, "busy channel lock"},
        {w::CmpSquelchMode, "squelch mode"},
        {w::CmpToneSquelch, "tone squelch"},
        {w::CmpRbTone, "RB tone"},
        {w::CmpDtmfCodeAtStart, "DTMF code at start"},
        {w::CmpDtmfCodeAtEnd, "DTMF code at end"},
        {w::CmpDtmfCallCode, "DTMF call code"},
        {w::CmpRxExpander, "RX expander"},
        {w::CmpTxCompressor, "TX compressor"},
        {w::CmpNbAnl, "NB/ANL"},
        {w::CmpAttenuator, "attenuator"},
        {w::CmpHiCut, "hi-cut filter"},
        {w::CmpReverseTalk, "reverse talk"},
        {w::CmpScramble, "scramble"},
        {w::CmpTalkaround, "talkaround"},
        {w::CmpSignalLogic, "signal logic"},
        {w::CmpWhisper, "whisper"},
        {w::CmpPttId, "PTT ID"},
        {w::CmpOptionalSignal, "optional signal"},
        {w::CmpCompander, "compander"},
        {w::CmpReverse, "reverse"},
        {w::CmpRepeater, "repeater"},
        {w::CmpReceiveStep, "receive step"},
        {w::CmpTransmitStep, "transmit step"},
        {w::CmpEmptyMark, "empty mark"},
        {w::CmpOff, "Off"},
        {w::CmpOn, "On"},
        {w::CmpUnknownTone, "unknown tone %1"},
        {w::CmpWide, "wide"},
        {w::CmpMedium, "medium"},
        {w::CmpNarrow, "narrow"},
        {w::CmpCarrier, "carrier"},
        {w::CmpToneLock, "CTCSS/DCS tone"},
        {w::CmpNone, "none"},
        {w::CmpMinus, "minus"},
        {w::CmpPlus, "plus"},
        {w::CmpStoredLength, "%1 length %2"},
        {w::CmpNote, "%1 Hz, %2"},
        {w::CmpModel, "model"},
        {w::CmpBandCode, "band code"},
        {w::CmpTimeOutTimer, "transmit time-out timer"},
        {w::CmpCurrentGroup, "current group"},
        {w::CmpDisplayMode, "display mode"},
        {w::CmpBacklightColour, "backlight colour"},
        {w::CmpScanMode, "scan mode"},
        {w::CmpScanResumeTime, "scan resume time"},
        {w::CmpKeyBeep, "key beep"},
        {w::CmpPublicInForce, "public settings in force"},
        {w::CmpPttIdPause, "PTT ID pause"},
        {w::CmpEmergencyChannel, "emergency channel %1 of group %2"},
        {w::CmpAmFmEntry, "AM/FM entry %1 of group %2"},
        {w::CmpResetGroupE, "reset group (E)"},
        {w::CmpResetChannelE, "reset channel (E)"},
        {w::CmpResetGroupNormal, "reset group (normal)"},
        {w::CmpResetChannelNormal, "reset channel (normal)"},
        {w::CmpResetGroupExtended, "reset group (extended)"},
        {w::CmpResetChannelExtended, "reset channel (extended)"},
        {w::CmpPublicField, "public %1"},
        {w::CmpSquelchLevel, "squelch level"},
        {w::CmpVoicePrompt, "voice prompt"},
        {w::CmpVoiceVolume, "voice volume"},
        {w::CmpTailElimination, "tail elimination"},
        {w::CmpBatterySave, "battery save"},
        {w::CmpVox, "VOX"},
        {w::CmpVoxTone, "VOX tone"},
        {w::CmpChannelLock, "channel lock"},
        {w::CmpGroupSelect, "group select"},
        {w::CmpTotPreAlert, "time-out pre-alert"},
        {w::CmpCableClone, "cable clone"},
        {w::CmpNoSignalTail, "tail elimination without signal"},
        {w::CmpFrequencyChangeable, "frequencies of groups 0-6 may be changed"},
        {w::CmpTotRekey, "time-out rekey"},
        {w::CmpTotReset, "time-out reset"},
        {w::CmpVoxLevel, "VOX level"},
        {w::CmpVoxDelay, "VOX delay"},
        {w::CmpBroadcastEntry, "broadcast radio entry %1"},
        {w::CmpBroadcastFrequency, "broadcast radio frequency %1"},
        {w::CmpTestReceive, "test receive frequency %1"},
        {w::CmpTestTransmit, "test transmit frequency %1"},
        {w::CmpKeySetting, "key setting %1"},
        {w::CmpAlertSetting, "alert setting %1"},
        {w::CmpScanSetting, "scan setting %1"},
        {w::CmpRate, "rate"},
        {w::CmpFirstDigitTime, "first digit time"},
        {w::CmpFirstDigitDelay, "first digit delay"},
        {w::CmpStarHashTime, "* and # time"},
        {w::CmpDKey, "D key"},
        {w::CmpSideTone, "side tone"},
        {w::CmpCallAlert, "call alert"},
        {w::CmpGroupCode, "group code"},
        {w::CmpAutoResetTimer, "auto reset timer"},
        {w::CmpIdCode, "ID code"},
        {w::CmpPttIdAtStart, "PTT ID at start"},
        {w::CmpPttIdAtEnd, "PTT ID at end"},
        {w::CmpStunCode, "stun code"},
        {w::CmpKillCode, "kill code"},
        {w::CmpMemoryCode, "memory code %1"},
        {w::CmpToneTipNote, "tone tip %1 note %2"},
        {w::CmpToneTipRepeat, "tone tip %1 repeat count"},
        {w::CmpToneTipInterval, "tone tip %1 interval"},
        {w::CmpPowerOnText, "power-on text"},
        {w::CmpMessageLine, "message line %1"},
        {w::CmpGroupName, "name of group %1"},
        {w::CmpOutsideGroups, "Channels outside the groups"},
        {w::CmpGroupHeading, "Group %1"},
        {w::CmpChannelLine, "channel %1"},
        {w::CmpAdded, "added"},
        {w::CmpRemoved, "removed"},
        {w::CmpSettings, "Settings"},
        {w::CmpDtmf, "DTMF"},
        {w::CmpToneTips, "Tone tips"},
        {w::CmpTexts, "Texts"},
        {w::CmpOneChannel, "%1 channel"},
        {w::CmpManyChannels, "%1 channels"},
        {w::CmpOneSetting, "%1 setting"},
        {w::CmpManySettings, "%1 settings"},
    };
    return words;
}

std::string ComparisonWords::text(int textId) const
{
    if (lookup_) {
        auto found = looked_.find(textId);
        if (found == looked_.end()) found = looked_.emplace(textId, lookup_(textId)).first;
        if (!found->second.empty()) return found->second;
    }
    const auto& english = englishWords();
    const auto found = english.find(textId);
    return found == english.end() ? std::string() : std::string(found->second);
}

std::string ComparisonWords::operator()(const Phrase& phrase) const
{
    if (phrase.textId == 0) return phrase.literal;
    const std::string pattern = text(phrase.textId);
    // %1..%9 take the arguments; the arguments' own texts are not searched again.
    std::string out;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const char next = i + 1 < pattern.size() ? pattern[i + 1] : '\0';
        if (pattern[i] == '%' && next >= '1' && next <= '9') {
            const auto arg = static_cast<std::size_t>(next - '1');
            if (arg < phrase.args.size()) out += (*this)(phrase.args[arg]);
            ++i;
        } else {
            out += pattern[i];
        }
    }
    return out;
}

std::string sectionName(SettingSection section, const ComparisonWords& words)
{
    switch (section) {
        case SettingSection::Settings:
            return words.text(w::CmpSettings);
        case SettingSection::Dtmf:
            return words.text(w::CmpDtmf);
        case SettingSection::ToneTips:
            return words.text(w::CmpToneTips);
        case SettingSection::Texts:
            return words.text(w::CmpTexts);
    }
    return words.text(w::CmpSettings);
}

std::string groupHeading(int group, const ComparisonWords& words)
{
    return group < 0 ? words.text(w::CmpOutsideGroups)
                     : words(word(w::CmpGroupHeading, {number(group)}));
}

std::string channelLine(const ChannelDifference& ch, const ComparisonWords& words)
{
    std::string line = words(word(w::CmpChannelLine, {number(ch.chNo)})) + ": ";
    if (ch.kind == ChannelChangeKind::Added) line += words.text(w::CmpAdded) + ", ";
    if (ch.kind == ChannelChangeKind::Removed) line += words.text(w::CmpRemoved) + ", ";
    for (std::size_t i = 0; i < ch.fields.size(); ++i) {
        const FieldDifference& f = ch.fields[i];
        if (i > 0) line += "; ";
        line += words(f.field) + " " + words(f.before) + kArrow + words(f.after);
    }
    return line;
}

std::string settingLine(const SettingDifference& s, const ComparisonWords& words)
{
    return words(s.field.field) + ": " + words(s.field.before) + kArrow + words(s.field.after);
}

std::vector<std::string> describeComparison(const DocumentComparison& comparison,
                                            const ComparisonWords& words)
{
    std::vector<std::string> lines;
    int group = -2;
    for (const ChannelDifference& ch : comparison.channels) {
        if (ch.group != group) {
            group = ch.group;
            lines.push_back(groupHeading(group, words));
        }
        lines.push_back("  " + channelLine(ch, words));
    }
    bool first = true;
    SettingSection section = SettingSection::Settings;
    for (const SettingDifference& s : comparison.settings) {
        if (first || s.section != section) {
            section = s.section;
            first = false;
            lines.push_back(sectionName(section, words));
        }
        lines.push_back("  " + settingLine(s, words));
    }
    return lines;
}

std::string channelCount(std::size_t n, const ComparisonWords& words)
{
    return words(word(n == 1 ? w::CmpOneChannel : w::CmpManyChannels, {std::to_string(n)}));
}

std::string settingCount(std::size_t n, const ComparisonWords& words)
{
    return words(word(n == 1 ? w::CmpOneSetting : w::CmpManySettings, {std::to_string(n)}));
}

std::string comparisonCounts(const DocumentComparison& comparison)
{
    return channelCount(comparison.channels.size()) + " and " +
           settingCount(comparison.settings.size());
}

std::string comparisonJson(const DocumentComparison& comparison)
{
    std::string out = "{\"equal\":";
    out += comparison.equal() ? "true" : "false";
    out += ",\"channels\":" + std::to_string(comparison.channels.size());
    out += ",\"settings\":" + std::to_string(comparison.settings.size());
    out += ",\"channelChanges\":[";
    for (std::size_t i = 0; i < comparison.channels.size(); ++i) {
        const ChannelDifference& ch = comparison.channels[i];
        if (i > 0) out += ',';
        out += "{\"group\":" + number(ch.group) + ",\"channel\":" + number(ch.chNo) +
               ",\"change\":\"" + kindName(ch.kind) + "\",\"fields\":[";
        for (std::size_t k = 0; k < ch.fields.size(); ++k) {
            if (k > 0) out += ',';
            out += '{';
            jsonFieldMembers(out, ch.fields[k]);
            out += '}';
        }
        out += "]}";
    }
    out += "],\"settingChanges\":[";
    for (std::size_t i = 0; i < comparison.settings.size(); ++i) {
        const SettingDifference& s = comparison.settings[i];
        if (i > 0) out += ',';
        out += "{\"section\":\"";
        out += jsonSectionName(s.section);
        out += "\",";
        jsonFieldMembers(out, s.field);
        out += '}';
    }
    out += "]}";
    return out;
}

}  // namespace zt
