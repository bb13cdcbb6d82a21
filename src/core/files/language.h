#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <set>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace zt {

constexpr int kLanguageEnglish = 1;
constexpr int kLanguageChinese = 2;

// Looks a text up by its id (GetLangText of the current language, or a
// stand-in in tests).
using TextLookup = std::function<std::string(int)>;

// The language-file section a text id belongs to ("OTHER" below 9000, "Msg"
// for 9000-9999, ... "Others" from 32000).
std::string_view languageSectionOf(int textId);

// "chinese.ini" for language 2, otherwise "english.ini".
std::string_view languageFileNameOf(int language);

// One text read straight from a language file (no cache): the value of key
// <id> in the id's section, cut to 254 characters and trimmed; empty when the
// file, section or key is missing.
std::string readLangTextFromFile(const std::filesystem::path& languageFile, int textId);

// The language texts of the programming program: <program folder>/language/
// english.ini or chinese.ini. Lookups go through a cache of the parsed file
// that is dropped whenever the file's size or modification time changes, so
// every lookup returns what reading the file at that moment would give.
class LanguageTexts {
  public:
    LanguageTexts() = default;
    explicit LanguageTexts(std::filesystem::path languageDir, int language = kLanguageEnglish);

    void setLanguageDir(std::filesystem::path languageDir);
    const std::filesystem::path& languageDir() const { return dir_; }

    // Sets the language number and the file name that goes with it.
    void setLanguage(int language);
    int language() const { return language_; }
    std::string_view fileName() const { return languageFileNameOf(language_); }
    std::filesystem::path filePath() const { return dir_ / std::string(fileName()); }

    std::string GetLangText(int textId) const;

    // Every id looked up so far that had no text in its file (for the check
    // that every window finds all its texts).
    const std::set<int>& missingIds() const { return missing_; }

    // A lookup bound to this object (it must outlive the function).
    TextLookup lookup() const;

  private:
    struct Cache {
        std::filesystem::path file;
        bool valid = false;    // the fields below describe `file`
        bool present = false;  // the file existed and was read
        std::uintmax_t size = 0;
        std::filesystem::file_time_type modified{};
        std::unordered_map<std::string, std::string> texts;  // "<section>\n<key>" lower case
    };
    void refreshCache() const;

    std::filesystem::path dir_;
    int language_ = kLanguageEnglish;
    mutable Cache cache_;
    mutable std::set<int> missing_;
};

// The common buttons every window captions the same way: CommandOK 9017,
// CommandCancel 9018, CommandClose 9023 and CommandHelp 9025.
struct ButtonCaption {
    std::string_view controlName;
    int textId = 0;
};

// The captions for the common buttons a window has, in the order above.
std::vector<ButtonCaption> commonButtonCaptions(
    const std::function<bool(std::string_view controlName)>& hasControl);

// Sets the caption of every common button the window has.
void applyCommonButtonCaptions(
    const std::function<bool(std::string_view controlName)>& hasControl,
    const std::function<void(std::string_view controlName, const std::string& caption)>& setCaption,
    const TextLookup& text);

}  // namespace zt
