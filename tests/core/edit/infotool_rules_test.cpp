#include "core/edit/infotool_rules.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace zt::infotool {
namespace {

TEST(InfoToolLanguage, OnlyChinesePrcLocalesGiveChinese)
{
    EXPECT_EQ(languageOfLocaleName("zh_CN"), kChinese);
    EXPECT_EQ(languageOfLocaleName("zh_CN.UTF-8"), kChinese);
    EXPECT_EQ(languageOfLocaleName("zh_CN.GB18030"), kChinese);
    EXPECT_EQ(languageOfLocaleName("zh-CN"), kChinese);
    EXPECT_EQ(languageOfLocaleName("zh_TW.UTF-8"), kEnglish);
    EXPECT_EQ(languageOfLocaleName("zh_CNX"), kEnglish);
    EXPECT_EQ(languageOfLocaleName("en_US.UTF-8"), kEnglish);
    EXPECT_EQ(languageOfLocaleName("C"), kEnglish);
    EXPECT_EQ(languageOfLocaleName(""), kEnglish);
}

TEST(InfoToolLanguage, FirstSetVariableOfLcAllLcMessagesLangDecides)
{
    std::map<std::string, std::string> env;
    auto lookup = [&env](const char* name) -> const char* {
        auto it = env.find(name);
        return it == env.end() ? nullptr : it->second.c_str();
    };
    EXPECT_EQ(languageFromEnvironment(lookup), kEnglish);
    env["LANG"] = "zh_CN.UTF-8";
    EXPECT_EQ(languageFromEnvironment(lookup), kChinese);
    env["LC_MESSAGES"] = "en_GB.UTF-8";
    EXPECT_EQ(languageFromEnvironment(lookup), kEnglish);
    env["LC_ALL"] = "";  // set but empty: skipped
    EXPECT_EQ(languageFromEnvironment(lookup), kEnglish);
    env["LC_ALL"] = "zh_CN";
    EXPECT_EQ(languageFromEnvironment(lookup), kChinese);
}

TEST(InfoToolTexts, BothLanguagesHaveEveryTextAndTheirOwnWording)
{
    const Texts& en = texts(kEnglish);
    const Texts& zh = texts(kChinese);
    EXPECT_EQ(en.mulWrite, "&MulWrite");
    EXPECT_EQ(zh.stopMulWrite, "停止写入多台(&M)");
    EXPECT_EQ(en.fieldLabels[3], "Producted Date");
    EXPECT_EQ(zh.fieldLabels[13], "写频密码");
    EXPECT_EQ(&texts(0), &en);  // any other number is English
    for (std::size_t k = 0; k < en.fieldLabels.size(); ++k) {
        EXPECT_FALSE(en.fieldLabels[k].empty()) << k;
        EXPECT_FALSE(zh.fieldLabels[k].empty()) << k;
    }
}

TEST(InfoToolPorts, StoredPortIsKeptOnlyWhenListed)
{
    EXPECT_EQ(startPort(7, {3, 4}), 3);  // COM7 gone: the first listed port
    EXPECT_EQ(startPort(4, {3, 4}), 4);
    EXPECT_EQ(startPort(0, {5, 2}), 5);  // enumeration order, not number order
    EXPECT_EQ(startPort(-3, {5}), 5);
    EXPECT_EQ(startPort(4, {}), 0);
}

TEST(InfoToolPorts, StoredValueAndListEntriesParse)
{
    EXPECT_EQ(storedComPort("7"), 7);
    EXPECT_EQ(storedComPort(" 12 "), 12);
    EXPECT_EQ(storedComPort(""), 0);
    EXPECT_EQ(storedComPort("COM3"), 0);
    EXPECT_EQ(storedComPort("-2"), 0);
    EXPECT_EQ(storedComPort("99999999999"), 0);
    EXPECT_EQ(portEntry(3), "COM3");
    EXPECT_EQ(portOfEntry("COM12"), 12);
    EXPECT_EQ(portOfEntry("COM"), 0);
    EXPECT_EQ(portOfEntry("COMx"), 0);
}

TEST(InfoToolBatch, CountMustBeAWholeNumberOfAtLeastOne)
{
    EXPECT_EQ(batchTotal("10"), 10);
    EXPECT_EQ(batchTotal(" 3"), 3);
    EXPECT_EQ(batchTotal("999"), 999);
    EXPECT_FALSE(batchTotal(""));
    EXPECT_FALSE(batchTotal("   "));
    EXPECT_FALSE(batchTotal("0"));
    EXPECT_FALSE(batchTotal("-1"));
    EXPECT_FALSE(batchTotal("1a"));
    EXPECT_FALSE(batchTotal("2.5"));
}

TEST(InfoToolSerialField, OnlyDigitsAndControlKeysPass)
{
    for (char32_t c = '0'; c <= '9'; ++c) EXPECT_EQ(serialKeyAction(c), SerialKey::Accept);
    EXPECT_EQ(serialKeyAction(8), SerialKey::Accept);  // Backspace
    EXPECT_EQ(serialKeyAction('a'), SerialKey::Drop);
    EXPECT_EQ(serialKeyAction(' '), SerialKey::Drop);
    EXPECT_EQ(serialKeyAction('-'), SerialKey::Drop);
    EXPECT_EQ(serialKeyAction(0xE9), SerialKey::Drop);
    EXPECT_EQ(serialKeyAction(U'号'), SerialKey::Drop);
    for (char32_t c : {3, 22, 24}) EXPECT_EQ(serialKeyAction(c), SerialKey::Drop);
    EXPECT_EQ(serialKeyAction('\r'), SerialKey::MoveOn);
}

TEST(InfoToolFields, MaintenanceDateFilledOnlyWhenEmpty)
{
    EXPECT_EQ(maintenanceDateOnFocus("", "2026/5/6"), "2026/5/6");
    EXPECT_EQ(maintenanceDateOnFocus("2025/1/1", "2026/5/6"), "2025/1/1");
    EXPECT_EQ(trimRight("ab  "), "ab");
    EXPECT_EQ(trimRight(" a b"), " a b");
    EXPECT_EQ(cutAtNul(std::string("12\0"
                                   "34",
                                   5)),
              "12");
}

}  // namespace
}  // namespace zt::infotool
