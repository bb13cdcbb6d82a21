// The host adapters that read the system: the locale the programs start in and
// the per-user settings store of the window position.
#include <gtest/gtest.h>

#include <QByteArray>
#include <QString>
#include <filesystem>
#include <optional>
#include <string>

#include "platform/system_locale.h"
#include "platform/user_settings_store.h"
#include "support/temp_dir.h"

namespace zt {
namespace {

namespace fs = std::filesystem;

// Sets the locale variables for one test and puts the old values back.
class LocaleEnvironment {
  public:
    LocaleEnvironment()
    {
        for (const char* name : kNames) saved_.push_back(qgetenv(name));
    }
    ~LocaleEnvironment()
    {
        for (std::size_t i = 0; i < std::size(kNames); ++i) qputenv(kNames[i], saved_[i]);
    }
    void set(const char* all, const char* messages, const char* lang)
    {
        qputenv("LC_ALL", all);
        qputenv("LC_MESSAGES", messages);
        qputenv("LANG", lang);
    }

  private:
    static constexpr const char* kNames[] = {"LC_ALL", "LC_MESSAGES", "LANG"};
    std::vector<QByteArray> saved_;
};

TEST(SystemLocale, ChineseOnlyForThePrcSpellings)
{
    for (const char* name : {"zh_CN", "zh_CN.UTF-8", "zh-CN", " zh_CN.GB18030 ", "zh_CN@stroke"})
        EXPECT_EQ(localeIdOfName(name), kLocaleChinesePrc) << name;
    for (const char* name : {"", "zh_TW.UTF-8", "zh", "zh_CNX", "en_US.UTF-8", "C", "de_DE"})
        EXPECT_EQ(localeIdOfName(name), kLocaleEnglishUs) << name;
}

#ifndef _WIN32
TEST(SystemLocale, TheFirstVariableSetDecides)
{
    LocaleEnvironment env;
    env.set("zh_CN.UTF-8", "en_US.UTF-8", "en_US.UTF-8");
    EXPECT_EQ(systemLocaleId(), kLocaleChinesePrc);
    // An empty variable counts as not set.
    env.set("", "en_GB.UTF-8", "zh_CN.UTF-8");
    EXPECT_EQ(systemLocaleId(), kLocaleEnglishUs);
    env.set("", "", "zh_CN.UTF-8");
    EXPECT_EQ(systemLocaleId(), kLocaleChinesePrc);
    env.set("", "", "");
    EXPECT_EQ(systemLocaleId(), kLocaleEnglishUs);
    EXPECT_FALSE(systemIsWindowsVista());
}
#endif

TEST(UserSettingsStore, NumbersComeBackAndMissingOrBadOnesGiveTheFallback)
{
    test::TempDir dir;
    const QString file = QString::fromStdString((dir / "position.ini").string());
    const UserSettingsStore store = UserSettingsStore::inFile(file);
    EXPECT_EQ(store.number("Settings", "MainLeft", 1000), 1000);

    ASSERT_TRUE(store.storeNumbers("Settings", {{"MainLeft", -120}, {"MainTop", 0}}));
    EXPECT_EQ(store.number("Settings", "MainLeft", 1000), -120);
    EXPECT_EQ(store.number("Settings", "MainTop", 1000), 0);
    EXPECT_EQ(store.number("Other", "MainLeft", 7), 7);
    // A second store on the same file sees what the first one wrote.
    EXPECT_EQ(UserSettingsStore::inFile(file).number("Settings", "MainLeft", 0), -120);

    test::writeBytes(dir / "position.ini", "[Settings]\nMainWidth=wide\n");
    EXPECT_EQ(store.number("Settings", "MainWidth", 12500), 12500);
}

TEST(UserSettingsStore, AStoreThatCannotBeWrittenSaysSo)
{
    test::TempDir dir;
    // A folder where the file should be: nothing can be written there.
    fs::create_directories(dir / "position.ini");
    const UserSettingsStore store =
        UserSettingsStore::inFile(QString::fromStdString((dir / "position.ini").string()));
    EXPECT_FALSE(store.storeNumbers("Settings", {{"MainLeft", 5}}));
}

}  // namespace
}  // namespace zt
