#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "core/radio/channel_record.h"
#include "core/radio/radio_data.h"

namespace zt {

// Sizes of the records in their file form: the main ".dat" file holds one
// RadioData record, the companion file one ChannelRecord per channel.
constexpr std::size_t kRadioDataFileSize = 1663;
constexpr std::size_t kChannelFileRecordSize = 90;

// Offsets inside the RadioData file record that readers look at before the
// whole record is parsed.
constexpr std::size_t kFileVersionOffset = 0;
constexpr std::size_t kFileVersionLength = 4;
constexpr std::size_t kFileChannelCountOffset = 4;

using ChannelFileBytes = std::array<std::uint8_t, kChannelFileRecordSize>;
using RadioDataFileBytes = std::array<std::uint8_t, kRadioDataFileSize>;

// Byte-exact serialisers. 16-bit fields are little-endian two's complement,
// texts one byte per character exactly as held (NULs and padding included),
// byte fields one unsigned byte. Every byte of a file record maps to exactly
// one byte of the in-memory record, so bytes -> record -> bytes is lossless.
ChannelFileBytes channelToBytes(const ChannelRecord& record);
ChannelRecord channelFromBytes(std::span<const std::uint8_t, kChannelFileRecordSize> bytes);

RadioDataFileBytes radioDataToBytes(const RadioData& data);
RadioData radioDataFromBytes(std::span<const std::uint8_t, kRadioDataFileSize> bytes);

// The little-endian 16-bit value at `offset` (used to peek at the channel
// count before a record is parsed).
std::int16_t readLe16(std::span<const std::uint8_t> bytes, std::size_t offset);

}  // namespace zt
