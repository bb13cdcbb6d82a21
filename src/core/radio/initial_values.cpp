#include "core/radio/initial_values.h"

#include <cstdio>
#include <initializer_list>
#include <string>
#include <utility>

#include "core/radio/channel_edit.h"
#include "core/radio/models.h"
#include "core/values/frequency.h"

namespace zt {
namespace {

using Pairs = std::initializer_list<std::pair<int, int>>;

void setSequence(ToneTipSequence& seq, Pairs pairs)
{
    std::size_t k = 0;
    for (const auto& [frequency, duration] : pairs) {
        seq.Notes[k].Frequency = static_cast<std::int16_t>(frequency);
        seq.Notes[k].Duration = static_cast<std::int16_t>(duration);
        ++k;
    }
    seq.RepeatCount = 1;
    seq.Interval = 0;
}

// The band centre in stored form; 27.86 MHz ("02786000") for the standard band.
std::string bandCentreStored(const BandLimits& limits)
{
    const std::int64_t centre = (mhzToTenHz(limits.lo) + mhzToTenHz(limits.hi)) / 2;
    return rxDisplayToStored(formatMhz(centre), limits);
}

void applyOptionDefaults(OptionSettings& o)
{
    o = OptionSettings{};
    // Every value is one the optional-features and reset-mode windows show, so looking at a
    // new document changes nothing (a time-out of 4 s, say, would be shown and stored as off).
    o.TimeOutTimer = 0;
    o.VoiceVolume = 1;
    o.CurrentGroup = 3;
    o.DisplayMode = 1;
    o.BacklightColor = 1;
    o.Beep = 1;
    o.ResetGroupExtended = 9;
    o.ResetChannelE = 1;  // the first channel of the reset group, as the lists show it
    o.ResetChannelNormal = 1;
    o.ResetChannelExtended = 1;
    o.PowerOnText = std::string("        kp2719 ") + '\0';
    o.VoicePrompt = 1;
    o.TailElimination = 3;
}

void applyDtmfDefaults(DtmfSettings& d)
{
    d = DtmfSettings{};
    d.Rate = 1;  // the first entries of the DTMF window's timing lists
    d.FirstDigitDelay = 2;
    d.IdCode = "000";
    d.IdCodeLength = 3;
    for (DtmfCode* code : {&d.PttIdBot, &d.PttIdEot, &d.StunCode, &d.KillCode}) {
        code->Length = 0;
        code->Digits = "";
    }
    for (DtmfCode& code : d.Memory) {
        code.Length = 0;
        code.Digits = "";
    }
}

void applyToneTipDefaults(ToneTips& tips)
{
    tips = ToneTips{};
    setSequence(tips[0], {{210, 10}, {0, 10}, {210, 10}, {0, 10}, {210, 10}, {0, 10}, {210, 10}});
    setSequence(tips[1], {{80, 4},
                          {0, 4},
                          {80, 4},
                          {0, 4},
                          {80, 4},
                          {0, 4},
                          {80, 4},
                          {0, 4},
                          {80, 4},
                          {0, 4},
                          {80, 4},
                          {0, 4},
                          {80, 4},
                          {0, 4}});
    setSequence(tips[2], {{170, 3}, {90, 3}, {170, 3}, {90, 3}, {170, 3}, {90, 3}, {170, 3}});
    setSequence(tips[3], {{64, 6}, {94, 6}, {134, 6}, {163, 6}, {192, 6}});
    setSequence(tips[4], {{150, 20}, {70, 20}, {150, 20}, {70, 20}, {150, 20}, {70, 20}});
}

}  // namespace

void applyNewDocumentDefaults(RadioDocument& doc, const ProgramState& state)
{
    doc.Data = RadioData{};
    doc.Channels.fill(ChannelRecord{});

    RadioData& data = doc.Data;
    data.ChannelCount = 0;
    const std::string centre = bandCentreStored(state.Limits);
    newChannel(doc, 1, centre);
    newChannel(doc, kVfoChannel, centre);

    for (RadioFreEntry& e : data.RadioFre) {
        e.Value = 1;
        e.Frequency = "        ";
    }
    const std::string none = std::string(1, '\0') + "       ";
    for (std::size_t i = 0; i < data.TestFre.size(); ++i) {
        data.TestFre[i].Rx = i == 0 ? std::string("43510000") : none;
        data.TestFre[i].Tx = i == 0 ? std::string("43510000") : none;
    }

    currentToDocument(state, data);

    static constexpr const char* kGroupNames[kNamedGroups] = {"E",    "D", "EU", "EC", "PL", "U-EU",
                                                              "U-UK", "A", "B",  "C",  "D",  "E"};
    for (int g = 0; g < kNamedGroups; ++g)
        data.Groups[static_cast<std::size_t>(g)] = kGroupNames[g];

    applyOptionDefaults(data.Options);
    applyDtmfDefaults(data.Dtmf);
    for (FixedText<16>& line : data.Messages) line = std::string(1, '\0');

    data.Keys.Values = {10, 10, 0, 0, 0, 0};
    data.Alerts.Values = {1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    data.Scan.Values = {};

    applyToneTipDefaults(data.Tips);
}

RadioInfoRecord newRadioInfoRecord(const ProgramState& state, int bandCode,
                                   std::string_view shortDate, int month)
{
    RadioInfoRecord r;
    r.BandCode = static_cast<std::int16_t>(bandCode);
    r.VersionText = "V3.00";
    r.ModelText = state.ModelName;
    r.AreaCode = "0595";
    char mm[16];
    std::snprintf(mm, sizeof mm, "%02d", month);
    r.ManufactureCode = std::string(mm) + "-1-E-1";
    r.UserCode = "001A";
    r.ProductionDate = shortDate;
    r.MaintenanceDate = shortDate;
    r.StockInDate = shortDate;
    r.SaleDate = shortDate;
    r.SerialNumber = "";
    r.MaintenanceDescription = "";
    r.DealerCode = "";
    r.Seller = "";
    return r;
}

}  // namespace zt
