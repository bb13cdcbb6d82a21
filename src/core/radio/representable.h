#pragma once

#include <functional>
#include <string>
#include <vector>

#include "core/radio/radio_data.h"

namespace zt {

// Every value of the document that the radio image cannot hold, each as one
// sentence a user understands ("Channel 12: receive tone index 300 is outside
// 0–264."). Empty means the document can be written as it is. Nothing is
// changed: a write must be refused rather than send clamped values.
//
// Checked: channel numbers (1–521, unique), receive frequencies (digits whose
// kHz value fits the slot's 16 bits), scan skip (0–1), tone indexes (0–264), the slot's bit
// fields (0–1 flags, busy channel lock 0–3, RB tone and squelch mode 0–15, BOT
// code 0–31, repeater offset 0–3), EOT and call codes and every other value
// byte (0–255), the time-out timer (0–3839 seconds), channel-coded emergency
// and reset channels (0–255), the common channel's fields, tone tips, DTMF
// memory-code characters, and text characters the radio reads as an end mark.
//
// The sentences are built from phrases looked up by language-text id through
// `phrases` ("%1" .. "%4" in a phrase take the values); a missing lookup or an
// empty phrase gives the built-in English one.
using PhraseLookup = std::function<std::string(int id)>;
std::vector<std::string> unrepresentableFields(const RadioDocument& doc,
                                               const PhraseLookup& phrases = {});

}  // namespace zt
