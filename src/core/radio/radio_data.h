#pragma once

#include <array>
#include <cstdint>

#include "core/radio/channel_record.h"
#include "core/radio/fixed_text.h"

namespace zt {

constexpr int kGroupCount = 13;     // groups 0..12; group 12 is the VFO channel alone
constexpr int kNamedGroups = 12;    // groups 0..11 carry names, emergency rows and AM/FM entries
constexpr int kToneTipCount = 8;
constexpr int kToneTipNotes = 14;
constexpr int kDtmfMemoryCodes = 16;

// Radio-wide option settings. Words 0..62, the common channel, the power-on
// text and words 132..148, in record order.
struct OptionSettings {
    std::int16_t TimeOutTimer = 0;
    std::int16_t CurrentGroup = 0;
    std::int16_t DisplayMode = 0;
    std::int16_t BacklightColor = 0;
    std::int16_t ScanMode = 0;
    std::int16_t ScanResumeTime = 0;
    std::int16_t Beep = 0;
    std::int16_t PublicData = 0;
    std::int16_t PttIdPause = 0;
    // [group][0|1]: the group's two emergency channels (0 none, else channel row)
    std::array<std::array<std::int16_t, 2>, kNamedGroups> EmergencyRows{};
    std::array<std::array<std::int16_t, 2>, kNamedGroups> GroupAmFm{};
    std::int16_t ResetGroupE = 0;
    std::int16_t ResetChannelE = 0;
    std::int16_t ResetGroupNormal = 0;
    std::int16_t ResetChannelNormal = 0;
    std::int16_t ResetGroupExtended = 0;
    std::int16_t ResetChannelExtended = 0;
    // The public settings live in these fields of the common channel:
    // DecodeTone, EncodeTone, RxExpand..HiCut, BusyChannelLock, RBTone,
    // SquelchMode, BotCode, EotCode, CallCode, Rep, Tsq.
    ChannelRecord Common;
    FixedText<16> PowerOnText;
    std::int16_t SquelchLevel = 0;
    std::int16_t VoicePrompt = 0;
    std::int16_t VoiceVolume = 0;
    std::int16_t TailElimination = 0;
    std::int16_t BatterySave = 0;
    std::int16_t Vox = 0;
    std::int16_t VoxTone = 0;
    std::int16_t ChannelLock = 0;
    std::int16_t GroupSelect = 0;
    std::int16_t TotPreAlert = 0;
    std::int16_t CableClone = 0;
    std::int16_t NoSignalTailElimination = 0;
    std::int16_t FrequencyChangeable = 0;
    std::int16_t TotRekey = 0;
    std::int16_t TotReset = 0;
    std::int16_t VoxLevel = 0;
    std::int16_t VoxDelay = 0;

    friend bool operator==(const OptionSettings&, const OptionSettings&) = default;
};

struct DtmfCode {
    std::int16_t Length = 0;
    FixedText<16> Digits;

    friend bool operator==(const DtmfCode&, const DtmfCode&) = default;
};

struct DtmfSettings {
    std::int16_t Rate = 0;
    std::int16_t FirstDigitTime = 0;
    std::int16_t FirstDigitDelay = 0;
    std::int16_t StarHashTime = 0;
    std::int16_t DKey = 0;
    std::int16_t SideTone = 0;
    std::int16_t CallAlert = 0;
    std::int16_t GroupCode = 0;
    std::int16_t AutoResetTimer = 0;
    FixedText<10> IdCode;
    std::int16_t IdCodeLength = 0;
    DtmfCode PttIdBot;
    DtmfCode PttIdEot;
    DtmfCode StunCode;
    DtmfCode KillCode;
    std::array<DtmfCode, kDtmfMemoryCodes> Memory{};

    friend bool operator==(const DtmfSettings&, const DtmfSettings&) = default;
};

struct ToneTipNote {
    std::int16_t Frequency = 0;
    std::int16_t Duration = 0;
    friend bool operator==(const ToneTipNote&, const ToneTipNote&) = default;
};

struct ToneTipSequence {
    std::array<ToneTipNote, kToneTipNotes> Notes{};
    std::int16_t RepeatCount = 0;
    std::int16_t Interval = 0;
    friend bool operator==(const ToneTipSequence&, const ToneTipSequence&) = default;
};

using ToneTips = std::array<ToneTipSequence, kToneTipCount>;
using GroupNames = std::array<FixedText<3>, kNamedGroups>;
using MessageLines = std::array<FixedText<16>, 4>;

struct KeySettings {
    std::array<std::int16_t, 6> Values{};
    friend bool operator==(const KeySettings&, const KeySettings&) = default;
};
struct AlertSettings {
    std::array<std::uint8_t, 11> Values{};
    friend bool operator==(const AlertSettings&, const AlertSettings&) = default;
};
struct ScanSettings {
    std::array<std::uint8_t, 12> Values{};
    friend bool operator==(const ScanSettings&, const ScanSettings&) = default;
};

struct RadioFreEntry {
    std::int16_t Value = 0;
    FixedText<8> Frequency;
    friend bool operator==(const RadioFreEntry&, const RadioFreEntry&) = default;
};
struct TestFreEntry {
    FixedText<8> Rx;
    FixedText<8> Tx;
    friend bool operator==(const TestFreEntry&, const TestFreEntry&) = default;
};

// The document record: everything but the channels.
struct RadioData {
    FixedText<4> Version;
    std::int16_t ChannelCount = 0;
    std::array<RadioFreEntry, 20> RadioFre{};
    std::array<TestFreEntry, 11> TestFre{};
    FixedText<8> ModelName;
    std::int16_t BandCode = 0;
    OptionSettings Options;
    DtmfSettings Dtmf;
    MessageLines Messages{};
    KeySettings Keys;
    AlertSettings Alerts;
    ScanSettings Scan;
    ToneTips Tips{};
    GroupNames Groups{};

    friend bool operator==(const RadioData&, const RadioData&) = default;
};

// One open document: the record and the channel table whose first
// Data.ChannelCount entries are valid. Channels are found by ChNo.
struct RadioDocument {
    RadioData Data;
    ChannelTable Channels{};

    ChannelRecord* findChannel(int chNo);
    const ChannelRecord* findChannel(int chNo) const;
    int indexOfChannel(int chNo) const;  // -1 when absent
};

}  // namespace zt
