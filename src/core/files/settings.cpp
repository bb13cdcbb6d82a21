#include "core/files/settings.h"

#include <cmath>
#include <fstream>
#include <limits>
#include <system_error>

#include "core/files/ini_profile.h"
#include "core/files/language.h"
#include "core/text_ids.h"
#include "core/values/number_text.h"

namespace zt {
namespace {

bool equalsNoCase(std::string_view text, std::string_view word)
{
    return profileNamesEqual(text, word);
}

std::string_view trimBlanks(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

}  // namespace

std::optional<int> parseSettingNumber(std::string_view text)
{
    const auto number = parseNumber(text);
    if (!number || !std::isfinite(*number)) return std::nullopt;
    const double rounded = std::nearbyint(*number);  // default rounding: half to even
    if (rounded < std::numeric_limits<std::int16_t>::min() ||
        rounded > std::numeric_limits<std::int16_t>::max()) {
        return std::nullopt;
    }
    return static_cast<int>(rounded);
}

std::optional<bool> parseSettingFlag(std::string_view text)
{
    const std::string_view t = trimBlanks(text);
    if (equalsNoCase(t, "true")) return true;
    if (equalsNoCase(t, "false")) return false;
    const auto number = parseNumber(t);
    if (!number) return std::nullopt;
    return *number != 0.0;
}

std::string readSetupValue(const std::filesystem::path& mySetupIni, std::string_view key)
{
    return readProfileString(mySetupIni, kSetupSection, key, "", kSetupValueMax);
}

bool writeSetupNumber(const std::filesystem::path& mySetupIni, std::string_view key, int value)
{
    return writeProfileString(mySetupIni, kSetupSection, key, std::to_string(value));
}

bool saveComPort(const InstallPaths& paths, int comPort)
{
    return writeSetupNumber(paths.mySetupIni(), kKeyComPort, comPort);
}

bool saveCurrentLanguage(const InstallPaths& paths, int language)
{
    return writeSetupNumber(paths.mySetupIni(), kKeyCurrentLanguage, language);
}

Message settingsNotSaved(const std::string& file)
{
    Message m;
    m.textId = text::msg::SettingsNotSaved;
    m.text = "\n" + file;
    m.icon = Icon::Warning;
    return m;
}

int languageOfLocale(std::uint32_t systemLocaleId)
{
    return systemLocaleId == 0x0804 ? kLanguageChinese : kLanguageEnglish;
}

StartupSettings loadStartupSettings(const std::filesystem::path& mySetupIni,
                                    std::uint32_t systemLocaleId)
{
    StartupSettings s;
    s.language = languageOfLocale(systemLocaleId);
    s.comPort = 1;

    s.firstRun = parseSettingFlag(readSetupValue(mySetupIni, kKeyIsFirstRun)).value_or(false);
    s.comPort = parseSettingNumber(readSetupValue(mySetupIni, kKeyComPort)).value_or(1);

    if (s.firstRun) {
        s.written = writeSetupNumber(mySetupIni, kKeyIsFirstRun, 0);
    } else {
        // Only 1 and 2 name a language; anything else keeps the locale's, so
        // the number in force always matches the language file in use.
        const auto stored = parseSettingNumber(readSetupValue(mySetupIni, kKeyCurrentLanguage));
        if (stored && (*stored == kLanguageEnglish || *stored == kLanguageChinese)) {
            s.language = *stored;
        }
    }
    s.languageFileName = std::string(languageFileNameOf(s.language));

    s.written = writeSetupNumber(mySetupIni, kKeyComPort, s.comPort) && s.written;
    s.written = writeSetupNumber(mySetupIni, kKeyCurrentLanguage, s.language) && s.written;
    return s;
}

SettingRecord loadSettingRecord(const std::filesystem::path& settingIni)
{
    SettingRecord record;
    std::ifstream in(settingIni, std::ios::binary);
    if (!in) return record;
    std::array<char, 4> bytes{};
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (in.gcount() != static_cast<std::streamsize>(bytes.size())) return record;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        record.Bytes[i] = static_cast<std::uint8_t>(bytes[i]);
    }
    return record;
}

bool saveSettingRecord(const std::filesystem::path& settingIni, const SettingRecord& record)
{
    // Written in place like a record file: bytes after the record stay.
    std::fstream out(settingIni, std::ios::binary | std::ios::in | std::ios::out);
    if (!out) {
        out.clear();
        out.open(settingIni, std::ios::binary | std::ios::out | std::ios::trunc);
        if (!out) return false;
    }
    std::array<char, 4> bytes{};
    for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(record.Bytes[i]);
    out.seekp(0);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.flush();
    return static_cast<bool>(out);
}

}  // namespace zt
