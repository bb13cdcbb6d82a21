#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/radio/channel_record.h"
#include "core/radio/radio_data.h"
#include "core/radio/radio_image.h"

namespace zt {

constexpr int kSlotSize = 16;
// Frequency bytes of an erased slot; such a slot decodes to an empty channel.
constexpr std::uint16_t kErasedSlotKhz = 0xFFFF;

// The receive frequency as the codec reads it: cut at the first NUL, then
// trailing spaces removed.
std::string channelFrequencyText(const FixedText<8>& rxFre);

// True when the (cut) receive frequency is empty or "FFFFFFFF".
bool isBlankFrequency(std::string_view cutRxFre);

// The kHz number of a receive-frequency text before it is fitted into 16 bits:
// odd length gets a leading "0", then "0"s are appended up to 6 digits and the
// first 6 are read as a decimal number; a last digit 1 becomes 2, so a text
// ending in 125 (27.61125 MHz) is stored as ...2. Reading stops at the first
// character that is not a digit (leading spaces are skipped).
std::uint32_t frequencyKhzOfText(std::string_view cutRxFre);

// The 16-bit slot value of a kHz number: its first four hexadecimal digits.
std::uint16_t slotKhz(std::uint32_t khz);

// The receive-frequency text of a slot's kHz value: a value whose last digit is
// 1 or 2 stands for a frequency ending in 125 ("02761125" for 27612); any other
// value v gives "0" + v + "00" ("02760500" for 27605). Values below 10000 are
// written with five digits so that they read back as the same kHz number.
std::string rxFreOfSlotKhz(std::uint16_t khz);

// Bit of channel number chNo (1-based) in a 66-byte bitmap at offset base.
bool channelBit(const RadioImage& image, int base, int chNo);
void setChannelBit(RadioImage& image, int base, int chNo);

// The nine bytes a channel slot (bytes 6-14) and the common channel share: two
// big-endian tone codes, the flag byte, RB tone/squelch mode, BOT code/repeater
// offset, EOT code and call code.
void encodeToneAndCodeBytes(const ChannelRecord& rec, RadioImage& image, int offset);
void decodeToneAndCodeBytes(const RadioImage& image, int offset, ChannelRecord& rec);

// Encodes one channel into its slot and the two bitmaps. Updates rec.Empty; an
// empty channel (or a channel number outside 1-521) leaves the image untouched.
// The image must have been prepared with the slot area 0xFF and the bitmaps 0.
void encodeChannel(ChannelRecord& rec, RadioImage& image);

// The record a slot holds (index 0-520 = channel 1-521), present bit not looked at.
// An erased slot (frequency bytes 0xFF 0xFF) gives an empty channel: blank
// receive frequency, Empty = 1 and the values of a new channel.
ChannelRecord decodeChannel(const RadioImage& image, int index);

// The record of a new channel: ChNo, the stored receive frequency, an offset of
// seven NULs and every other field 0.
ChannelRecord newChannelRecord(int chNo, std::string_view rxStored);

}  // namespace zt
