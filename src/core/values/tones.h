#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace zt {

// The tone list every tone field and tone drop-down uses, by index:
//   0         no tone ("OFF")
//   1..50     CTCSS tone index-1 of kCtcssTenthsHz ("67.0" .. "254.1")
//   51..157   DCS code index-51 of kDcsCodes, normal ("D017N" .. "D754N")
//   158..264  DCS code index-158 of kDcsCodes, inverted ("D017I" .. "D754I")
constexpr int kToneCount = 265;
constexpr int kCtcssCount = 50;
constexpr int kDcsCount = 107;
constexpr int kFirstCtcssIndex = 1;
constexpr int kFirstDcsNormalIndex = kFirstCtcssIndex + kCtcssCount;      // 51
constexpr int kFirstDcsInvertedIndex = kFirstDcsNormalIndex + kDcsCount;  // 158

// Code of "no tone" in the radio image; also returned for an index outside the list.
constexpr std::uint16_t kNoToneCode = 0xFFFF;
// High nibble of a DCS code: normal and inverted. A CTCSS code has high nibble 0.
constexpr std::uint16_t kDcsNormalBase = 0xD000;
constexpr std::uint16_t kDcsInvertedBase = 0x8000;

// CTCSS tones in tenths of Hz (the value that is also their radio code).
extern const std::array<std::uint16_t, kCtcssCount> kCtcssTenthsHz;
// DCS codes as their numeric value (written in octal: 017 is 15).
extern const std::array<std::uint16_t, kDcsCount> kDcsCodes;

// Radio code of a tone index: 0xFFFF for index 0 and for any index outside 0..264;
// CTCSS: tenths of Hz; DCS normal: 0xD000 + code; DCS inverted: 0x8000 + code.
std::uint16_t toneCodeOfIndex(int index);

// Tone index of a radio code; 0 (no tone) for any code that names no list entry.
int toneIndexOfCode(std::uint16_t code);

// Text shown for a tone index: "OFF", "67.0", "D017N", "D017I"; "" outside 0..264.
std::string toneText(int index);

// The 265 texts in list order.
const std::vector<std::string>& toneListTexts();

}  // namespace zt
