#pragma once

#include <concepts>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zt {

// What the value helpers need of a drop-down list: its entries 0..n-1, its edit text and its
// selected entry (-1 for none). Windows copy their control into one, call a helper and copy
// the result back.
struct ListState {
    std::vector<std::string> entries;
    std::string text;
    int index = -1;

    bool hasSelection() const { return index >= 0 && index < static_cast<int>(entries.size()); }
};

// Shows a 0/1 value in a check box and returns whether the box is set. A value the box cannot
// show (above 1, or negative) is first changed to 0 in the caller's variable.
bool setCheckBox(std::int16_t& value);

// The list's text as a number rounded to an integer (halves to even), when an entry is
// selected and the text is a number; nothing otherwise.
std::optional<std::int64_t> listNumber(const ListState& list);

// out = the number in the list's text when an entry is selected and the text is a number
// that fits in T; otherwise out = defaultValue.
template <std::integral T>
void listNumberOrDefault(const ListState& list, T& out, T defaultValue)
{
    const auto n = listNumber(list);
    const bool fits = n && *n >= static_cast<std::int64_t>(std::numeric_limits<T>::min()) &&
                      *n <= static_cast<std::int64_t>(std::numeric_limits<T>::max());
    out = fits ? static_cast<T>(*n) : defaultValue;
}

// out = the selected index when an entry is selected; out is left unchanged otherwise.
template <std::integral T>
void listIndexIfSelected(const ListState& list, T& out)
{
    if (list.hasSelection()) out = static_cast<T>(list.index);
}

// The first entry equal to text; entry 0 when none is; "" for an empty list.
std::string entryForText(const ListState& list, std::string_view text);

// Selects entryForText(text) (text and index); selects nothing when that is "".
void selectByText(ListState& list, std::string_view text);

// The entry at index; entry 0 for an index outside the list; "" for an empty list.
std::string entryAtIndex(const ListState& list, int index);

// Selects entryAtIndex(index) (text and index of its first occurrence); selects nothing when
// that is "".
void selectByIndex(ListState& list, int index);

// Appends text unless an entry equals it.
void addUnique(ListState& list, std::string_view text);

// The index of the first entry equal to text; 0 when none is; defaultValue for an empty list
// or an empty text.
int indexOfText(const ListState& list, std::string_view text, int defaultValue);

// A numeric text as a 32-bit integer (rounded, halves to even); defaultValue for an empty
// text, a text that is not a number, or a number outside the 32-bit range.
std::int32_t numberOrDefault(std::string_view text, std::int32_t defaultValue);

}  // namespace zt
