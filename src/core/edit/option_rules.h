#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/radio/fixed_text.h"
#include "core/radio/radio_data.h"

namespace zt {

// Ids of the optional-features window's controls, as its SaveOptFeat takes
// them: lists 0..40 by their number in the window's list array, check box n as
// 100 + n, and the power-on text as 140. Ids without a field change nothing.
namespace opt {
constexpr int SquelchLevel = 0;  // hidden lists 0..3, 5..9, 11
constexpr int VoicePrompt = 1;
constexpr int VoiceVolume = 2;
constexpr int TailElimination = 3;
constexpr int TimeOut = 4;
constexpr int BatterySave = 5;
constexpr int TotPreAlert = 6;
constexpr int TotRekey = 7;
constexpr int TotReset = 8;
constexpr int VoxLevel = 9;
constexpr int VoxDelay = 11;
constexpr int DisplayMode = 12;
constexpr int Backlight = 13;
constexpr int ScanMode = 14;
constexpr int ScanResume = 15;
constexpr int Decode = 29;
constexpr int Encode = 30;
constexpr int BusyLock = 31;
constexpr int Bot = 32;
constexpr int Eot = 33;
constexpr int Call = 34;
constexpr int RbTone = 35;
constexpr int SquelchMode = 36;
constexpr int Rep = 37;
constexpr int KeyBeep = 38;
constexpr int FrequencyChangeable = 39;
constexpr int Tsq = 40;
constexpr int ListCount = 41;

constexpr int CheckBase = 100;  // check box n has id 100 + n
constexpr int Vox = 100;        // 100..105: the hidden flags
constexpr int VoxTone = 101;
constexpr int ChannelLock = 102;
constexpr int GroupSelect = 103;
constexpr int CableClone = 104;
constexpr int NoSignalTail = 105;
constexpr int PublicData = 107;
constexpr int RxExpand = 108;  // 108..112: the public flags
constexpr int TxCompress = 109;
constexpr int NbAnl = 110;
constexpr int Attenuator = 111;
constexpr int HiCut = 112;
constexpr int CheckCount = 13;  // check boxes 0..12

constexpr int PowerOnText = 140;
constexpr int PowerOnBoxes = 16;
constexpr int HiddenPowerOnBoxes = 8;  // the first 8 boxes lie outside the visible area
}  // namespace opt

// The ids of the lists that carry a field, in loading order (the Decode list
// comes before busy lock and squelch mode, which depend on it).
const std::vector<int>& optionListIds();
// The ids of the check boxes that carry a field.
const std::vector<int>& optionCheckIds();

// One entry of a list: a literal text, or a language text by id.
struct ListEntry {
    std::string text;
    int textId = 0;  // when not 0 the entry shows this language text
};
// The fixed entries of list `id` (the BOT/EOT/call and RB lists are built
// from the document, see below; the busy-lock list holds its first two
// entries here, the third follows the Decode list). Empty for ids without one.
std::vector<ListEntry> optionListEntries(int id);

// The entry a list shows for the stored field: its index before the
// out-of-range fallback, so callers can apply "outside the list: entry 0".
// Nothing for the lists selected by text (BOT, EOT, call, RB) and for ids
// without a field.
std::optional<int> optionListIndexOf(const OptionSettings& o, int id);

// Writes one list's selection into the settings (copy, change, store back).
// `index` is the selected entry (-1: none, the field keeps its value); `text`
// is its text (the BOT/EOT/call lists store its number, 0 when not numeric).
// The RB list is stored by the caller through the RB mirror.
void storeOptionList(OptionSettings& o, int id, int index, const std::string& text);

// The value a check box shows (1 checked, anything else unchecked) and its
// click: stores 0 or 1. Ids without a field read as 0 and store nothing.
std::int16_t optionCheckValue(const OptionSettings& o, int id);
void storeOptionCheck(OptionSettings& o, int id, bool checked);

// A time-out value as its list index: round(value / 15), halves to even.
int timeOutIndexOf(int value);

// The numbers 1..16 of the memory codes whose length is above 0, ascending.
std::vector<int> nonEmptyDtmfCodes(const DtmfSettings& dtmf);
// The numbers 1..8 of the defined tone-tip sequences, ascending.
std::vector<int> definedToneTips(const RadioData& data);

// The RB list rule: the number shown for a stored RBTone (0 for off, for a
// value outside 0..8 and for an undefined sequence), i.e. the value the field
// holds after the list has been rebuilt.
int rbToneShown(const RadioData& data, int stored);
// The same rule for a BOT/EOT/call field and the non-empty memory codes.
int dtmfCodeShown(const DtmfSettings& dtmf, int stored);

// Power-on text boxes: the cut text right-aligned into 16 characters; box i
// holds character i, or nothing when it is a space.
std::array<std::string, opt::PowerOnBoxes> powerOnBoxes(const FixedText<16>& text);
// The text built from the boxes (first character of each, a space for an
// empty box), left-justified into 16 characters.
FixedText<16> powerOnTextOf(const std::array<std::string, opt::PowerOnBoxes>& boxes);
// Whether a typed character may go into a power-on box: A-Z, a-z, 0-9.
bool powerOnCharAccepted(char c);

}  // namespace zt
