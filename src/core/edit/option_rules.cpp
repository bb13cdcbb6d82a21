#include "core/edit/option_rules.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "core/radio/tone_tips.h"
#include "core/text_ids.h"
#include "core/values/number_text.h"
#include "core/values/tones.h"

namespace zt {
namespace {

std::vector<ListEntry> ids(std::initializer_list<int> textIds)
{
    std::vector<ListEntry> out;
    for (int id : textIds) out.push_back({"", id});
    return out;
}

// Numbers first, first + step, ... last as texts.
void appendNumbers(std::vector<ListEntry>& out, int first, int last, int step = 1)
{
    for (int v = first; v <= last; v += step) out.push_back({std::to_string(v), 0});
}

std::int16_t* listField(OptionSettings& o, OptionControl id)
{
    switch (id) {
        case opt::SquelchLevel:
            return &o.SquelchLevel;
        case opt::VoicePrompt:
            return &o.VoicePrompt;
        case opt::VoiceVolume:
            return &o.VoiceVolume;
        case opt::TailElimination:
            return &o.TailElimination;
        case opt::TimeOut:
            return &o.TimeOutTimer;
        case opt::BatterySave:
            return &o.BatterySave;
        case opt::TotPreAlert:
            return &o.TotPreAlert;
        case opt::TotRekey:
            return &o.TotRekey;
        case opt::TotReset:
            return &o.TotReset;
        case opt::VoxLevel:
            return &o.VoxLevel;
        case opt::VoxDelay:
            return &o.VoxDelay;
        case opt::DisplayMode:
            return &o.DisplayMode;
        case opt::Backlight:
            return &o.BacklightColor;
        case opt::ScanMode:
            return &o.ScanMode;
        case opt::ScanResume:
            return &o.ScanResumeTime;
        case opt::Decode:
            return &o.Common.DecodeTone;
        case opt::Encode:
            return &o.Common.EncodeTone;
        case opt::BusyLock:
            return &o.Common.BusyChannelLock;
        case opt::Bot:
            return &o.Common.BotCode;
        case opt::Eot:
            return &o.Common.EotCode;
        case opt::Call:
            return &o.Common.CallCode;
        case opt::RbTone:
            return &o.Common.RBTone;
        case opt::SquelchMode:
            return &o.Common.SquelchMode;
        case opt::Rep:
            return &o.Common.Rep;
        case opt::KeyBeep:
            return &o.Beep;
        case opt::FrequencyChangeable:
            return &o.FrequencyChangeable;
        case opt::Tsq:
            return &o.Common.Tsq;
        default:
            return nullptr;
    }
}

std::int16_t* checkField(OptionSettings& o, OptionControl id)
{
    switch (id) {
        case opt::Vox:
            return &o.Vox;
        case opt::VoxTone:
            return &o.VoxTone;
        case opt::ChannelLock:
            return &o.ChannelLock;
        case opt::GroupSelect:
            return &o.GroupSelect;
        case opt::CableClone:
            return &o.CableClone;
        case opt::NoSignalTail:
            return &o.NoSignalTailElimination;
        case opt::PublicData:
            return &o.PublicData;
        case opt::RxExpand:
            return &o.Common.RxExpand;
        case opt::TxCompress:
            return &o.Common.TxCompress;
        case opt::NbAnl:
            return &o.Common.NbAnl;
        case opt::Attenuator:
            return &o.Common.Attenuator;
        case opt::HiCut:
            return &o.Common.HiCut;
        default:
            return nullptr;
    }
}

}  // namespace

const std::vector<OptionControl>& optionListIds()
{
    using namespace opt;
    static const std::vector<OptionControl> list{SquelchLevel, VoicePrompt,
                                                 VoiceVolume,  TailElimination,
                                                 TimeOut,      BatterySave,
                                                 TotPreAlert,  TotRekey,
                                                 TotReset,     VoxLevel,
                                                 VoxDelay,     DisplayMode,
                                                 Backlight,    ScanMode,
                                                 ScanResume,   Decode,
                                                 Encode,       BusyLock,
                                                 Bot,          Eot,
                                                 Call,         RbTone,
                                                 SquelchMode,  Rep,
                                                 KeyBeep,      FrequencyChangeable,
                                                 Tsq};
    return list;
}

const std::vector<OptionControl>& optionCheckIds()
{
    using namespace opt;
    static const std::vector<OptionControl> list{Vox,        VoxTone,      ChannelLock, GroupSelect,
                                                 CableClone, NoSignalTail, PublicData,  RxExpand,
                                                 TxCompress, NbAnl,        Attenuator,  HiCut};
    return list;
}

std::vector<ListEntry> optionListEntries(OptionControl id)
{
    std::vector<ListEntry> out;
    switch (id) {
        case opt::SquelchLevel:
            appendNumbers(out, 0, 9);
            break;
        case opt::VoicePrompt:
            out = ids({text::option::VoicePromptEntry0, text::option::VoicePromptEntry1});
            break;
        case opt::VoiceVolume:
            appendNumbers(out, 1, 5);
            break;
        case opt::TailElimination:
            out = ids({text::option::TailEliminationEntry0, text::option::TailEliminationEntry1,
                       text::option::TailEliminationEntry2, text::option::TailEliminationEntry3});
            break;
        case opt::TimeOut:
            out = ids({text::option::ListEntryOff});
            appendNumbers(out, 15, 600, 15);
            break;
        case opt::BatterySave:
            out = ids({text::option::ListEntryOff, text::option::BatterySaveEntry1,
                       text::option::BatterySaveEntry2, text::option::BatterySaveEntry3});
            break;
        case opt::TotPreAlert:
            out = ids({text::option::ListEntryOff});
            appendNumbers(out, 1, 10);
            break;
        case opt::TotRekey:
            appendNumbers(out, 0, 60);
            break;
        case opt::TotReset:
            appendNumbers(out, 0, 30);
            break;
        case opt::VoxLevel:
            out = ids({text::option::ListEntryOff});
            appendNumbers(out, 1, 6);
            break;
        case opt::VoxDelay:
            for (int tenths = 5; tenths <= 50; tenths += 5) {
                char buf[16];
                std::snprintf(buf, sizeof buf, "%d.%d", tenths / 10, tenths % 10);
                out.push_back({buf, 0});
            }
            break;
        case opt::DisplayMode:
            out = ids({text::option::ListEntryOff, text::option::ListEntryOn,
                       text::option::DisplayModeEntry2});
            break;
        case opt::Backlight:
            out = ids({text::option::BacklightColour0, text::option::BacklightColour1,
                       text::option::BacklightColour2, text::option::BacklightColour3,
                       text::option::BacklightColour4, text::option::BacklightColour5,
                       text::option::BacklightColour6, text::option::BacklightColour7});
            break;
        case opt::ScanMode:
            out = ids({text::option::ScanModeEntry0, text::option::ScanModeEntry1});
            break;
        case opt::ScanResume:
            appendNumbers(out, 5, 60, 5);
            break;
        case opt::Decode:
        case opt::Encode:
            for (const auto& t : toneListTexts()) out.push_back({t, 0});
            out[0] = {"", text::channeledit::ListEntryOffNone};
            break;
        case opt::BusyLock:
            out = ids({text::channeledit::ListEntryOffNone,
                       text::channeledit::BusyLockSquelchModeEntry1Carrier});
            break;
        case opt::SquelchMode:
            out = ids({text::channeledit::BusyLockSquelchModeEntry1Carrier,
                       text::channeledit::BusyLockSquelchModeEntry2CTCSSDCSTone});
            break;
        case opt::Rep:
            out = {{"", text::channeledit::ListEntryOffNone}, {"+100K", 0}, {"-100K", 0}};
            break;
        case opt::KeyBeep:
        case opt::FrequencyChangeable:
            out = ids({text::option::ListEntryOff, text::option::ListEntryOn});
            break;
        case opt::Tsq:
            out = ids({text::channeledit::TSQEntry0, text::channeledit::TSQEntry1});
            break;
        default:
            break;
    }
    return out;
}

int timeOutIndexOf(int value)
{
    return static_cast<int>(std::nearbyint(static_cast<double>(value) / 15.0));
}

std::optional<int> optionListIndexOf(const OptionSettings& o, OptionControl id)
{
    switch (id) {
        case opt::TimeOut:
            return timeOutIndexOf(o.TimeOutTimer);
        case opt::VoicePrompt:
            return o.VoicePrompt - 1;
        case opt::VoiceVolume:
            return o.VoiceVolume - 1;
        case opt::SquelchMode:
            return o.Common.DecodeTone == 0 ? 0 : o.Common.SquelchMode;
        case opt::Bot:
        case opt::Eot:
        case opt::Call:
        case opt::RbTone:
            return std::nullopt;
        default:
            break;
    }
    OptionSettings copy = o;
    if (const std::int16_t* field = listField(copy, id)) return *field;
    return std::nullopt;
}

void storeOptionList(OptionSettings& o, OptionControl id, int index, const std::string& text)
{
    OptionSettings copy = o;
    std::int16_t* field = listField(copy, id);
    if (!field || id == opt::RbTone) return;
    if (id == opt::Bot || id == opt::Eot || id == opt::Call) {
        // The number shown; the none entry and no selection give 0.
        const auto n = index >= 0 && isNumeric(text) ? parseNumber(text) : std::nullopt;
        *field = n && *n >= 1 && *n <= kDtmfMemoryCodes
                     ? static_cast<std::int16_t>(std::nearbyint(*n))
                     : std::int16_t{0};
    } else {
        if (index < 0) return;
        if (id == opt::TimeOut)
            *field = static_cast<std::int16_t>(index * 15);
        else if (id == opt::VoicePrompt || id == opt::VoiceVolume)
            *field = static_cast<std::int16_t>(index + 1);
        else
            *field = static_cast<std::int16_t>(index);
    }
    o = copy;
}

std::int16_t optionCheckValue(const OptionSettings& o, OptionControl id)
{
    OptionSettings copy = o;
    const std::int16_t* field = checkField(copy, id);
    return field ? *field : std::int16_t{0};
}

void storeOptionCheck(OptionSettings& o, OptionControl id, bool checked)
{
    OptionSettings copy = o;
    std::int16_t* field = checkField(copy, id);
    if (!field) return;
    *field = checked ? 1 : 0;
    o = copy;
}

std::vector<int> nonEmptyDtmfCodes(const DtmfSettings& dtmf)
{
    std::vector<int> out;
    for (int n = 1; n <= kDtmfMemoryCodes; ++n)
        if (dtmf.Memory[static_cast<std::size_t>(n - 1)].Length > 0) out.push_back(n);
    return out;
}

std::vector<int> definedToneTips(const RadioData& data)
{
    std::vector<int> out;
    for (int n = 1; n <= kToneTipCount; ++n)
        if (sequenceDefined(data, n)) out.push_back(n);
    return out;
}

int rbToneShown(const RadioData& data, int stored)
{
    return stored >= 1 && stored <= kToneTipCount && sequenceDefined(data, stored) ? stored : 0;
}

int dtmfCodeShown(const DtmfSettings& dtmf, int stored)
{
    const auto codes = nonEmptyDtmfCodes(dtmf);
    return std::find(codes.begin(), codes.end(), stored) != codes.end() ? stored : 0;
}

std::array<std::string, opt::PowerOnBoxes> powerOnBoxes(const FixedText<16>& text)
{
    std::string cut = text.cut();
    if (cut.size() < opt::PowerOnBoxes) cut.insert(0, opt::PowerOnBoxes - cut.size(), ' ');
    std::array<std::string, opt::PowerOnBoxes> boxes;
    for (std::size_t i = 0; i < boxes.size(); ++i)
        if (cut[i] != ' ') boxes[i] = std::string(1, cut[i]);
    return boxes;
}

FixedText<16> powerOnTextOf(const std::array<std::string, opt::PowerOnBoxes>& boxes)
{
    std::string text;
    for (const auto& box : boxes) text.push_back(box.empty() ? ' ' : box[0]);
    return FixedText<16>(text);
}

bool powerOnCharAccepted(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
}

}  // namespace zt
