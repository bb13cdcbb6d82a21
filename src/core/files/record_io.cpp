#include "core/files/record_io.h"

#include <stdexcept>

namespace zt {
namespace {

// One field list serves both directions: the writer copies record -> bytes,
// the reader bytes -> record, so the two can never disagree on the layout.
class ByteWriter {
  public:
    explicit ByteWriter(std::span<std::uint8_t> out) : out_(out) {}

    void i16(std::int16_t& v)
    {
        const auto u = static_cast<std::uint16_t>(v);
        out_[pos_++] = static_cast<std::uint8_t>(u & 0xFF);
        out_[pos_++] = static_cast<std::uint8_t>(u >> 8);
    }
    void u8(std::uint8_t& v) { out_[pos_++] = v; }
    template <std::size_t N>
    void text(FixedText<N>& t)
    {
        for (std::size_t i = 0; i < N; ++i) out_[pos_++] = static_cast<std::uint8_t>(t.bytes[i]);
    }
    std::size_t position() const { return pos_; }

  private:
    std::span<std::uint8_t> out_;
    std::size_t pos_ = 0;
};

class ByteReader {
  public:
    explicit ByteReader(std::span<const std::uint8_t> in) : in_(in) {}

    void i16(std::int16_t& v)
    {
        const auto lo = static_cast<std::uint16_t>(in_[pos_++]);
        const auto hi = static_cast<std::uint16_t>(in_[pos_++]);
        v = static_cast<std::int16_t>(static_cast<std::uint16_t>(lo | (hi << 8)));
    }
    void u8(std::uint8_t& v) { v = in_[pos_++]; }
    template <std::size_t N>
    void text(FixedText<N>& t)
    {
        for (std::size_t i = 0; i < N; ++i) t.bytes[i] = static_cast<char>(in_[pos_++]);
    }
    std::size_t position() const { return pos_; }

  private:
    std::span<const std::uint8_t> in_;
    std::size_t pos_ = 0;
};

template <class IO>
void visitChannel(IO& io, ChannelRecord& r)
{
    io.i16(r.ChNo);
    io.i16(r.Empty);
    io.i16(r.ScanSkip);
    io.text(r.RxFre);
    io.i16(r.DecodeTone);
    io.i16(r.EncodeTone);
    io.i16(r.FmPower);
    io.i16(r.FmPowerLock);
    io.i16(r.AmPower);
    io.i16(r.AmPowerLock);
    io.i16(r.AmFm);
    io.i16(r.AmFmLock);
    io.i16(r.RxExpand);
    io.i16(r.TxCompress);
    io.i16(r.NbAnl);
    io.i16(r.Attenuator);
    io.i16(r.HiCut);
    io.i16(r.BusyChannelLock);
    io.i16(r.RBTone);
    io.i16(r.SquelchMode);
    io.i16(r.BotCode);
    io.i16(r.EotCode);
    io.i16(r.CallCode);
    io.u8(r.ShiftDir);
    io.text(r.OffsetFre);
    io.i16(r.RxStep);
    io.i16(r.TxStep);
    io.i16(r.TxInhibit);
    io.i16(r.RevTalk);
    io.i16(r.Scramble);
    io.i16(r.Talkaround);
    io.i16(r.SignalLogic);
    io.i16(r.Whisper);
    io.i16(r.PttId);
    io.i16(r.Spacing);
    io.i16(r.OptSignal);
    io.i16(r.Compander);
    io.i16(r.Reverse);
    io.i16(r.Rep);
    io.i16(r.Tsq);
}

template <class IO>
void visitOptions(IO& io, OptionSettings& o)
{
    io.i16(o.TimeOutTimer);
    io.i16(o.CurrentGroup);
    io.i16(o.DisplayMode);
    io.i16(o.BacklightColor);
    io.i16(o.ScanMode);
    io.i16(o.ScanResumeTime);
    io.i16(o.Beep);
    io.i16(o.PublicData);
    io.i16(o.PttIdPause);
    // words 9 + 2g and 10 + 2g: the group's emergency channel 0, then 1
    for (auto& group : o.EmergencyRows) {
        for (auto& row : group) io.i16(row);
    }
    for (auto& group : o.GroupAmFm) {
        for (auto& entry : group) io.i16(entry);
    }
    io.i16(o.ResetGroupE);
    io.i16(o.ResetChannelE);
    io.i16(o.ResetGroupNormal);
    io.i16(o.ResetChannelNormal);
    io.i16(o.ResetGroupExtended);
    io.i16(o.ResetChannelExtended);
    visitChannel(io, o.Common);  // the common channel in its 90-byte file form
    io.text(o.PowerOnText);
    io.i16(o.SquelchLevel);
    io.i16(o.VoicePrompt);
    io.i16(o.VoiceVolume);
    io.i16(o.TailElimination);
    io.i16(o.BatterySave);
    io.i16(o.Vox);
    io.i16(o.VoxTone);
    io.i16(o.ChannelLock);
    io.i16(o.GroupSelect);
    io.i16(o.TotPreAlert);
    io.i16(o.CableClone);
    io.i16(o.NoSignalTailElimination);
    io.i16(o.FrequencyChangeable);
    io.i16(o.TotRekey);
    io.i16(o.TotReset);
    io.i16(o.VoxLevel);
    io.i16(o.VoxDelay);
}

template <class IO>
void visitDtmfCode(IO& io, DtmfCode& c)
{
    io.i16(c.Length);
    io.text(c.Digits);
}

template <class IO>
void visitDtmf(IO& io, DtmfSettings& d)
{
    io.i16(d.Rate);
    io.i16(d.FirstDigitTime);
    io.i16(d.FirstDigitDelay);
    io.i16(d.StarHashTime);
    io.i16(d.DKey);
    io.i16(d.SideTone);
    io.i16(d.CallAlert);
    io.i16(d.GroupCode);
    io.i16(d.AutoResetTimer);
    io.text(d.IdCode);
    io.i16(d.IdCodeLength);
    visitDtmfCode(io, d.PttIdBot);
    visitDtmfCode(io, d.PttIdEot);
    visitDtmfCode(io, d.StunCode);
    visitDtmfCode(io, d.KillCode);
    for (auto& code : d.Memory) visitDtmfCode(io, code);
}

template <class IO>
void visitRadioData(IO& io, RadioData& d)
{
    io.text(d.Version);
    io.i16(d.ChannelCount);
    for (auto& entry : d.RadioFre) {
        io.i16(entry.Value);
        io.text(entry.Frequency);
    }
    for (auto& entry : d.TestFre) {
        io.text(entry.Rx);
        io.text(entry.Tx);
    }
    io.text(d.ModelName);
    io.i16(d.BandCode);
    visitOptions(io, d.Options);
    visitDtmf(io, d.Dtmf);
    for (auto& line : d.Messages) io.text(line);
    for (auto& v : d.Keys.Values) io.i16(v);
    for (auto& v : d.Alerts.Values) io.u8(v);
    for (auto& v : d.Scan.Values) io.u8(v);
    for (auto& seq : d.Tips) {
        for (auto& note : seq.Notes) {
            io.i16(note.Frequency);
            io.i16(note.Duration);
        }
        io.i16(seq.RepeatCount);
        io.i16(seq.Interval);
    }
    for (auto& name : d.Groups) io.text(name);
}

// A layout mistake is a programming error: the field lists must fill the
// records exactly.
void checkFilled(std::size_t used, std::size_t expected)
{
    if (used != expected) throw std::logic_error("data file record layout does not fill its size");
}

}  // namespace

ChannelFileBytes channelToBytes(const ChannelRecord& record)
{
    ChannelFileBytes out{};
    ChannelRecord copy = record;
    ByteWriter w(out);
    visitChannel(w, copy);
    checkFilled(w.position(), kChannelFileRecordSize);
    return out;
}

ChannelRecord channelFromBytes(std::span<const std::uint8_t, kChannelFileRecordSize> bytes)
{
    ChannelRecord record;
    ByteReader r(bytes);
    visitChannel(r, record);
    checkFilled(r.position(), kChannelFileRecordSize);
    return record;
}

RadioDataFileBytes radioDataToBytes(const RadioData& data)
{
    RadioDataFileBytes out{};
    RadioData copy = data;
    ByteWriter w(out);
    visitRadioData(w, copy);
    checkFilled(w.position(), kRadioDataFileSize);
    return out;
}

RadioData radioDataFromBytes(std::span<const std::uint8_t, kRadioDataFileSize> bytes)
{
    RadioData data;
    ByteReader r(bytes);
    visitRadioData(r, data);
    checkFilled(r.position(), kRadioDataFileSize);
    return data;
}

std::int16_t readLe16(std::span<const std::uint8_t> bytes, std::size_t offset)
{
    if (offset + 2 > bytes.size()) return 0;
    const auto lo = static_cast<std::uint16_t>(bytes[offset]);
    const auto hi = static_cast<std::uint16_t>(bytes[offset + 1]);
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(lo | (hi << 8)));
}

}  // namespace zt
