#include <gtest/gtest.h>

#include <set>

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

#include "core/files/language.h"
#include "support/temp_dir.h"

namespace zt {
namespace {

using test::TempDir;
using test::writeBytes;

TEST(LanguageSection, ThousandRangesPickTheSection)
{
    EXPECT_EQ(languageSectionOf(-5), "OTHER");
    EXPECT_EQ(languageSectionOf(8999), "OTHER");
    EXPECT_EQ(languageSectionOf(9000), "Msg");
    EXPECT_EQ(languageSectionOf(9999), "Msg");
    EXPECT_EQ(languageSectionOf(10000), "Menu");
    EXPECT_EQ(languageSectionOf(14050), "ChannelInfo");
    EXPECT_EQ(languageSectionOf(19000), "TestFre");
    EXPECT_EQ(languageSectionOf(28999), "CHEdit");
    EXPECT_EQ(languageSectionOf(29113), "TONETIPS");
    EXPECT_EQ(languageSectionOf(31999), "ResetMode");
    EXPECT_EQ(languageSectionOf(32000), "Others");
    EXPECT_EQ(languageSectionOf(2147483647), "Others");
}

TEST(LanguageSection, AnyOtherNumberMeansEnglish)
{
    LanguageTexts texts("/opt/x/V300/language", kLanguageChinese);
    EXPECT_EQ(texts.filePath(), std::filesystem::path("/opt/x/V300/language/chinese.ini"));
    texts.setLanguage(5);
    EXPECT_EQ(texts.language(), kLanguageEnglish);
    EXPECT_EQ(texts.fileName(), "english.ini");
}

class LanguageTextsTest : public ::testing::Test {
  protected:
    TempDir dir;
    std::filesystem::path english = dir / "english.ini";
    std::filesystem::path chinese = dir / "chinese.ini";
    LanguageTexts texts{dir.path()};

    // Rewrites a file and moves its time on, so even an edit of the same size
    // within one clock tick is a different file.
    void rewrite(const std::filesystem::path& file, const std::string& bytes)
    {
        const bool existed = std::filesystem::exists(file);
        const auto before =
            existed ? std::filesystem::last_write_time(file) : std::filesystem::file_time_type{};
        writeBytes(file, bytes);
        if (existed) std::filesystem::last_write_time(file, before + std::chrono::seconds(2));
    }
};

TEST_F(LanguageTextsTest, LooksUpByIdInItsSectionTrimmed)
{
    rewrite(english,
            "[OTHER]\n8999=other\n[Msg]\n9000=  two spaces  \n9017=OK\n[ResetMode]\n31999=rm\n"
            "[Others]\n32000=last\n[Menu]\n9017=wrong section\n");
    EXPECT_EQ(texts.GetLangText(8999), "other");
    EXPECT_EQ(texts.GetLangText(9000), "two spaces");
    EXPECT_EQ(texts.GetLangText(31999), "rm");
    EXPECT_EQ(texts.GetLangText(32000), "last");
    EXPECT_EQ(texts.GetLangText(9001), "");
    EXPECT_EQ(texts.GetLangText(10000), "");
    // Cached and uncached lookups agree.
    for (int id : {8999, 9000, 9017, 31999, 32000, 9001}) {
        EXPECT_EQ(texts.GetLangText(id), readLangTextFromFile(english, id)) << id;
    }
}

TEST_F(LanguageTextsTest, RemembersIdsThatHadNoText)
{
    rewrite(english, "[Msg]\n9017=OK\n9018=\n");
    texts.GetLangText(9017);
    texts.GetLangText(9018);  // present but empty
    texts.GetLangText(9019);  // absent
    EXPECT_EQ(texts.missingIds(), (std::set<int>{9018, 9019}));
}

TEST_F(LanguageTextsTest, AnEditedFileShowsInTheNextLookup)
{
    rewrite(english, "[Msg]\n9017=OK\n");
    EXPECT_EQ(texts.GetLangText(9017), "OK");
    rewrite(english, "[Msg]\n9017=Ok\n");  // same size
    EXPECT_EQ(texts.GetLangText(9017), "Ok");
    rewrite(english, "[Msg]\n9017=Accept\n9018=Cancel\n");
    EXPECT_EQ(texts.GetLangText(9017), "Accept");
    EXPECT_EQ(texts.GetLangText(9018), "Cancel");
    std::filesystem::remove(english);
    EXPECT_EQ(texts.GetLangText(9017), "");
    rewrite(english, "[Msg]\n9017=Back\n");
    EXPECT_EQ(texts.GetLangText(9017), "Back");
}

TEST_F(LanguageTextsTest, MissingChineseFileGivesEmptyTextsUntilEnglishAgain)
{
    rewrite(english, "[Lang]\n23002=English\n");
    EXPECT_EQ(texts.GetLangText(23002), "English");
    texts.setLanguage(kLanguageChinese);
    EXPECT_EQ(texts.GetLangText(23002), "");
    texts.setLanguage(kLanguageEnglish);
    EXPECT_EQ(texts.GetLangText(23002), "English");
    rewrite(chinese, "[Lang]\n23002=\xE8\x8B\xB1\xE6\x96\x87\n");
    texts.setLanguage(kLanguageChinese);
    EXPECT_EQ(texts.GetLangText(23002), "\xE8\x8B\xB1\xE6\x96\x87");
    EXPECT_EQ(texts.lookup()(23002), "\xE8\x8B\xB1\xE6\x96\x87");
}

TEST_F(LanguageTextsTest, LongTextIsCutThenTrimmed)
{
    rewrite(english, "[Msg]\n9002=" + std::string(253, 'a') + " b" + std::string(10, 'c') + "\n");
    EXPECT_EQ(texts.GetLangText(9002), std::string(253, 'a'));
}

TEST(CommonButtons, CaptionsOnlyTheButtonsAWindowHas)
{
    std::vector<std::string> controls = {"CommandOK", "CommandCancel", "Combo1"};
    std::vector<std::string> set;
    applyCommonButtonCaptions(
        [&](std::string_view name) {
            return std::find(controls.begin(), controls.end(), name) != controls.end();
        },
        [&](std::string_view name, const std::string& caption) {
            set.push_back(std::string(name) + ":" + caption);
        },
        [](int id) { return std::to_string(id); });
    EXPECT_EQ(set, (std::vector<std::string>{"CommandOK:9017", "CommandCancel:9018"}));

    const auto closeHelp = commonButtonCaptions(
        [](std::string_view name) { return name == "CommandClose" || name == "CommandHelp"; });
    ASSERT_EQ(closeHelp.size(), 2u);
    EXPECT_EQ(closeHelp[0].textId, 9023);
    EXPECT_EQ(closeHelp[1].textId, 9025);
}

}  // namespace
}  // namespace zt
