#include "core/files/language.h"

#include <array>
#include <string>
#include <system_error>
#include <utility>

#include "core/files/ini_profile.h"
#include "core/text_ids.h"

namespace zt {
namespace {

std::string_view trimBlanks(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

std::string lowerAscii(std::string_view s)
{
    std::string out(s);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return out;
}

std::string cacheKey(std::string_view section, std::string_view key)
{
    std::string k = lowerAscii(section);
    k += '\n';  // never part of a name
    k += lowerAscii(key);
    return k;
}

// What GetLangText returns for a raw value: read as a profile string, then
// trimmed once more (a 254-character cut may end in spaces).
std::string langTextOf(std::string_view raw)
{
    return std::string(trimBlanks(clipProfileValue(raw, kProfileValueMax)));
}

constexpr std::array<std::string_view, 22> kThousandSections = {
    "Menu",    "ToolBar",  "Main",   "Model",    "ChannelInfo", "ChannelEdit", "Option", "Radio",
    "DTMF",    "TestFre",  "EMG",    "Local",    "Port",        "Lang",        "About",  "KeySet",
    "ScanSet", "AlertSet", "CHEdit", "TONETIPS", "GroupName",   "ResetMode"};

}  // namespace

std::string_view languageSectionOf(int textId)
{
    if (textId < 9000) return "OTHER";
    if (textId < 10000) return "Msg";
    if (textId >= 32000) return "Others";
    return kThousandSections[static_cast<std::size_t>(textId / 1000 - 10)];
}

std::string_view languageFileNameOf(int language)
{
    return language == kLanguageChinese ? "chinese.ini" : "english.ini";
}

std::string readLangTextFromFile(const std::filesystem::path& languageFile, int textId)
{
    std::string text;
    if (!readFileBytes(languageFile, text)) return {};
    const auto raw = findProfileValue(text, languageSectionOf(textId), std::to_string(textId));
    return raw ? langTextOf(*raw) : std::string();
}

LanguageTexts::LanguageTexts(std::filesystem::path languageDir, int language)
    : dir_(std::move(languageDir))
{
    setLanguage(language);
}

void LanguageTexts::setLanguageDir(std::filesystem::path languageDir)
{
    dir_ = std::move(languageDir);
}

void LanguageTexts::setLanguage(int language)
{
    language_ = language == kLanguageChinese ? kLanguageChinese : kLanguageEnglish;
}

void LanguageTexts::refreshCache() const
{
    const std::filesystem::path file = filePath();
    std::error_code sizeError;
    std::error_code timeError;
    const std::uintmax_t size = std::filesystem::file_size(file, sizeError);
    const auto modified = std::filesystem::last_write_time(file, timeError);
    const bool present = !sizeError && !timeError;

    if (cache_.valid && cache_.file == file && cache_.present == present &&
        (!present || (cache_.size == size && cache_.modified == modified))) {
        return;
    }

    cache_ = Cache{};
    cache_.file = file;
    std::string bytes;
    if (present && !readFileBytes(file, bytes)) return;  // unreadable now: try again next time
    cache_.present = present;
    cache_.size = size;
    cache_.modified = modified;
    if (present) {
        forEachProfileEntry(
            bytes, [&](std::string_view section, std::string_view key, std::string_view raw) {
                // The first occurrence wins, as for a read of the file.
                cache_.texts.try_emplace(cacheKey(section, key), langTextOf(raw));
            });
    }
    cache_.valid = true;
}

std::string LanguageTexts::GetLangText(int textId) const
{
    refreshCache();
    std::string text;
    if (!cache_.valid) {
        text = readLangTextFromFile(filePath(), textId);
    } else {
        const auto it =
            cache_.texts.find(cacheKey(languageSectionOf(textId), std::to_string(textId)));
        if (it != cache_.texts.end()) text = it->second;
    }
    if (text.empty()) missing_.insert(textId);
    return text;
}

TextLookup LanguageTexts::lookup() const
{
    return [this](int textId) { return GetLangText(textId); };
}

std::vector<ButtonCaption> commonButtonCaptions(
    const std::function<bool(std::string_view)>& hasControl)
{
    static constexpr std::array<ButtonCaption, 4> kCommon = {
        {{"CommandOK", text::msg::OkCaption},
         {"CommandCancel", text::msg::CancelCaption},
         {"CommandClose", text::msg::CloseCaption},
         {"CommandHelp", text::msg::HelpCaption}}};
    std::vector<ButtonCaption> result;
    for (const ButtonCaption& button : kCommon) {
        if (hasControl(button.controlName)) result.push_back(button);
    }
    return result;
}

void applyCommonButtonCaptions(
    const std::function<bool(std::string_view)>& hasControl,
    const std::function<void(std::string_view, const std::string&)>& setCaption,
    const TextLookup& text)
{
    for (const ButtonCaption& button : commonButtonCaptions(hasControl)) {
        setCaption(button.controlName, text(button.textId));
    }
}

}  // namespace zt
