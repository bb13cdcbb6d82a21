#pragma once

#include <string>
#include <string_view>

#include "core/radio/fixed_text.h"

namespace zt {

constexpr std::size_t kMessageLineLength = 16;

// How an embedded-message line is stored: a text of 16 characters as it is;
// a shorter one followed by one NUL and spaces up to 16. A longer text is cut
// to 16 characters.
FixedText<kMessageLineLength> messageLineFromText(std::string_view text);

// What a message box shows of a stored line: trailing spaces removed, then
// cut before the first NUL.
std::string messageLineText(const FixedText<kMessageLineLength>& line);

}  // namespace zt
