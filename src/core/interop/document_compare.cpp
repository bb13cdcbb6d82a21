#include "core/interop/document_compare.h"

#include <algorithm>
#include <cstdio>
#include <map>

#include "core/edit/channel_grid_rules.h"
#include "core/interop/channel_report.h"
#include "core/values/frequency.h"
#include "core/values/tones.h"

namespace zt {

namespace {

constexpr const char* kArrow = " \xE2\x86\x92 ";  // " → "

using Fields = std::vector<FieldDifference>;

std::string number(int v)
{
    return std::to_string(v);
}

std::string onOff(int v)
{
    return v == 0 ? "Off" : (v == 1 ? "On" : number(v));
}

std::string offOrNumber(int v)
{
    return v == 0 ? "Off" : number(v);
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
std::string toneWords(int index)
{
    if (index == 0) return "Off";
    const std::string t = toneText(index);
    if (t.empty()) return "unknown tone " + number(index);
    return (index < kFirstDcsNormalIndex ? "CTCSS " : "DCS ") + t;
}

std::string modeWords(int amFm)
{
    return amFm == 0 ? "AM" : (amFm == 1 ? "FM" : number(amFm));
}

std::string spacingWords(int spacing)
{
    switch (spacing) {
        case 0:
            return "wide";
        case 1:
            return "medium";
        case 2:
            return "narrow";
        default:
            return number(spacing);
    }
}

std::string busyLockWords(int v)
{
    switch (v) {
        case 0:
            return "Off";
        case 1:
            return "carrier";
        case 2:
            return "CTCSS/DCS tone";
        default:
            return number(v);
    }
}

std::string shiftWords(int dir)
{
    switch (dir) {
        case 0:
            return "none";
        case 1:
            return "minus";
        case 2:
            return "plus";
        default:
            return number(dir);
    }
}

// A stored frequency text as the grid shows it; "none" for a blank one, the stored text
// after "?" when it is no number (the display rule would put a real-looking limit there).
std::string receiveWords(const FixedText<8>& stored, const BandLimits& limits)
{
    const std::string cut = stored.cut();
    if (cut.empty() || cut == "FFFFFFFF") return "none";
    const RxDisplay shown = rxStoredToDisplay(cut, limits);
    if (shown.notNumeric) return "?" + recordTextToUtf8(cut);
    return shown.text;
}

std::string offsetWords(const FixedText<7>& stored)
{
    const std::string cut = stored.cut();
    if (cut.empty() || cut == "FFFFFFF") return "none";
    if (!parseTenHz(cut)) return "?" + recordTextToUtf8(cut);
    return offsetDisplay(cut, 0);
}

template <class Record, class T, class Format>
void field(Fields& out, const Record& a, const Record& b, T Record::*member, const char* label,
           Format format)
{
    if (a.*member != b.*member) out.push_back({label, format(a.*member), format(b.*member)});
}

Fields channelFields(const ChannelRecord& a, const ChannelRecord& b, const BandLimits& limits)
{
    Fields out;
    const auto rx = [&](const FixedText<8>& t) { return receiveWords(t, limits); };
    field(out, a, b, &ChannelRecord::RxFre, "receive", rx);
    field(out, a, b, &ChannelRecord::ShiftDir, "shift", shiftWords);
    field(out, a, b, &ChannelRecord::OffsetFre, "offset", offsetWords);
    field(out, a, b, &ChannelRecord::DecodeTone, "receive tone", toneWords);
    field(out, a, b, &ChannelRecord::EncodeTone, "transmit tone", toneWords);
    field(out, a, b, &ChannelRecord::AmFm, "mode", modeWords);
    field(out, a, b, &ChannelRecord::Spacing, "spacing", spacingWords);
    field(out, a, b, &ChannelRecord::ScanSkip, "scan skip", onOff);
    field(out, a, b, &ChannelRecord::TxInhibit, "transmit inhibit", onOff);
    field(out, a, b, &ChannelRecord::FmPower, "FM power", number);
    field(out, a, b, &ChannelRecord::FmPowerLock, "FM power lock", onOff);
    field(out, a, b, &ChannelRecord::AmPower, "AM power", number);
    field(out, a, b, &ChannelRecord::AmPowerLock, "AM power lock", onOff);
    field(out, a, b, &ChannelRecord::AmFmLock, "AM/FM lock", onOff);
    field(out, a, b, &ChannelRecord::BusyChannelLock, "busy channel lock", busyLockWords);
    field(out, a, b, &ChannelRecord::SquelchMode, "squelch mode", number);
    field(out, a, b, &ChannelRecord::Tsq, "tone squelch", onOff);
    field(out, a, b, &ChannelRecord::RBTone, "RB tone", offOrNumber);
    field(out, a, b, &ChannelRecord::BotCode, "DTMF code at start", offOrNumber);
    field(out, a, b, &ChannelRecord::EotCode, "DTMF code at end", offOrNumber);
    field(out, a, b, &ChannelRecord::CallCode, "DTMF call code", offOrNumber);
    field(out, a, b, &ChannelRecord::RxExpand, "RX expander", onOff);
    field(out, a, b, &ChannelRecord::TxCompress, "TX compressor", onOff);
    field(out, a, b, &ChannelRecord::NbAnl, "NB/ANL", onOff);
    field(out, a, b, &ChannelRecord::Attenuator, "attenuator", onOff);
    field(out, a, b, &ChannelRecord::HiCut, "hi-cut filter", onOff);
    field(out, a, b, &ChannelRecord::RevTalk, "reverse talk", onOff);
    field(out, a, b, &ChannelRecord::Scramble, "scramble", number);
    field(out, a, b, &ChannelRecord::Talkaround, "talkaround", onOff);
    field(out, a, b, &ChannelRecord::SignalLogic, "signal logic", number);
    field(out, a, b, &ChannelRecord::Whisper, "whisper", onOff);
    field(out, a, b, &ChannelRecord::PttId, "PTT ID", number);
    field(out, a, b, &ChannelRecord::OptSignal, "optional signal", number);
    field(out, a, b, &ChannelRecord::Compander, "compander", onOff);
    field(out, a, b, &ChannelRecord::Reverse, "reverse", onOff);
    field(out, a, b, &ChannelRecord::Rep, "repeater", onOff);
    field(out, a, b, &ChannelRecord::RxStep, "receive step", number);
    field(out, a, b, &ChannelRecord::TxStep, "transmit step", number);
    field(out, a, b, &ChannelRecord::Empty, "empty mark", number);
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

    void add(SettingSection section, std::string label, std::string before, std::string after)
    {
        if (before == after) return;
        out_.push_back({section, {std::move(label), std::move(before), std::move(after)}});
    }
    void addNumber(SettingSection section, const std::string& label, int a, int b)
    {
        if (a != b) add(section, label, number(a), number(b));
    }
    void addOnOff(SettingSection section, const std::string& label, int a, int b)
    {
        if (a != b) add(section, label, onOff(a), onOff(b));
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

void compareDtmfCode(SettingsCollector& c, const std::string& label, const DtmfCode& a,
                     const DtmfCode& b)
{
    if (a == b) return;
    std::string before = dtmfCodeWords(a);
    std::string after = dtmfCodeWords(b);
    if (before == after) {
        // The codes send the same digits but their stored forms differ: show them whole.
        before = quotedText(a.Digits) + " length " + number(a.Length);
        after = quotedText(b.Digits) + " length " + number(b.Length);
    }
    c.add(SettingSection::Dtmf, label, before, after);
}

void compareOptions(SettingsCollector& c, const RadioData& da, const RadioData& db,
                    const BandLimits& limits)
{
    constexpr auto S = SettingSection::Settings;
    c.add(S, "model", quotedText(da.ModelName), quotedText(db.ModelName));
    c.addNumber(S, "band code", da.BandCode, db.BandCode);
    const OptionSettings& a = da.Options;
    const OptionSettings& b = db.Options;
    c.addNumber(S, "transmit time-out timer", a.TimeOutTimer, b.TimeOutTimer);
    c.addNumber(S, "current group", a.CurrentGroup, b.CurrentGroup);
    c.addNumber(S, "display mode", a.DisplayMode, b.DisplayMode);
    c.addNumber(S, "backlight colour", a.BacklightColor, b.BacklightColor);
    c.addNumber(S, "scan mode", a.ScanMode, b.ScanMode);
    c.addNumber(S, "scan resume time", a.ScanResumeTime, b.ScanResumeTime);
    c.addOnOff(S, "key beep", a.Beep, b.Beep);
    c.addOnOff(S, "public settings in force", a.PublicData, b.PublicData);
    c.addNumber(S, "PTT ID pause", a.PttIdPause, b.PttIdPause);
    for (int g = 0; g < kNamedGroups; ++g) {
        for (int k = 0; k < 2; ++k) {
            const std::string n = " " + number(k + 1) + " of group " + number(g);
            c.addNumber(S, "emergency channel" + n, a.EmergencyRows[g][k], b.EmergencyRows[g][k]);
            c.addNumber(S, "AM/FM entry" + n, a.GroupAmFm[g][k], b.GroupAmFm[g][k]);
        }
    }
    c.addNumber(S, "reset group (E)", a.ResetGroupE, b.ResetGroupE);
    c.addNumber(S, "reset channel (E)", a.ResetChannelE, b.ResetChannelE);
    c.addNumber(S, "reset group (normal)", a.ResetGroupNormal, b.ResetGroupNormal);
    c.addNumber(S, "reset channel (normal)", a.ResetChannelNormal, b.ResetChannelNormal);
    c.addNumber(S, "reset group (extended)", a.ResetGroupExtended, b.ResetGroupExtended);
    c.addNumber(S, "reset channel (extended)", a.ResetChannelExtended, b.ResetChannelExtended);
    // The public settings live in the common channel.
    if (!(a.Common == b.Common)) {
        const Fields common = channelFields(a.Common, b.Common, limits);
        for (const FieldDifference& f : common) c.add(S, "public " + f.field, f.before, f.after);
    }
    c.addNumber(S, "squelch level", a.SquelchLevel, b.SquelchLevel);
    c.addOnOff(S, "voice prompt", a.VoicePrompt, b.VoicePrompt);
    c.addNumber(S, "voice volume", a.VoiceVolume, b.VoiceVolume);
    c.addOnOff(S, "tail elimination", a.TailElimination, b.TailElimination);
    c.addNumber(S, "battery save", a.BatterySave, b.BatterySave);
    c.addOnOff(S, "VOX", a.Vox, b.Vox);
    c.addNumber(S, "VOX tone", a.VoxTone, b.VoxTone);
    c.addOnOff(S, "channel lock", a.ChannelLock, b.ChannelLock);
    c.addNumber(S, "group select", a.GroupSelect, b.GroupSelect);
    c.addNumber(S, "time-out pre-alert", a.TotPreAlert, b.TotPreAlert);
    c.addOnOff(S, "cable clone", a.CableClone, b.CableClone);
    c.addOnOff(S, "tail elimination without signal", a.NoSignalTailElimination,
               b.NoSignalTailElimination);
    c.addOnOff(S, "frequencies of groups 0-6 may be changed", a.FrequencyChangeable,
               b.FrequencyChangeable);
    c.addNumber(S, "time-out rekey", a.TotRekey, b.TotRekey);
    c.addNumber(S, "time-out reset", a.TotReset, b.TotReset);
    c.addNumber(S, "VOX level", a.VoxLevel, b.VoxLevel);
    c.addNumber(S, "VOX delay", a.VoxDelay, b.VoxDelay);

    // Records the program carries from file to file without showing them.
    for (std::size_t i = 0; i < da.RadioFre.size(); ++i) {
        const std::string n = " " + number(static_cast<int>(i) + 1);
        c.addNumber(S, "broadcast radio entry" + n, da.RadioFre[i].Value, db.RadioFre[i].Value);
        c.add(S, "broadcast radio frequency" + n, quotedText(da.RadioFre[i].Frequency),
              quotedText(db.RadioFre[i].Frequency));
    }
    for (std::size_t i = 0; i < da.TestFre.size(); ++i) {
        const std::string n = " " + number(static_cast<int>(i) + 1);
        c.add(S, "test receive frequency" + n, quotedText(da.TestFre[i].Rx),
              quotedText(db.TestFre[i].Rx));
        c.add(S, "test transmit frequency" + n, quotedText(da.TestFre[i].Tx),
              quotedText(db.TestFre[i].Tx));
    }
    for (std::size_t i = 0; i < da.Keys.Values.size(); ++i)
        c.addNumber(S, "key setting " + number(static_cast<int>(i) + 1), da.Keys.Values[i],
                    db.Keys.Values[i]);
    for (std::size_t i = 0; i < da.Alerts.Values.size(); ++i)
        c.addNumber(S, "alert setting " + number(static_cast<int>(i) + 1), da.Alerts.Values[i],
                    db.Alerts.Values[i]);
    for (std::size_t i = 0; i < da.Scan.Values.size(); ++i)
        c.addNumber(S, "scan setting " + number(static_cast<int>(i) + 1), da.Scan.Values[i],
                    db.Scan.Values[i]);
}

void compareDtmf(SettingsCollector& c, const DtmfSettings& a, const DtmfSettings& b)
{
    if (a == b) return;
    constexpr auto D = SettingSection::Dtmf;
    c.addNumber(D, "rate", a.Rate, b.Rate);
    c.addNumber(D, "first digit time", a.FirstDigitTime, b.FirstDigitTime);
    c.addNumber(D, "first digit delay", a.FirstDigitDelay, b.FirstDigitDelay);
    c.addNumber(D, "* and # time", a.StarHashTime, b.StarHashTime);
    c.addNumber(D, "D key", a.DKey, b.DKey);
    c.addOnOff(D, "side tone", a.SideTone, b.SideTone);
    c.addNumber(D, "call alert", a.CallAlert, b.CallAlert);
    c.addNumber(D, "group code", a.GroupCode, b.GroupCode);
    c.addNumber(D, "auto reset timer", a.AutoResetTimer, b.AutoResetTimer);
    if (!(a.IdCode == b.IdCode) || a.IdCodeLength != b.IdCodeLength) {
        const auto id = [](const DtmfSettings& s) {
            return dtmfCodeWords(DtmfCode{s.IdCodeLength, FixedText<16>(s.IdCode.cut())});
        };
        c.add(D, "ID code", id(a), id(b));
        if (id(a) == id(b))
            c.add(D, "ID code", quotedText(a.IdCode) + " length " + number(a.IdCodeLength),
                  quotedText(b.IdCode) + " length " + number(b.IdCodeLength));
    }
    compareDtmfCode(c, "PTT ID at start", a.PttIdBot, b.PttIdBot);
    compareDtmfCode(c, "PTT ID at end", a.PttIdEot, b.PttIdEot);
    compareDtmfCode(c, "stun code", a.StunCode, b.StunCode);
    compareDtmfCode(c, "kill code", a.KillCode, b.KillCode);
    for (int i = 0; i < kDtmfMemoryCodes; ++i)
        compareDtmfCode(c, "memory code " + number(i + 1), a.Memory[i], b.Memory[i]);
}

void compareToneTips(SettingsCollector& c, const ToneTips& a, const ToneTips& b)
{
    constexpr auto T = SettingSection::ToneTips;
    for (int t = 0; t < kToneTipCount; ++t) {
        if (a[t] == b[t]) continue;
        const std::string tip = "tone tip " + number(t + 1);
        for (int n = 0; n < kToneTipNotes; ++n) {
            const ToneTipNote& x = a[t].Notes[n];
            const ToneTipNote& y = b[t].Notes[n];
            if (x == y) continue;
            const auto note = [](const ToneTipNote& v) {
                return number(v.Frequency) + " Hz, " + number(v.Duration);
            };
            c.add(T, tip + " note " + number(n + 1), note(x), note(y));
        }
        c.addNumber(T, tip + " repeat count", a[t].RepeatCount, b[t].RepeatCount);
        c.addNumber(T, tip + " interval", a[t].Interval, b[t].Interval);
    }
}

void compareTexts(SettingsCollector& c, const RadioData& a, const RadioData& b)
{
    constexpr auto X = SettingSection::Texts;
    c.add(X, "power-on text", quotedText(a.Options.PowerOnText), quotedText(b.Options.PowerOnText));
    for (std::size_t i = 0; i < a.Messages.size(); ++i)
        c.add(X, "message line " + number(static_cast<int>(i) + 1), quotedText(a.Messages[i]),
              quotedText(b.Messages[i]));
    for (int g = 0; g < kNamedGroups; ++g)
        c.add(X, "name of group " + number(g), quotedText(a.Groups[g]), quotedText(b.Groups[g]));
}

std::string plural(std::size_t n, const char* one, const char* many)
{
    return std::to_string(n) + " " + (n == 1 ? one : many);
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

void jsonField(std::string& out, const FieldDifference& f)
{
    out += "{\"field\":";
    jsonString(out, f.field);
    out += ",\"before\":";
    jsonString(out, f.before);
    out += ",\"after\":";
    jsonString(out, f.after);
    out += '}';
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
            push(ia->first, ChannelChangeKind::Removed,
                 {{"receive", receiveWords(ia->second->RxFre, limits), "none"}});
            ++ia;
        } else if (ia == a.end() || ib->first < ia->first) {
            push(ib->first, ChannelChangeKind::Added,
                 {{"receive", "none", receiveWords(ib->second->RxFre, limits)}});
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

const char* sectionName(SettingSection section)
{
    switch (section) {
        case SettingSection::Settings:
            return "Settings";
        case SettingSection::Dtmf:
            return "DTMF";
        case SettingSection::ToneTips:
            return "Tone tips";
        case SettingSection::Texts:
            return "Texts";
    }
    return "Settings";
}

std::vector<std::string> describeComparison(const DocumentComparison& comparison)
{
    std::vector<std::string> lines;
    int group = -2;
    for (const ChannelDifference& ch : comparison.channels) {
        if (ch.group != group) {
            group = ch.group;
            lines.push_back(group < 0 ? "Channels outside the groups" : "Group " + number(group));
        }
        std::string line = "  channel " + number(ch.chNo) + ": ";
        if (ch.kind == ChannelChangeKind::Added) line += "added, ";
        if (ch.kind == ChannelChangeKind::Removed) line += "removed, ";
        for (std::size_t i = 0; i < ch.fields.size(); ++i) {
            const FieldDifference& f = ch.fields[i];
            if (i > 0) line += "; ";
            line += f.field + " " + f.before + kArrow + f.after;
        }
        lines.push_back(std::move(line));
    }
    bool first = true;
    SettingSection section = SettingSection::Settings;
    for (const SettingDifference& s : comparison.settings) {
        if (first || s.section != section) {
            section = s.section;
            first = false;
            lines.push_back(sectionName(section));
        }
        lines.push_back("  " + s.field.field + ": " + s.field.before + kArrow + s.field.after);
    }
    return lines;
}

std::string comparisonCounts(const DocumentComparison& comparison)
{
    return plural(comparison.channels.size(), "channel", "channels") + " and " +
           plural(comparison.settings.size(), "setting", "settings");
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
            jsonField(out, ch.fields[k]);
        }
        out += "]}";
    }
    out += "],\"settingChanges\":[";
    for (std::size_t i = 0; i < comparison.settings.size(); ++i) {
        const SettingDifference& s = comparison.settings[i];
        if (i > 0) out += ',';
        out += "{\"section\":\"";
        out += jsonSectionName(s.section);
        out += "\",\"field\":";
        jsonString(out, s.field.field);
        out += ",\"before\":";
        jsonString(out, s.field.before);
        out += ",\"after\":";
        jsonString(out, s.field.after);
        out += '}';
    }
    out += "]}";
    return out;
}

}  // namespace zt
