#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace zt::gui {

// Record texts are one byte per character; bytes 0x80-0xFF map to
// U+0080-U+00FF, so every byte read from a radio or a file round-trips.
inline QString fromRecordText(std::string_view bytes)
{
    return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}
// Characters above U+00FF cannot be stored; they become '?'. Input boxes
// refuse them beforehand.
inline std::string toRecordText(const QString& text)
{
    std::string out;
    out.reserve(static_cast<std::size_t>(text.size()));
    for (QChar c : text) out.push_back(c.unicode() <= 0xFF ? static_cast<char>(c.unicode()) : '?');
    return out;
}
// Language texts are UTF-8.
inline QString fromLanguageText(const std::string& utf8)
{
    return QString::fromUtf8(utf8);
}

}  // namespace zt::gui
