#pragma once

#include <array>
#include <cstdint>

#include "core/radio/fixed_text.h"

namespace zt {

constexpr int kMaxChannels = 521;
constexpr int kVfoChannel = 521;

// One channel's 40 fields, in record order.
struct ChannelRecord {
    std::int16_t ChNo = 0;
    std::int16_t Empty = 0;
    std::int16_t ScanSkip = 0;
    FixedText<8> RxFre;
    std::int16_t DecodeTone = 0;
    std::int16_t EncodeTone = 0;
    std::int16_t FmPower = 0;
    std::int16_t FmPowerLock = 0;
    std::int16_t AmPower = 0;
    std::int16_t AmPowerLock = 0;
    std::int16_t AmFm = 0;
    std::int16_t AmFmLock = 0;
    std::int16_t RxExpand = 0;
    std::int16_t TxCompress = 0;
    std::int16_t NbAnl = 0;
    std::int16_t Attenuator = 0;
    std::int16_t HiCut = 0;
    std::int16_t BusyChannelLock = 0;
    std::int16_t RBTone = 0;
    std::int16_t SquelchMode = 0;
    std::int16_t BotCode = 0;
    std::int16_t EotCode = 0;
    std::int16_t CallCode = 0;
    std::uint8_t ShiftDir = 0;
    FixedText<7> OffsetFre;
    std::int16_t RxStep = 0;
    std::int16_t TxStep = 0;
    std::int16_t TxInhibit = 0;
    std::int16_t RevTalk = 0;
    std::int16_t Scramble = 0;
    std::int16_t Talkaround = 0;
    std::int16_t SignalLogic = 0;
    std::int16_t Whisper = 0;
    std::int16_t PttId = 0;
    std::int16_t Spacing = 0;
    std::int16_t OptSignal = 0;
    std::int16_t Compander = 0;
    std::int16_t Reverse = 0;
    std::int16_t Rep = 0;
    std::int16_t Tsq = 0;

    friend bool operator==(const ChannelRecord&, const ChannelRecord&) = default;
};

using ChannelTable = std::array<ChannelRecord, kMaxChannels>;

}  // namespace zt
