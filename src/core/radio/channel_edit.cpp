#include "core/radio/channel_edit.h"

#include <cmath>
#include <optional>
#include <string>

#include "core/radio/channel_codec.h"
#include "core/values/frequency.h"
#include "core/values/number_text.h"

namespace zt {
namespace {

constexpr int kFixedFrequencyChannels = 400;

std::optional<std::int16_t> wholeNumber(std::string_view text)
{
    const std::optional<double> v = parseNumber(text);
    if (!v || *v != std::floor(*v) || *v < -32768.0 || *v > 32767.0) return std::nullopt;
    return static_cast<std::int16_t>(*v);
}

void setTransmit(ChannelRecord& rec, std::string_view value, const FieldContext& ctx)
{
    const std::string rx = channelFrequencyText(rec.RxFre);
    const std::string offset = rec.OffsetFre.cut();
    const OffsetResult entered =
        offsetFromEntered(rx, value, ctx.offsetMode, offset, rec.ShiftDir, ctx.limits);
    rec.ShiftDir = entered.shiftDir;
    rec.OffsetFre = entered.storedOffset;

    // Without a receive frequency there is nothing to put on a raster; snapping
    // an empty channel would invent a frequency for it.
    const RxDisplay shown = rxStoredToDisplay(rx, ctx.limits);
    if (shown.text.empty() || shown.notNumeric) return;
    const RasterResult r =
        rasterCheck(rx, rec.OffsetFre.cut(), rec.ShiftDir, ctx.limits, ctx.keeps1k25);
    rec.RxFre = r.rxStored;
    rec.RxStep = r.rxStep;
    rec.TxStep = r.txStep;
    rec.ShiftDir = r.shiftDir;
    rec.OffsetFre = r.storedOffset;
}

std::int16_t* simpleField(ChannelRecord& rec, int fieldCode)
{
    switch (fieldCode) {
        case 7:
            return &rec.ScanSkip;
        case 9:
            return &rec.Spacing;
        case 10:
            return &rec.PttId;
        case 11:
            return &rec.BusyChannelLock;
        case 12:
            return &rec.RevTalk;
        case 13:
            return &rec.BotCode;
        case 14:
            return &rec.Scramble;
        case 15:
            return &rec.TxInhibit;
        case 16:
            return &rec.Talkaround;
        case 17:
            return &rec.Reverse;
        case 18:
            return &rec.Whisper;
        case 19:
            return &rec.Compander;
        case 21:
            return &rec.SignalLogic;
        case 22:
            return &rec.EotCode;
        case 23:
            return &rec.RBTone;
        case 24:
            return &rec.SquelchMode;
        case 25:
            return &rec.AmFm;
        case 26:
            return &rec.AmPower;
        case 27:
            return &rec.FmPower;
        case 28:
            return &rec.CallCode;
        case 29:
            return &rec.Rep;
        case 30:
            return &rec.Tsq;
        case 37:
            return &rec.RxExpand;
        case 38:
            return &rec.TxCompress;
        case 39:
            return &rec.NbAnl;
        case 40:
            return &rec.Attenuator;
        case 41:
            return &rec.HiCut;
        case 42:
            return &rec.AmFmLock;
        case 43:
            return &rec.AmPowerLock;
        case 44:
            return &rec.FmPowerLock;
        default:
            return nullptr;
    }
}

}  // namespace

ChannelRecord& newChannel(RadioDocument& doc, int chNo, std::string_view rxStored)
{
    if (doc.Data.ChannelCount < 0) doc.Data.ChannelCount = 0;
    if (doc.Data.ChannelCount >= kMaxChannels) {
        if (ChannelRecord* existing = doc.findChannel(chNo)) return *existing;
        static thread_local ChannelRecord scratch;
        scratch = newChannelRecord(chNo, rxStored);
        return scratch;
    }
    ChannelRecord& rec = doc.Channels[static_cast<std::size_t>(doc.Data.ChannelCount)];
    rec = newChannelRecord(chNo, rxStored);
    ++doc.Data.ChannelCount;
    return rec;
}

bool receiveFrequencyEditable(int chNo)
{
    return chNo > kFixedFrequencyChannels;
}

void updateChannelField(ChannelRecord& rec, int fieldCode, std::string_view value,
                        const FieldContext& ctx)
{
    if (fieldCode == 1) {
        if (receiveFrequencyEditable(rec.ChNo)) rec.RxFre = rxDisplayToStored(value, ctx.limits);
        return;
    }
    if (fieldCode == 2) {
        setTransmit(rec, value, ctx);
        return;
    }
    const std::optional<std::int16_t> v = wholeNumber(value);
    if (!v) return;
    switch (fieldCode) {
        case 4: {
            const std::int16_t old = rec.DecodeTone;
            rec.DecodeTone = *v;
            if (*v == 0 && rec.BusyChannelLock == 2) rec.BusyChannelLock = 1;
            if (old == 0 && rec.EncodeTone == 0) rec.EncodeTone = *v;
            return;
        }
        case 5: {
            const std::int16_t old = rec.EncodeTone;
            rec.EncodeTone = *v;
            if (old == 0 && rec.DecodeTone == 0) rec.DecodeTone = *v;
            return;
        }
        case 8:
            rec.OptSignal = *v;
            if (rec.DecodeTone == 0 && rec.BusyChannelLock > 1) rec.BusyChannelLock = 1;
            return;
        default:
            if (std::int16_t* field = simpleField(rec, fieldCode)) *field = *v;
            return;
    }
}

}  // namespace zt
