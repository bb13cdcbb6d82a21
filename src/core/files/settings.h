#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "core/files/install_paths.h"
#include "core/host/prompt.h"
#include "core/radio/program_state.h"

namespace zt {

// mysetup.ini (installation root/language/mysetup.ini): one section "language"
// with the keys IsFirstRun, comPort and CurrentLanguage.
constexpr std::string_view kSetupSection = "language";
constexpr std::string_view kKeyIsFirstRun = "IsFirstRun";
constexpr std::string_view kKeyComPort = "comPort";
constexpr std::string_view kKeyCurrentLanguage = "CurrentLanguage";
constexpr std::size_t kSetupValueMax = 511;  // values are read through a 512-character buffer

// The offset display preference of the channel grid and editor: always true.
struct HabitRecord {
    bool UseOffset = true;
};

// A whole number in 16-bit range from a settings value ("2", " 3 ", "1.5"
// rounds half to even like any number text); nothing when it is missing,
// empty, not numeric or out of range.
std::optional<int> parseSettingNumber(std::string_view text);

// A boolean setting: a number (0 false, anything else true) or "True"/"False"
// in any case; nothing otherwise.
std::optional<bool> parseSettingFlag(std::string_view text);

// One value of section "language" of mysetup.ini, read like the program does
// (empty default, up to 511 characters, cut at NUL).
std::string readSetupValue(const std::filesystem::path& mySetupIni, std::string_view key);

// Writes a number as decimal text to section "language".
[[nodiscard]] bool writeSetupNumber(const std::filesystem::path& mySetupIni, std::string_view key,
                                    int value);

// The COM-port window's OK and the language window's OK.
[[nodiscard]] bool saveComPort(const InstallPaths& paths, int comPort);
[[nodiscard]] bool saveCurrentLanguage(const InstallPaths& paths, int language);

// The warning that a settings file (mysetup.ini, Setting.ini, the window
// position store) could not be written: the program goes on with the values in
// force, which the next start will not see. `file` is named after the text.
Message settingsNotSaved(const std::string& file);

// The language a system locale id asks for: 0x0804 (Chinese, PRC) gives
// Chinese, anything else English.
int languageOfLocale(std::uint32_t systemLocaleId);

// What start-up takes from mysetup.ini.
struct StartupSettings {
    bool firstRun = false;
    int comPort = 1;
    int language = 1;  // 1 English, 2 Chinese
    std::string languageFileName = "english.ini";
    bool written = true;  // the write-back reached mysetup.ini
};

// Start-up reading of mysetup.ini: the language starts from the system locale
// and the port at 1; IsFirstRun and comPort are read; a first run writes
// IsFirstRun "0" and keeps the locale's language, otherwise CurrentLanguage
// (1 or 2) is read; then comPort and CurrentLanguage are written back with the
// values in force. Missing or unusable values keep their defaults; a failed
// write-back leaves `written` false so that the program can say so.
StartupSettings loadStartupSettings(const std::filesystem::path& mySetupIni,
                                    std::uint32_t systemLocaleId);

// Setting.ini: one 4-byte record at the start of a binary file. A missing or
// short file gives all zeros.
SettingRecord loadSettingRecord(const std::filesystem::path& settingIni);

// Writes the record over the first 4 bytes (creating the file when missing);
// errors are ignored, the result only tells whether it worked.
[[nodiscard]] bool saveSettingRecord(const std::filesystem::path& settingIni,
                                     const SettingRecord& record);

}  // namespace zt
