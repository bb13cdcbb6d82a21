#include "core/files/ini_profile.h"

#include <atomic>
#include <fstream>
#include <iterator>
#include <random>
#include <system_error>
#include <vector>

namespace zt {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

std::string_view trimBlanks(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

char lowerAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

enum class LineKind { Blank, Comment, Section, Key, Other };

// One physical line of the text: [begin, contentEnd) is its content without
// the line break, `next` is where the following line starts.
struct Line {
    std::size_t begin = 0;
    std::size_t contentEnd = 0;
    std::size_t next = 0;
    LineKind kind = LineKind::Other;
    std::string_view name;   // section name or key
    std::string_view value;  // raw value of a key line
};

Line classify(std::string_view text, std::size_t begin, std::size_t contentEnd, std::size_t next)
{
    Line line{begin, contentEnd, next, LineKind::Other, {}, {}};
    std::string_view content = text.substr(begin, contentEnd - begin);
    if (begin == 0 && content.starts_with(kUtf8Bom)) content.remove_prefix(kUtf8Bom.size());
    const std::string_view lead = trimBlanks(content);
    if (lead.empty()) {
        line.kind = LineKind::Blank;
    } else if (lead.front() == ';') {
        line.kind = LineKind::Comment;
    } else if (lead.front() == '[') {
        const std::size_t close = lead.rfind(']');
        if (close != std::string_view::npos) {
            line.kind = LineKind::Section;
            line.name = trimBlanks(lead.substr(1, close - 1));
        }
    } else {
        const std::size_t eq = content.find('=');
        if (eq != std::string_view::npos) {
            const std::string_view key = trimBlanks(content.substr(0, eq));
            if (!key.empty()) {
                line.kind = LineKind::Key;
                line.name = key;
                line.value = content.substr(eq + 1);
            }
        }
    }
    return line;
}

// Calls visit(line) for every line; stops early when visit returns false.
template <typename Visit>
void scanLines(std::string_view text, Visit&& visit)
{
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = pos;
        while (end < text.size() && text[end] != '\n' && text[end] != '\r') ++end;
        std::size_t next = end;
        if (next < text.size()) {
            if (text[next] == '\r' && next + 1 < text.size() && text[next + 1] == '\n')
                next += 2;
            else
                next += 1;
        }
        if (!visit(classify(text, pos, end, next))) return;
        pos = next;
    }
}

std::string_view lineBreakOf(std::string_view text)
{
    const std::size_t at = text.find_first_of("\r\n");
    if (at == std::string_view::npos) {
#ifdef _WIN32
        return "\r\n";
#else
        return "\n";
#endif
    }
    if (text[at] == '\n') return "\n";
    if (at + 1 < text.size() && text[at + 1] == '\n') return "\r\n";
    return "\r";
}

bool hasLineBreakOrNul(std::string_view s)
{
    return s.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

// Length in bytes of the UTF-8 character starting at s[i]; a byte that does
// not start a well-formed sequence counts as one character of its own.
std::size_t utf8Length(std::string_view s, std::size_t i)
{
    const auto lead = static_cast<unsigned char>(s[i]);
    std::size_t len = 1;
    if (lead >= 0xC2 && lead <= 0xDF)
        len = 2;
    else if (lead >= 0xE0 && lead <= 0xEF)
        len = 3;
    else if (lead >= 0xF0 && lead <= 0xF4)
        len = 4;
    if (i + len > s.size()) return 1;
    for (std::size_t k = 1; k < len; ++k) {
        if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return 1;
    }
    return len;
}

std::atomic<unsigned> tempCounter{0};

// Keeps temporary names of two programs writing the same folder apart.
unsigned tempSalt()
{
    static const unsigned salt = std::random_device{}();
    return salt;
}

}  // namespace

bool profileNamesEqual(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (lowerAscii(a[i]) != lowerAscii(b[i])) return false;
    }
    return true;
}

std::string clipProfileValue(std::string_view raw, std::size_t maxChars)
{
    const std::size_t nul = raw.find('\0');
    if (nul != std::string_view::npos) raw = raw.substr(0, nul);
    raw = trimBlanks(raw);
    // One matching pair of quotes around the value is not part of it ("a b" reads as a b),
    // so a value can keep blanks at its ends.
    if (raw.size() >= 2 && (raw.front() == '"' || raw.front() == '\'') && raw.back() == raw.front())
        raw = raw.substr(1, raw.size() - 2);
    std::size_t pos = 0;
    for (std::size_t chars = 0; pos < raw.size() && chars < maxChars; ++chars) {
        pos += utf8Length(raw, pos);
    }
    return std::string(raw.substr(0, pos));
}

void forEachProfileEntry(
    std::string_view iniText,
    const std::function<void(std::string_view, std::string_view, std::string_view)>& visit)
{
    std::optional<std::string_view> section;
    scanLines(iniText, [&](const Line& line) {
        if (line.kind == LineKind::Section) {
            section = line.name;
        } else if (line.kind == LineKind::Key && section && !section->empty()) {
            visit(*section, line.name, line.value);  // "[]" names no section a read can ask for
        }
        return true;
    });
}

std::optional<std::string_view> findProfileValue(std::string_view iniText, std::string_view section,
                                                 std::string_view key)
{
    section = trimBlanks(section);
    key = trimBlanks(key);
    if (section.empty() || key.empty()) return std::nullopt;
    std::optional<std::string_view> found;
    bool inSection = false;
    scanLines(iniText, [&](const Line& line) {
        if (line.kind == LineKind::Section) {
            inSection = profileNamesEqual(line.name, section);
        } else if (inSection && line.kind == LineKind::Key && profileNamesEqual(line.name, key)) {
            found = line.value;
            return false;
        }
        return true;
    });
    return found;
}

bool setProfileValue(std::string& iniText, std::string_view section, std::string_view key,
                     std::string_view value)
{
    section = trimBlanks(section);
    key = trimBlanks(key);
    if (section.empty() || key.empty()) return false;
    if (hasLineBreakOrNul(section) || hasLineBreakOrNul(key) || hasLineBreakOrNul(value)) {
        return false;
    }
    if (section.find(']') != std::string_view::npos || key.find('=') != std::string_view::npos ||
        key.front() == '[' || key.front() == ';') {
        return false;
    }

    const std::string_view text = iniText;
    const std::string eol(lineBreakOf(text));
    std::optional<Line> keyLine;
    std::optional<Line> lastOfFirstSection;  // last non-blank line of the first matching section
    bool inSection = false;
    bool firstSectionDone = false;
    scanLines(text, [&](const Line& line) {
        if (line.kind == LineKind::Section) {
            if (inSection) firstSectionDone = true;
            inSection = profileNamesEqual(line.name, section);
            if (inSection && !firstSectionDone && !lastOfFirstSection) lastOfFirstSection = line;
            return true;
        }
        if (!inSection) return true;
        if (line.kind == LineKind::Key && profileNamesEqual(line.name, key)) {
            keyLine = line;
            return false;
        }
        if (!firstSectionDone && line.kind != LineKind::Blank) lastOfFirstSection = line;
        return true;
    });

    if (keyLine) {
        std::string replacement(keyLine->name);
        replacement += '=';
        replacement += value;
        iniText.replace(keyLine->begin, keyLine->contentEnd - keyLine->begin, replacement);
        return true;
    }

    std::string entry(key);
    entry += '=';
    entry += value;
    entry += eol;
    if (lastOfFirstSection) {
        std::size_t at = lastOfFirstSection->next;
        if (lastOfFirstSection->contentEnd == at) {  // last line of the text, no line break
            iniText.insert(at, eol);
            at += eol.size();
        }
        iniText.insert(at, entry);
        return true;
    }

    if (!iniText.empty()) {
        const char last = iniText.back();
        if (last != '\n' && last != '\r') iniText += eol;
        bool lastLineBlank = false;
        scanLines(iniText, [&](const Line& line) {
            lastLineBlank = line.kind == LineKind::Blank;
            return true;
        });
        if (!lastLineBlank) iniText += eol;
    }
    iniText += '[';
    iniText += section;
    iniText += ']';
    iniText += eol;
    iniText += entry;
    return true;
}

bool readFileBytes(const std::filesystem::path& file, std::string& bytes)
{
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file, ec)) return false;
    std::ifstream in(file, std::ios::binary);
    if (!in) return false;
    // A read error inside the stream buffer is thrown, whatever the stream's exception mask.
    try {
        std::string data{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        if (in.bad()) return false;
        bytes = std::move(data);
    } catch (const std::ios_base::failure&) {
        return false;
    }
    return true;
}

bool replaceFileBytes(const std::filesystem::path& file, std::string_view bytes)
{
    namespace fs = std::filesystem;
    std::error_code ec;
    // Replace the file a symbolic link points to, not the link.
    fs::path target = file;
    if (fs::is_symlink(file, ec)) {
        target = fs::weakly_canonical(file, ec);
        if (ec) return false;
    }
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    if (!fs::exists(folder, ec)) fs::create_directories(folder, ec);

    const fs::path temp =
        folder / (target.filename().string() + ".tmp" + std::to_string(tempSalt()) + "_" +
                  std::to_string(tempCounter++));
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        if (!out) return false;
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.flush();
        if (!out) {
            out.close();
            fs::remove(temp, ec);
            return false;
        }
    }
    const auto perms = fs::status(target, ec).permissions();
    if (!ec) fs::permissions(temp, perms, ec);
    fs::rename(temp, target, ec);
    if (ec) {
        std::error_code ignored;
        fs::remove(temp, ignored);
        return false;
    }
    return true;
}

std::string readProfileString(const std::filesystem::path& file, std::string_view section,
                              std::string_view key, std::string_view defaultValue,
                              std::size_t maxChars)
{
    std::string text;
    if (!readFileBytes(file, text)) return std::string(defaultValue);
    const auto raw = findProfileValue(text, section, key);
    if (!raw) return std::string(defaultValue);
    return clipProfileValue(*raw, maxChars);
}

bool writeProfileString(const std::filesystem::path& file, std::string_view section,
                        std::string_view key, std::string_view value)
{
    std::error_code ec;
    std::string text;
    if (std::filesystem::exists(file, ec)) {
        // An existing file that cannot be read is never replaced by a new one.
        if (!readFileBytes(file, text)) return false;
    } else if (ec) {
        return false;
    }
    if (!setProfileValue(text, section, key, value)) return false;
    return replaceFileBytes(file, text);
}

}  // namespace zt
