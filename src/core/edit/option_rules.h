#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/radio/fixed_text.h"
#include "core/radio/radio_data.h"

namespace zt {

// The optional-features window's controls, numbered as its control arrays number them:
// lists 0..40 by their number in the window's list array, check box n as 100 + n, and
// the power-on text as 140. Controls without a field change nothing.
enum class OptionControl : int {
    SquelchLevel = 0,  // hidden lists 0..3, 5..9, 11
    VoicePrompt = 1,
    VoiceVolume = 2,
    TailElimination = 3,
    TimeOut = 4,
    BatterySave = 5,
    TotPreAlert = 6,
    TotRekey = 7,
    TotReset = 8,
    VoxLevel = 9,
    VoxDelay = 11,
    DisplayMode = 12,
    Backlight = 13,
    ScanMode = 14,
    ScanResume = 15,
    Decode = 29,
    Encode = 30,
    BusyLock = 31,
    Bot = 32,
    Eot = 33,
    Call = 34,
    RbTone = 35,
    SquelchMode = 36,
    Rep = 37,
    KeyBeep = 38,
    FrequencyChangeable = 39,
    Tsq = 40,
    Vox = 100,  // 100..105: the hidden flags
    VoxTone = 101,
    ChannelLock = 102,
    GroupSelect = 103,
    CableClone = 104,
    NoSignalTail = 105,
    PublicData = 107,
    RxExpand = 108,  // 108..112: the public flags
    TxCompress = 109,
    NbAnl = 110,
    Attenuator = 111,
    HiCut = 112,
    PowerOnText = 140,
};

namespace opt {
using enum OptionControl;
inline constexpr int ListCount = 41;
inline constexpr int CheckBase = 100;  // check box n has id 100 + n
inline constexpr int CheckCount = 13;  // check boxes 0..12
inline constexpr int PowerOnBoxes = 16;
inline constexpr int HiddenPowerOnBoxes = 8;  // the first 8 boxes lie outside the visible area
}  // namespace opt

// A control's number in its array: the list number, or n of check box n.
constexpr int controlNumber(OptionControl id)
{
    const int n = static_cast<int>(id);
    return n >= opt::CheckBase && n < opt::CheckBase + opt::CheckCount ? n - opt::CheckBase : n;
}
// List n (0..40) and check box n (0..12) as controls.
constexpr OptionControl listControl(int n)
{
    return static_cast<OptionControl>(n);
}
constexpr OptionControl checkControl(int n)
{
    return static_cast<OptionControl>(opt::CheckBase + n);
}
constexpr bool isCheckControl(OptionControl id)
{
    const int n = static_cast<int>(id);
    return n >= opt::CheckBase && n < opt::CheckBase + opt::CheckCount;
}

// The ids of the lists that carry a field, in loading order (the Decode list
// comes before busy lock and squelch mode, which depend on it).
const std::vector<OptionControl>& optionListIds();
// The ids of the check boxes that carry a field.
const std::vector<OptionControl>& optionCheckIds();

// One entry of a list: a literal text, or a language text by id.
struct ListEntry {
    std::string text;
    int textId = 0;  // when not 0 the entry shows this language text
};
// The fixed entries of list `id` (the BOT/EOT/call and RB lists are built
// from the document, see below; the busy-lock list holds its first two
// entries here, the third follows the Decode list). Empty for ids without one.
std::vector<ListEntry> optionListEntries(OptionControl id);

// The entry a list shows for the stored field: its index before the
// out-of-range fallback, so callers can apply "outside the list: entry 0".
// Nothing for the lists selected by text (BOT, EOT, call, RB) and for ids
// without a field.
std::optional<int> optionListIndexOf(const OptionSettings& o, OptionControl id);

// Writes one list's selection into the settings (copy, change, store back).
// `index` is the selected entry (-1: none, the field keeps its value); `text`
// is its text (the BOT/EOT/call lists store its number, 0 when not numeric).
// The RB list is stored by the caller through the RB mirror.
void storeOptionList(OptionSettings& o, OptionControl id, int index, const std::string& text);

// The value a check box shows (1 checked, anything else unchecked) and its
// click: stores 0 or 1. Ids without a field read as 0 and store nothing.
std::int16_t optionCheckValue(const OptionSettings& o, OptionControl id);
void storeOptionCheck(OptionSettings& o, OptionControl id, bool checked);

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
