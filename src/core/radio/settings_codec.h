#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/radio/program_state.h"
#include "core/radio/radio_data.h"
#include "core/radio/radio_image.h"

namespace zt {

// Image offsets of the single option and DTMF bytes.
namespace img {
constexpr int TimeOutTimer = 8560;
constexpr int DtmfSideTone = 8561;
constexpr int CurrentGroup = 8562;
constexpr int DisplayMode = 8563;
constexpr int BacklightColor = 8564;
constexpr int ScanMode = 8565;
constexpr int ScanResumeTime = 8566;
constexpr int Beep = 8567;
constexpr int PublicData = 8568;
constexpr int DtmfRate = 8569;
constexpr int DtmfFirstDigitDelay = 8570;
constexpr int DtmfFirstDigitTime = 8571;
constexpr int DtmfStarHashTime = 8572;
constexpr int DtmfDKey = 8573;
constexpr int PttIdPause = 8574;
constexpr int FrequencyChangeable = 8575;
constexpr int EmergencyRowsSecond = 9236;
constexpr int GroupAmFmSecond = 9260;
constexpr int ToneTipSize = 30;
constexpr int DtmfCodeSize = 16;
constexpr int GroupNameSize = 3;
constexpr int TextSize = 16;
}  // namespace img

// Channel coding of emergency and reset-mode channels: 0 (none) <-> 0xFF,
// channel n >= 1 <-> n - 1.
std::uint8_t channelCodeByte(int channel);
int channelOfCodeByte(std::uint8_t byte);

// Value of a DTMF character in the image: 0-9, A-D, "*" (or E) and "#" (or F)
// give 0x00-0x0F; lower-case hexadecimal letters count as their upper-case
// form. Any other character gives -1.
int dtmfDigitValue(char c);

// A DTMF memory code into the 16 bytes at offset (digits, then 0xFF). A length
// above 16 (or below 0) stores no digits; a shorter text gets leading "0"s.
// A character that is not a DTMF digit is stored as 0xFF.
void encodeDtmfCode(const DtmfCode& code, RadioImage& image, int offset);
DtmfCode decodeDtmfCode(const RadioImage& image, int offset);

// The cut text into size bytes at offset, followed by the filler.
void encodeText(std::string_view cutText, RadioImage& image, int offset, int size,
                std::uint8_t filler);
FixedText<16> decodePowerOnText(const RadioImage& image);
FixedText<16> decodeMessageLine(const RadioImage& image, int line);
FixedText<3> decodeGroupName(const RadioImage& image, int group);

// Option settings, DTMF, message lines, group names and tone tips, in that order.
void encodeSettings(const RadioData& data, RadioImage& image);
// The same five records from the image; fields the image does not carry keep
// their values.
void decodeSettings(const RadioImage& image, RadioData& data);

// Feature-flag byte 8700 after a read: bits 3 and 2 become the two write-refusal
// flags; each SettingRecord byte that is 0 takes bit 3, 2, 1, 0 respectively.
void applyFeatureFlags(std::uint8_t flags, ProgramState& state);

}  // namespace zt
