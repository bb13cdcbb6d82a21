// Checks the installation data shipped in data/: the two language files against the list of
// text ids (data/language/ids.txt), and the Version.ini and mysetup.ini a first installation
// carries. The files are read with a strict parser of their own so that a malformed line is
// reported rather than silently skipped as the program's profile reader would.
//
// The source tree is found through ZT_TEST_DATA (<source>/tests/data, set by CTest); when the
// program is run by hand without it, through the location of this source file.

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "core/files/language.h"

namespace {

namespace fs = std::filesystem;

fs::path sourceRoot()
{
    if (const char* data = std::getenv("ZT_TEST_DATA"); data != nullptr && *data != '\0') {
        fs::path p = fs::path(data).lexically_normal();
        if (!p.has_filename()) p = p.parent_path();  // a trailing separator
        return p.parent_path().parent_path();
    }
    // <source>/tests/core/files/langdata_test.cpp
    return fs::path(__FILE__).parent_path().parent_path().parent_path().parent_path();
}

fs::path dataDir()
{
    return sourceRoot() / "data";
}

std::string readBytes(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Strict UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF.
bool isValidUtf8(const std::string& text)
{
    size_t i = 0;
    while (i < text.size()) {
        const auto b = static_cast<unsigned char>(text[i]);
        int extra = 0;
        std::uint32_t cp = 0;
        if (b < 0x80) {
            ++i;
            continue;
        } else if ((b & 0xE0) == 0xC0) {
            extra = 1;
            cp = b & 0x1F;
        } else if ((b & 0xF0) == 0xE0) {
            extra = 2;
            cp = b & 0x0F;
        } else if ((b & 0xF8) == 0xF0) {
            extra = 3;
            cp = b & 0x07;
        } else {
            return false;
        }
        if (i + extra >= text.size()) return false;  // sequence cut short
        for (int k = 1; k <= extra; ++k) {
            const auto c = static_cast<unsigned char>(text[i + k]);
            if ((c & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (c & 0x3F);
        }
        static constexpr std::uint32_t kMinimum[] = {0, 0x80, 0x800, 0x10000};
        if (cp < kMinimum[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
        i += extra + 1;
    }
    return true;
}

std::string trim(const std::string& s)
{
    const auto first = s.find_first_not_of(" \t");
    if (first == std::string::npos) return "";
    const auto last = s.find_last_not_of(" \t");
    return s.substr(first, last - first + 1);
}

std::string lower(std::string s)
{
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

// One INI file as written: sections in file order, keys in file order, plus every deviation from
// the format (each line a section header, key=value, comment or blank).
struct IniFile {
    std::map<std::string, std::vector<std::pair<std::string, std::string>>> sections;
    std::vector<std::string> problems;

    const std::string* find(const std::string& section, const std::string& key) const
    {
        const auto s = sections.find(section);
        if (s == sections.end()) return nullptr;
        for (const auto& [k, v] : s->second)
            if (k == key) return &v;
        return nullptr;
    }
};

IniFile parseIni(const fs::path& path)
{
    IniFile ini;
    const std::string bytes = readBytes(path);
    if (bytes.empty()) ini.problems.push_back("file is missing or empty");
    if (bytes.rfind("\xEF\xBB\xBF", 0) == 0) ini.problems.push_back("file starts with a BOM");
    if (!isValidUtf8(bytes)) ini.problems.push_back("file is not valid UTF-8");

    std::set<std::string> seenSections;  // compared without case, as the profile reader does
    std::set<std::string> seenKeys;
    std::string current;
    std::istringstream in(bytes);
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const std::string where = "line " + std::to_string(number) + ": ";
        const std::string t = trim(line);
        if (t.empty() || t[0] == ';' || t[0] == '#') continue;
        if (t.front() == '[') {
            if (t.back() != ']' || t.size() < 3) {
                ini.problems.push_back(where + "malformed section header");
                continue;
            }
            current = t.substr(1, t.size() - 2);
            if (!seenSections.insert(lower(current)).second)
                ini.problems.push_back(where + "section [" + current + "] appears twice");
            ini.sections[current];
            seenKeys.clear();
            continue;
        }
        const auto eq = t.find('=');
        if (eq == std::string::npos || eq == 0) {
            ini.problems.push_back(where + "not a section header, key=value, comment or blank");
            continue;
        }
        if (current.empty()) {
            ini.problems.push_back(where + "key outside any section");
            continue;
        }
        const std::string key = trim(t.substr(0, eq));
        if (!seenKeys.insert(lower(key)).second)
            ini.problems.push_back(where + "key " + key + " appears twice in [" + current + "]");
        ini.sections[current].emplace_back(key, trim(t.substr(eq + 1)));
    }
    return ini;
}

// The language-file section of a text id, by thousand range.
std::string sectionForId(long id)
{
    static const std::vector<std::pair<long, std::string>> kUpperBounds = {
        {9000, "OTHER"},   {10000, "Msg"},      {11000, "Menu"},        {12000, "ToolBar"},
        {13000, "Main"},   {14000, "Model"},    {15000, "ChannelInfo"}, {16000, "ChannelEdit"},
        {17000, "Option"}, {18000, "Radio"},    {19000, "DTMF"},        {20000, "TestFre"},
        {21000, "EMG"},    {22000, "Local"},    {23000, "Port"},        {24000, "Lang"},
        {25000, "About"},  {26000, "KeySet"},   {27000, "ScanSet"},     {28000, "AlertSet"},
        {29000, "CHEdit"}, {30000, "TONETIPS"}, {31000, "GroupName"},   {32000, "ResetMode"}};
    for (const auto& [bound, name] : kUpperBounds)
        if (id < bound) return name;
    return "Others";
}

struct IdEntry {
    long id = 0;
    std::string section;
    std::string meaning;
    std::string name;  // the constant's name in the generated header, "" for none
};

struct IdList {
    std::vector<IdEntry> entries;
    std::vector<std::string> problems;
};

IdList readIdList()
{
    IdList list;
    std::istringstream in(readBytes(dataDir() / "language" / "ids.txt"));
    std::string line;
    std::set<long> seen;
    std::set<std::string> names;
    for (int number = 1; std::getline(in, line); ++number) {
        if (trim(line).empty() || line[0] == '#') continue;
        const std::string where = "ids.txt line " + std::to_string(number) + ": ";
        std::istringstream fields(line);
        IdEntry e;
        std::string id;
        if (!std::getline(fields, id, '\t') || !std::getline(fields, e.section, '\t') ||
            !std::getline(fields, e.meaning) || id.empty() ||
            id.find_first_not_of("0123456789") != std::string::npos || trim(e.meaning).empty()) {
            list.problems.push_back(where + "expected id<TAB>section<TAB>meaning");
            continue;
        }
        if (const auto tab = e.meaning.find('\t'); tab != std::string::npos) {
            e.name = e.meaning.substr(tab + 1);
            e.meaning.erase(tab);
            const bool identifier =
                !e.name.empty() && std::isalpha(static_cast<unsigned char>(e.name[0])) &&
                std::all_of(e.name.begin(), e.name.end(),
                            [](char c) { return std::isalnum(static_cast<unsigned char>(c)); });
            if (!identifier || trim(e.meaning).empty())
                list.problems.push_back(where + "expected id<TAB>section<TAB>meaning<TAB>Name");
        }
        e.id = std::stol(id);
        if (!seen.insert(e.id).second) list.problems.push_back(where + "id listed twice");
        if (!e.name.empty() && !names.insert(e.section + "::" + e.name).second)
            list.problems.push_back(where + "name " + e.name + " used twice in its section");
        list.entries.push_back(e);
    }
    return list;
}

const IdList& idList()
{
    static const IdList list = readIdList();
    return list;
}

std::string joined(const std::vector<std::string>& lines)
{
    std::string all;
    for (const auto& l : lines) all += l + "\n";
    return all;
}

TEST(LanguageIdList, IsWellFormedWithEachIdInItsRangeSection)
{
    const IdList& list = idList();
    EXPECT_TRUE(list.problems.empty()) << joined(list.problems);
    ASSERT_GT(list.entries.size(), 300u) << "ids.txt looks truncated";
    for (const auto& e : list.entries)
        EXPECT_EQ(e.section, sectionForId(e.id)) << "text id " << e.id;
}

TEST(LanguageIdList, CoversTheIdsBuiltFromABaseInLoops)
{
    std::set<long> ids;
    for (const auto& e : idList().entries) ids.insert(e.id);
    // Progress captions 9026 + transfer kind, the note labels of the tone tips, and the
    // messages added for damaged files and unstorable values.
    for (long id : {9027L, 9028L, 9066L, 9067L}) EXPECT_TRUE(ids.count(id)) << id;
    for (long id = 29100; id <= 29113; ++id) EXPECT_TRUE(ids.count(id)) << id;
}

class LanguageFile : public ::testing::TestWithParam<const char*> {
  protected:
    IniFile load() const { return parseIni(dataDir() / "language" / GetParam()); }
};

TEST_P(LanguageFile, ParsesLineByLineAsUtf8Ini)
{
    const IniFile ini = load();
    EXPECT_TRUE(ini.problems.empty()) << joined(ini.problems);
}

TEST_P(LanguageFile, KeysAreDecimalIdsInTheSectionOfTheirRange)
{
    for (const auto& [section, keys] : load().sections) {
        for (const auto& [key, value] : keys) {
            const bool decimal = !key.empty() && key.size() <= 9 &&
                                 key.find_first_not_of("0123456789") == std::string::npos &&
                                 key[0] != '0';
            ASSERT_TRUE(decimal) << "[" << section << "] key '" << key << "'";
            EXPECT_EQ(section, sectionForId(std::stol(key))) << "text id " << key;
        }
    }
}

TEST_P(LanguageFile, HoldsEveryListedIdNonEmptyAndNothingElse)
{
    const IniFile ini = load();
    std::set<std::string> listed;
    for (const auto& e : idList().entries) {
        const std::string key = std::to_string(e.id);
        listed.insert(key);
        const std::string* value = ini.find(e.section, key);
        ASSERT_NE(value, nullptr) << "text id " << e.id << " missing from [" << e.section << "]";
        EXPECT_FALSE(value->empty()) << "text id " << e.id << " is empty";
        // The profile reader keeps at most 254 characters; stay within that in bytes too.
        EXPECT_LE(value->size(), 254u) << "text id " << e.id << " is too long";
        // A value wholly in quotes would lose its quotes in a private-profile reader.
        const bool quoted = value->size() >= 2 &&
                            (value->front() == '"' || value->front() == '\'') &&
                            value->back() == value->front();
        EXPECT_FALSE(quoted) << "text id " << e.id;
    }
    for (const auto& [section, keys] : ini.sections) {
        for (const auto& [key, value] : keys) {
            EXPECT_TRUE(listed.count(key)) << "text id " << key << " is not in ids.txt";
        }
    }
}

TEST_P(LanguageFile, MenuMnemonicsAreUniqueWithinEachMenu)
{
    const IniFile ini = load();
    const auto menu = ini.sections.find("Menu");
    ASSERT_NE(menu, ini.sections.end());
    std::map<long, std::map<char, std::string>> byMenu;  // menu bar = -1, else id / 100
    for (const auto& [key, value] : menu->second) {
        const long id = std::stol(key);
        const auto amp = value.find('&');
        if (amp == std::string::npos) continue;
        ASSERT_LT(amp + 1, value.size()) << key;
        EXPECT_EQ(value.find('&', amp + 1), std::string::npos) << "two mnemonics in " << key;
        const char letter =
            static_cast<char>(std::toupper(static_cast<unsigned char>(value[amp + 1])));
        const long group = id % 100 == 0 ? -1 : id / 100;
        const auto [it, inserted] = byMenu[group].emplace(letter, key);
        EXPECT_TRUE(inserted) << "texts " << it->second << " and " << key << " share &" << letter;
    }
}

INSTANTIATE_TEST_SUITE_P(Data, LanguageFile, ::testing::Values("english.ini", "chinese.ini"),
                         [](const auto& info) { return std::string(info.param).substr(0, 7); });

std::set<std::string> keySet(const IniFile& ini)
{
    std::set<std::string> keys;
    for (const auto& [section, entries] : ini.sections)
        for (const auto& [key, value] : entries) keys.insert(section + "/" + key);
    return keys;
}

TEST(LanguageFiles, EnglishAndChineseHoldTheSameKeys)
{
    EXPECT_EQ(keySet(parseIni(dataDir() / "language" / "english.ini")),
              keySet(parseIni(dataDir() / "language" / "chinese.ini")));
}

bool hasCjk(const std::string& utf8)
{
    // Any three-byte sequence in U+4E00..U+9FFF starts with 0xE4..0xE9.
    for (size_t i = 0; i + 2 < utf8.size(); ++i) {
        const auto b = static_cast<unsigned char>(utf8[i]);
        if (b >= 0xE4 && b <= 0xE9) return true;
    }
    return false;
}

TEST(LanguageFiles, MessagesAreWordedInTheirOwnLanguage)
{
    // Catches a text copied across untranslated: every message of the Chinese file carries
    // Chinese characters and every message of the English file is plain ASCII.
    const IniFile english = parseIni(dataDir() / "language" / "english.ini");
    const IniFile chinese = parseIni(dataDir() / "language" / "chinese.ini");
    ASSERT_TRUE(chinese.sections.count("Msg"));
    for (const auto& [key, value] : chinese.sections.at("Msg"))
        EXPECT_TRUE(hasCjk(value)) << "chinese.ini message " << key << ": " << value;
    ASSERT_TRUE(english.sections.count("Msg"));
    for (const auto& [key, value] : english.sections.at("Msg"))
        for (char c : value)
            EXPECT_LT(static_cast<unsigned char>(c), 0x80) << "english.ini message " << key;
}

TEST(LanguageFiles, NewMessagesKeepTheirAgreedWording)
{
    const IniFile english = parseIni(dataDir() / "language" / "english.ini");
    const std::string* damaged = english.find("Msg", "9066");
    const std::string* unstorable = english.find("Msg", "9067");
    ASSERT_NE(damaged, nullptr);
    ASSERT_NE(unstorable, nullptr);
    EXPECT_EQ(*damaged,
              "The data file is damaged (its channel table is invalid) and was not opened.");
    EXPECT_EQ(*unstorable, "The document holds values the radio cannot store:");
}

TEST(LanguageFiles, TheProgramsReaderGivesEveryTextAsWritten)
{
    // The program's own reader agrees on each id's section and returns every text whole (no
    // cut inside a character, no quotes or spaces lost).
    for (const char* name : {"english.ini", "chinese.ini"}) {
        const fs::path path = dataDir() / "language" / name;
        const IniFile ini = parseIni(path);
        for (const auto& e : idList().entries) {
            EXPECT_EQ(zt::languageSectionOf(static_cast<int>(e.id)), e.section) << e.id;
            const std::string* value = ini.find(e.section, std::to_string(e.id));
            ASSERT_NE(value, nullptr) << name << " text id " << e.id;
            EXPECT_EQ(zt::readLangTextFromFile(path, static_cast<int>(e.id)), *value)
                << name << " text id " << e.id;
        }
    }
}

TEST(InstallationData, VersionTableListsThisVersionWithItsOwnFirmware)
{
    const IniFile ini = parseIni(dataDir() / "Version.ini");
    EXPECT_TRUE(ini.problems.empty()) << joined(ini.problems);
    ASSERT_NE(ini.find("Version", "FirmVersionCount"), nullptr);
    const int count = std::stoi(*ini.find("Version", "FirmVersionCount"));
    ASSERT_GE(count, 1);
    bool ownPair = false;
    for (int i = 0; i < count; ++i) {
        const std::string* pair = ini.find("Firm", "Firm" + std::to_string(i));
        ASSERT_NE(pair, nullptr) << "Firm" << i;
        EXPECT_EQ(pair->size(), 8u) << "Firm" << i;
        ownPair = ownPair || *pair == "V300V300";
    }
    EXPECT_TRUE(ownPair) << "V300 must accept its own firmware and data-file version";
    ASSERT_NE(ini.find("Version", "CurrentVersion"), nullptr);
    EXPECT_EQ(*ini.find("Version", "CurrentVersion"), "V300");
}

TEST(InstallationData, SettingsFileIsThatOfAFirstInstallation)
{
    const IniFile ini = parseIni(dataDir() / "mysetup.ini");
    EXPECT_TRUE(ini.problems.empty()) << joined(ini.problems);
    const std::string* firstRun = ini.find("language", "IsFirstRun");
    const std::string* port = ini.find("language", "comPort");
    const std::string* language = ini.find("language", "CurrentLanguage");
    ASSERT_NE(firstRun, nullptr);
    ASSERT_NE(port, nullptr);
    ASSERT_NE(language, nullptr);
    EXPECT_NE(std::stoi(*firstRun), 0);
    EXPECT_EQ(*port, "1");
    EXPECT_EQ(*language, "1");
}

}  // namespace
