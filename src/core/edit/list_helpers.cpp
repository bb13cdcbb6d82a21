#include "core/edit/list_helpers.h"

#include <algorithm>

#include "core/values/number_text.h"

namespace zt {
namespace {

// Index of the first entry equal to text, or -1.
int findEntry(const ListState& list, std::string_view text)
{
    const auto it = std::find(list.entries.begin(), list.entries.end(), text);
    return it == list.entries.end() ? -1 : static_cast<int>(it - list.entries.begin());
}

// Setting a list's text selects the first entry equal to it; "" clears the selection.
void selectEntryText(ListState& list, const std::string& entry)
{
    if (entry.empty()) {
        list.text.clear();
        list.index = -1;
        return;
    }
    list.text = entry;
    list.index = findEntry(list, entry);
}

}  // namespace

bool setCheckBox(std::int16_t& value)
{
    if (value != 0 && value != 1) value = 0;
    return value == 1;
}

std::optional<std::int64_t> listNumber(const ListState& list)
{
    if (!list.hasSelection()) return std::nullopt;
    const auto scaled = parseScaledDecimal(list.text, 0);
    if (!scaled || scaled->saturated) return std::nullopt;
    return scaled->rounded();
}

std::string entryForText(const ListState& list, std::string_view text)
{
    if (list.entries.empty()) return "";
    const int i = findEntry(list, text);
    return list.entries[static_cast<std::size_t>(i < 0 ? 0 : i)];
}

void selectByText(ListState& list, std::string_view text)
{
    selectEntryText(list, entryForText(list, text));
}

std::string entryAtIndex(const ListState& list, int index)
{
    if (list.entries.empty()) return "";
    const bool inside = index >= 0 && index < static_cast<int>(list.entries.size());
    return list.entries[static_cast<std::size_t>(inside ? index : 0)];
}

void selectByIndex(ListState& list, int index)
{
    selectEntryText(list, entryAtIndex(list, index));
}

void addUnique(ListState& list, std::string_view text)
{
    if (findEntry(list, text) < 0) list.entries.emplace_back(text);
}

int indexOfText(const ListState& list, std::string_view text, int defaultValue)
{
    if (list.entries.empty() || text.empty()) return defaultValue;
    return std::max(findEntry(list, text), 0);
}

std::int32_t numberOrDefault(std::string_view text, std::int32_t defaultValue)
{
    if (text.empty()) return defaultValue;
    return parseInt32Rounded(text).value_or(defaultValue);
}

}  // namespace zt
