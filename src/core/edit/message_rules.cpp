#include "core/edit/message_rules.h"

namespace zt {

FixedText<kMessageLineLength> messageLineFromText(std::string_view text)
{
    if (text.size() >= kMessageLineLength) return FixedText<kMessageLineLength>(text);
    std::string stored(text);
    stored.push_back('\0');  // FixedText pads the rest with spaces
    return FixedText<kMessageLineLength>(stored);
}

std::string messageLineText(const FixedText<kMessageLineLength>& line)
{
    return line.cut();
}

}  // namespace zt
